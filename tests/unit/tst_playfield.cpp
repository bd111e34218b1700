#include "Fakes.h"
#include "game/Playfield.h"

#include <QTest>

#include <cmath>
#include <string>
#include <vector>

namespace
{

using Log = std::vector<std::string>;

// Records what the rules ask of the window, in order, in one log shared with the random source;
// keeps the timer interval and enabled state as a real window would.
struct RecordingView final : PlayfieldView {
    explicit RecordingView(Log &log) : log(log) {}
    void set(const char *what, int i, bool v)
    {
        log.push_back(what + std::to_string(i) + (v ? " on" : " off"));
    }
    void setDropVisible(int i, bool v) override { set("drop ", i, v); }
    void setBucketVisible(int j, bool v) override { set("bin ", j, v); }
    void setMissVisible(int i, bool v) override { set("miss ", i, v); }
    void setScoreText(const std::string &t) override { log.push_back("score " + t); }
    void setHiScoreText(const std::string &t) override { log.push_back("hi " + t); }
    int timerInterval() const override { return interval; }
    void setTimerInterval(int ms) override
    {
        log.push_back("interval " + std::to_string(interval = ms));
    }
    void setTimerEnabled(bool e) override
    {
        log.push_back((enabled = e) ? "timer on" : "timer off");
    }
    void showGameOver() override { log.push_back("gameover"); }
    void schedulePump() override { ++pumpsScheduled; }

    Log &log;
    int interval = 500;
    bool enabled = false;
    int pumpsScheduled = 0;
};

struct Rig {
    Log log;
    FakeRandom random{&log};
    RecordingView view{log};
    Playfield play{view, random};

    static float lane(int column) { return float(column) / 3.0f + 0.1f; }
    void tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            play.tmrTimer1_Timer();
            play.pump();
        }
    }
    void start(float laneValue)
    {
        random.values.push_back(laneValue);
        play.mnuStart_Click();
        play.pump();
    }
    // The bin under `column` from the start of the drop: caught at the first pump of step 4.
    void catchDrop(int column, float speed = 0.0f, int nextColumn = 1)
    {
        random.values.insert(random.values.end(), {speed, lane(nextColumn)});
        play.Form_KeyDown(column == 0 ? 37 : column == 2 ? 39 : 0, 0);
        tick(4);
        play.pump();
    }
    void missDrops(int n, float speed = 0.0f)
    {
        for (int i = 0; i < n; ++i) {
            random.values.insert(random.values.end(), {speed, 0.0f});
            tick(6);
        }
    }
    bool has(const std::string &entry) const { return count(entry) > 0; }
    int count(const std::string &entry) const
    {
        return int(std::count(log.begin(), log.end(), entry));
    }
    Log take() { return std::exchange(log, {}); }
};

} // namespace

class tst_playfield : public QObject
{
    Q_OBJECT
private slots:
    // The round start in its order; the high score and the side bins are left alone.
    void roundStart()
    {
        Rig rig;
        rig.play.BucketLane = 2;
        rig.random.values = {0.5f};
        rig.play.mnuStart_Click();
        QCOMPARE(rig.log, (Log{"randomize", "bin 1 on", "score 0", "interval 500", "miss 0 off",
                               "miss 1 off", "drop 4 on", "timer on"}));
        QCOMPARE(rig.play.BucketLane, std::int16_t(1));
    }

    // Int(Rnd * 3): 0, 1 or 2 for every value below 1, even the largest.
    void laneFromRandom_data()
    {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("lane");
        QTest::newRow("0") << 0.0f << 0;
        QTest::newRow("a third") << 1.0f / 3.0f << 1;
        QTest::newRow("largest below 1") << std::nextafter(1.0f, 0.0f) << 2;
    }
    void laneFromRandom()
    {
        QFETCH(float, r);
        QFETCH(int, lane);
        Rig rig;
        rig.start(r);
        QCOMPARE(rig.play.laneOfTopRound(), lane);
        QVERIFY(rig.has("drop " + std::to_string(lane * 4) + " on"));
    }

    // One row per tick, two unseen steps, then the miss; stray ticks never shorten a step.
    void dropFallsAndIsMissed()
    {
        Rig rig;
        rig.play.tmrTimer1_Timer(); // left over from before the round
        rig.start(Rig::lane(2));
        rig.play.pump();
        QCOMPARE(rig.play.stepOfTopRound(), 0);
        rig.take();
        for (int step = 0; step < 4; ++step) {
            rig.tick();
            Log expected{"timer off", "drop " + std::to_string(8 + step) + " off"};
            if (step < 3) expected.push_back("drop " + std::to_string(9 + step) + " on");
            expected.push_back("timer on");
            QCOMPARE(rig.take(), expected);
        }
        rig.tick(); // step 4 ends with the bin in the middle
        QCOMPARE(rig.take(), (Log{"timer off", "timer on"}));
        rig.random.values = {0.5f, 0.0f};
        rig.tick();
        QCOMPARE(rig.take(),
                 (Log{"timer off", "miss 0 on", "interval 490", "drop 0 on", "timer on"}));
    }

    // The bin under the column catches from the first pump of step 4 on, never in step 5.
    void catchOnlyInStepFour_data()
    {
        QTest::addColumn<int>("moveInStep");
        QTest::addColumn<bool>("caught");
        QTest::newRow("held from the start") << -1 << true;
        QTest::newRow("step 3") << 3 << true;
        QTest::newRow("step 4") << 4 << true;
        QTest::newRow("step 5") << 5 << false;
    }
    void catchOnlyInStepFour()
    {
        QFETCH(int, moveInStep);
        QFETCH(bool, caught);
        Rig rig;
        rig.start(Rig::lane(2));
        rig.random.values = {0.5f, 0.0f};
        if (moveInStep < 0) rig.play.Form_KeyDown(39, 0);
        rig.tick(std::max(moveInStep, 0));
        rig.play.Form_KeyDown(39, 0);
        rig.play.pump();
        rig.tick(std::max(4 - std::max(moveInStep, 0), 0));
        rig.play.pump();
        if (caught)
            QCOMPARE(Log(rig.log.end() - 5, rig.log.end()),
                     (Log{"score 1", "hi 1", "interval 490", "drop 0 on", "timer on"}));
        rig.tick();
        QCOMPARE(rig.has("miss 0 on"), !caught);
        QCOMPARE(rig.play.HiScore, std::int16_t(caught ? 1 : 0));
    }

    // The high-score board is written only when the score passes it.
    void highScoreOnlyWhenBeaten()
    {
        Rig rig;
        rig.play.HiScore = 2;
        rig.start(Rig::lane(1));
        rig.catchDrop(1);
        rig.catchDrop(1);
        QVERIFY(rig.has("score 2") && !rig.has("hi 2"));
        rig.catchDrop(1);
        QVERIFY(rig.has("hi 3"));
    }

    void missMarksAndGameOver()
    {
        Rig rig;
        rig.start(0.0f);
        rig.missDrops(1);
        QVERIFY(rig.has("miss 0 on") && !rig.has("miss 1 on"));
        rig.take();
        rig.missDrops(1);
        QCOMPARE(
            Log(rig.log.end() - 6, rig.log.end()),
            (Log{"timer off", "miss 0 on", "miss 1 on", "interval 500", "drop 0 on", "timer on"}));
        rig.take();
        const int draws = rig.random.nextCount;
        rig.tick(6);
        QCOMPARE(rig.log.back(), std::string("gameover"));
        QCOMPARE(rig.random.nextCount, draws); // no speed-up after the third miss
        QVERIFY(!rig.view.enabled);
        rig.tick(10);
        QCOMPARE(rig.count("gameover"), 1);
        // The next round starts afresh, the high score kept.
        rig.take();
        rig.play.HiScore = 3;
        rig.start(0.0f);
        QVERIFY(rig.has("interval 500") && rig.has("score 0") && rig.has("miss 1 off"));
        QVERIFY(!rig.has("hi 0") && rig.play.HiScore == 3);
    }

    // n = CInt(p - r * 20), halves to even, never below 1.
    void speedUp_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("expected");
        QTest::newRow("half to even, up") << 500 << 0.125f << 498;   // 497.5
        QTest::newRow("half to even, down") << 500 << 0.375f << 492; // 492.5
        QTest::newRow("largest r") << 500 << std::nextafter(1.0f, 0.0f) << 480;
        QTest::newRow("to zero: floor") << 10 << 0.5f << 1;
        QTest::newRow("stays at floor") << 1 << 0.01f << 1;
    }
    void speedUp()
    {
        QFETCH(int, period);
        QFETCH(float, r);
        QFETCH(int, expected);
        Rig rig;
        rig.start(0.0f);
        rig.view.interval = period;
        rig.missDrops(1, r);
        QCOMPARE(rig.view.interval, expected);
    }

    // Start during a round runs a new round on top; after its game over the interrupted round
    // ends the step it waited in at once, at the period left, and keeps its own score.
    void startDuringARoundNests()
    {
        Rig rig;
        rig.start(Rig::lane(1));
        rig.catchDrop(1, 0.5f, 1); // A scores 1
        rig.play.Form_KeyUp(0, 0);
        rig.tick(2); // A waits in step 2 of its second drop
        rig.random.values = {Rig::lane(0)};
        rig.play.mnuStart_Click(); // round B
        QCOMPARE(rig.play.roundsRunning(), 2);
        rig.play.Form_KeyDown(39, 0); // B's drops fall left, the bin is right
        rig.missDrops(3, 0.5f);
        QCOMPARE(rig.play.roundsRunning(), 1);
        QCOMPARE(rig.view.interval, 480);
        rig.take();
        const int scheduled = rig.view.pumpsScheduled;
        rig.play.pump(); // B's last tick is still set
        QVERIFY(rig.view.pumpsScheduled > scheduled);
        QCOMPARE(rig.play.stepOfTopRound(), 3);
        QVERIFY(rig.has("drop 6 off") && rig.has("drop 7 on"));
        rig.play.Form_KeyUp(0, 0);
        rig.tick();
        rig.play.pump();
        QVERIFY(rig.has("score 2")); // A's own count
    }

    // The 16-bit score stops at 32767 instead of wrapping to a negative number.
    void scoreStopsAtItsTop()
    {
        Rig rig;
        rig.random.fallback = Rig::lane(1);
        rig.start(Rig::lane(1));
        for (int i = 0; i < 32769; ++i) {
            rig.log.clear();
            rig.tick(4);
            rig.play.pump();
        }
        QVERIFY(rig.has("score 32767"));
        QCOMPARE(rig.play.HiScore, std::int16_t(32767));
    }

    // Left arrow / left button: lane 0; right: lane 2; every other key, the middle button and
    // every release: the middle; other buttons: nothing. Bins switched in lane order.
    void bucketRules_data()
    {
        QTest::addColumn<char>("event");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("lane");
        QTest::newRow("left arrow") << 'd' << 37 << 1 << 0;
        QTest::newRow("right arrow") << 'd' << 39 << 0 << 2;
        QTest::newRow("space") << 'd' << 32 << 0 << 1;
        QTest::newRow("release of left") << 'u' << 37 << 0 << 1;
        QTest::newRow("left button") << 'D' << 1 << 1 << 0;
        QTest::newRow("right button") << 'D' << 2 << 1 << 2;
        QTest::newRow("middle button") << 'D' << 4 << 0 << 1;
        QTest::newRow("other button: nothing") << 'D' << 8 << 2 << 2;
        QTest::newRow("release of right") << 'U' << 2 << 2 << 1;
    }
    void bucketRules()
    {
        QFETCH(char, event);
        QFETCH(int, code);
        QFETCH(int, from);
        QFETCH(int, lane);
        Rig rig;
        rig.play.Form_MouseDown(std::int16_t(from == 0 ? 1 : from == 2 ? 2 : 4), 0);
        rig.take();
        const auto c = std::int16_t(code);
        switch (event) {
        case 'd':
            rig.play.Form_KeyDown(c, 0);
            break;
        case 'u':
            rig.play.Form_KeyUp(c, 0);
            break;
        case 'D':
            rig.play.Form_MouseDown(c, 0);
            break;
        default:
            rig.play.Form_MouseUp(c, 0);
            break;
        }
        QCOMPARE(int(rig.play.BucketLane), lane);
        Log expected;
        if (code != 8)
            for (int j = 0; j < 3; ++j)
                expected.push_back("bin " + std::to_string(j) + (j == lane ? " on" : " off"));
        QCOMPARE(rig.log, expected);
    }
};

QTEST_APPLESS_MAIN(tst_playfield)
#include "tst_playfield.moc"
