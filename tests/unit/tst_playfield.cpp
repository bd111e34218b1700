// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Fakes.h"
#include "game/Playfield.h"

#include <QTest>

#include <cmath>

namespace
{

using Log = std::vector<std::string>;

// The window as the rules see it: what they ask of it, in order, in one log with the randomizing.
struct Rig final : PlayfieldView {
    Log log;
    FakeRandom random{&log};
    Playfield play{*this, random};
    int interval = 500, pumpsScheduled = 0;

    void say(const char *what, int i, bool v)
    {
        log.push_back(what + std::to_string(i) + (v ? " on" : " off"));
    }
    void setDropVisible(int i, bool v) override { say("drop ", i, v); }
    void setBucketVisible(int j, bool v) override { say("bin ", j, v); }
    void setMissVisible(int i, bool v) override { say("miss ", i, v); }
    void setScoreText(const std::string &t) override { log.push_back("score " + t); }
    void setHiScoreText(const std::string &t) override { log.push_back("hi " + t); }
    int timerInterval() const override { return interval; }
    void setTimerInterval(int ms) override
    {
        log.push_back("interval " + std::to_string(interval = ms));
    }
    void setTimerEnabled(bool e) override { log.push_back(e ? "timer on" : "timer off"); }
    void showGameOver() override { log.push_back("gameover"); }
    void schedulePump() override { ++pumpsScheduled; }

    static float lane(int column) { return float(column) / 3.0f + 0.1f; }
    void tick(int n = 1)
    {
        for (; n > 0; --n) {
            play.tmrTimer1_Timer();
            play.pump();
        }
    }
    void start(float laneValue)
    {
        random.values.push_back(laneValue);
        play.mnuStart_Click();
    }
    // The next drops: the speed-up draw, then the column.
    void queue(float speed, int column)
    {
        random.values.insert(random.values.end(), {speed, lane(column)});
    }
    // With the bin under the drop from its start: caught at the first pump of step 4.
    void catchDrop(int column, int next)
    {
        queue(0.0f, next);
        play.Form_KeyDown(column == 0 ? 37 : column == 2 ? 39 : 0, 0);
        tick(4);
        play.pump();
    }
    bool has(const std::string &entry) const
    {
        return std::find(log.begin(), log.end(), entry) != log.end();
    }
    Log last(int n) const { return Log(log.end() - n, log.end()); }
};

} // namespace

class tst_playfield : public QObject
{
    Q_OBJECT
private slots:
    // The round start in its order; Int(Rnd * 3) is 0, 1 or 2 for every value below 1.
    void roundStart_data()
    {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("column");
        QTest::newRow("0.5") << 0.5f << 1;
        QTest::newRow("0") << 0.0f << 0;
        QTest::newRow("1/3") << 1.0f / 3.0f << 1;
        QTest::newRow("just below 1") << std::nextafter(1.0f, 0.0f) << 2;
    }
    void roundStart()
    {
        QFETCH(float, r);
        QFETCH(int, column);
        Rig rig;
        rig.play.BucketLane = 2;
        rig.start(r);
        QCOMPARE(rig.log,
                 (Log{"randomize", "bin 1 on", "score 0", "interval 500", "miss 0 off",
                      "miss 1 off", "drop " + std::to_string(column * 4) + " on", "timer on"}));
        QCOMPARE(rig.play.BucketLane, std::int16_t(1));
    }

    // One row per tick, two unseen steps, then the miss; stray ticks never shorten a step.
    void dropFallsAndIsMissed()
    {
        Rig rig;
        rig.play.tmrTimer1_Timer(); // left over from before the round
        rig.start(Rig::lane(2));
        rig.play.pump();
        QCOMPARE(rig.play.stepOfTopRound(), 0);
        rig.log.clear();
        rig.tick(5); // step 4 ends with the bin in the middle
        rig.queue(0.5f, 0);
        rig.tick();
        QCOMPARE(rig.log,
                 (Log{"timer off",  "drop 8 off", "drop 9 on", "timer on",    "timer off",
                      "drop 9 off", "drop 10 on", "timer on",  "timer off",   "drop 10 off",
                      "drop 11 on", "timer on",   "timer off", "drop 11 off", "timer on",
                      "timer off",  "timer on",   "timer off", "miss 0 on",   "interval 490",
                      "drop 0 on",  "timer on"}));
    }

    // The bin under the column catches from the first pump of step 4 on, never in step 5.
    void catchOnlyInStepFour_data()
    {
        QTest::addColumn<int>("moveInStep");
        QTest::newRow("step 3") << 3;
        QTest::newRow("step 4") << 4;
        QTest::newRow("step 5: missed") << 5;
    }
    void catchOnlyInStepFour()
    {
        QFETCH(int, moveInStep);
        Rig rig;
        rig.start(Rig::lane(2));
        rig.queue(0.5f, 0);
        rig.tick(moveInStep);
        rig.play.Form_KeyDown(39, 0);
        rig.play.pump();
        rig.tick(4 - moveInStep);
        rig.play.pump();
        const bool caught = moveInStep < 5;
        if (caught) // the timer left running: the next drop restarts it
            QCOMPARE(rig.last(5),
                     (Log{"score 1", "hi 1", "interval 490", "drop 0 on", "timer on"}));
        rig.tick();
        QCOMPARE(rig.has("miss 0 on"), !caught);
        QCOMPARE(rig.play.HiScore, std::int16_t(caught));
    }

    // The high score is written only when passed; the third miss ends the round, no speed-up.
    void scoresMissesAndGameOver()
    {
        Rig rig;
        rig.play.HiScore = 2;
        rig.start(Rig::lane(1));
        rig.catchDrop(1, 1);
        rig.catchDrop(1, 1);
        QVERIFY(rig.has("score 2") && !rig.has("hi 2"));
        rig.catchDrop(1, 0);
        rig.play.Form_KeyDown(39, 0);
        rig.tick(6); // first miss
        rig.queue(0.0f, 0);
        rig.tick(6);
        QCOMPARE(rig.last(6), (Log{"timer off", "miss 0 on", "miss 1 on", "interval 500",
                                   "drop 0 on", "timer on"}));
        rig.tick(16);
        QCOMPARE(rig.last(2), (Log{"timer off", "gameover"})); // no speed-up after the third miss
        rig.start(0.0f);
        QCOMPARE(rig.play.HiScore, std::int16_t(3));
    }

    // n = CInt(p - r * 20), halves to even, never below 1.
    void speedUp_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("expected");
        QTest::newRow("497.5 to even") << 500 << 0.125f << 498;
        QTest::newRow("492.5 to even") << 500 << 0.375f << 492;
        QTest::newRow("never below 1") << 10 << 0.5f << 1;
    }
    void speedUp()
    {
        QFETCH(int, period);
        QFETCH(float, r);
        Rig rig;
        rig.start(0.0f);
        rig.interval = period;
        rig.queue(r, 0);
        rig.tick(6);
        QTEST(rig.interval, "expected");
    }

    // A round started on top; after its game over the one beneath goes on with its own score.
    void startDuringARoundNests()
    {
        Rig rig;
        rig.start(Rig::lane(1));
        rig.catchDrop(1, 1); // A scores 1
        rig.play.Form_KeyUp(0, 0);
        rig.tick(2);             // A waits in step 2 of its second drop
        rig.start(Rig::lane(0)); // round B
        QCOMPARE(rig.play.roundsRunning(), 2);
        rig.play.Form_KeyDown(39, 0); // B's drops fall left, the bin is right
        for (int miss = 0; miss < 3; ++miss) {
            rig.queue(0.5f, 0);
            rig.tick(miss < 2 ? 6 : 5);
        }
        const int scheduled = rig.pumpsScheduled;
        rig.tick(); // B's game over asks for a pump: its last tick is still set
        QCOMPARE(rig.pumpsScheduled, scheduled + 1);
        QCOMPARE(rig.play.roundsRunning(), 1);
        QCOMPARE(rig.interval, 480);
        rig.play.pump();
        QCOMPARE(rig.last(3), (Log{"drop 6 off", "drop 7 on", "timer on"}));
        rig.play.Form_KeyUp(0, 0);
        rig.tick();
        rig.play.pump();
        QVERIFY(rig.has("score 2")); // A's own count
    }

    // Left: lane 0, right: 2; other keys, the middle button and releases: 1; other buttons: none.
    void bucketRules_data()
    {
        QTest::addColumn<char>("event"); // d/u key down/up, D button down
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("lane");
        QTest::newRow("Space down") << 'd' << 32 << 0 << 1;
        QTest::newRow("Left up") << 'u' << 37 << 0 << 1;
        QTest::newRow("middle button down") << 'D' << 4 << 0 << 1;
        QTest::newRow("another button down") << 'D' << 8 << 2 << 2;
    }
    void bucketRules()
    {
        QFETCH(char, event);
        QFETCH(int, code);
        QFETCH(int, from);
        QFETCH(int, lane);
        Rig rig;
        rig.play.Form_MouseDown(std::int16_t(from == 0 ? 1 : 2), 0);
        const auto c = std::int16_t(code);
        if (event == 'd') rig.play.Form_KeyDown(c, 0);
        if (event == 'u') rig.play.Form_KeyUp(c, 0);
        if (event == 'D') rig.play.Form_MouseDown(c, 0);
        QCOMPARE(rig.play.BucketLane, std::int16_t(lane));
    }
};

QTEST_APPLESS_MAIN(tst_playfield)
#include "tst_playfield.moc"
