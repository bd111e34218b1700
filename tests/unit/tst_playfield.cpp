#include "Fakes.h"
#include "game/Playfield.h"

#include <QTest>

#include <cmath>
#include <string>
#include <vector>

namespace
{

// Records everything the rules ask of the window, in order, in one log shared with the random
// source, and keeps the timer interval and enabled state as a real window would.
class RecordingView final : public PlayfieldView
{
public:
    explicit RecordingView(std::vector<std::string> &log) : log(log) {}
    void setDropVisible(int i, bool v) override { add("drop", i, v); }
    void setBucketVisible(int j, bool v) override { add("bin", j, v); }
    void setMissVisible(int i, bool v) override { add("miss", i, v); }
    void setScoreText(const std::string &t) override { log.push_back("score " + t); }
    void setHiScoreText(const std::string &t) override { log.push_back("hi " + t); }
    int timerInterval() const override { return interval; }
    void setTimerInterval(int ms) override
    {
        interval = ms;
        log.push_back("interval " + std::to_string(ms));
    }
    void setTimerEnabled(bool e) override
    {
        enabled = e;
        log.push_back(e ? "timer on" : "timer off");
    }
    void showGameOver() override { log.push_back("gameover"); }
    void schedulePump() override { ++pumpsScheduled; }

    std::vector<std::string> &log;
    int interval = 500;
    bool enabled = false;
    int pumpsScheduled = 0;

private:
    void add(const char *what, int i, bool v)
    {
        log.push_back(std::string(what) + " " + std::to_string(i) + (v ? " on" : " off"));
    }
};

struct Rig {
    std::vector<std::string> log;
    FakeRandom random{&log};
    RecordingView view{log};
    Playfield play{view, random};

    // One tick of the step timer, then the pump after it.
    void tick()
    {
        play.tmrTimer1_Timer();
        play.pump();
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            tick();
    }
    void start(float laneValue)
    {
        random.values.push_back(laneValue);
        play.mnuStart_Click();
        play.pump();
    }
    // Queue the value that places the next drop in `lane` after a speed-up drawing `speed`.
    void nextDrop(float speed, int lane)
    {
        random.values.push_back(speed);
        random.values.push_back(laneValue(lane));
    }
    static float laneValue(int lane) { return float(lane) / 3.0f + 0.1f; }
    int count(const std::string &entry) const
    {
        return int(std::count(log.begin(), log.end(), entry));
    }
    bool contains(const std::string &entry) const { return count(entry) > 0; }
    std::string lastScore() const
    {
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->rfind("score ", 0) == 0) return it->substr(6);
        return {};
    }
    void missDrop() { ticks(6); }
    // Bin already under the drop: caught at the first pump of the catch step.
    void catchDrop(int lane)
    {
        play.Form_KeyDown(lane == 0 ? 37 : lane == 2 ? 39 : 0, 0);
        ticks(4);
        play.pump();
    }
};

} // namespace

class tst_playfield : public QObject
{
    Q_OBJECT
private slots:
    void roundStartsInOrder()
    {
        Rig rig;
        rig.play.BucketLane = 2;
        rig.random.values = {0.5f}; // middle column
        rig.play.mnuStart_Click();
        const std::vector<std::string> expected = {"randomize",    "bin 1 on",   "score 0",
                                                   "interval 500", "miss 0 off", "miss 1 off",
                                                   "drop 4 on",    "timer on"};
        QCOMPARE(rig.log, expected);
        QCOMPARE(rig.play.BucketLane, std::int16_t(1));
        QCOMPARE(rig.play.TickArrived, std::int16_t(0));
        QVERIFY(!rig.contains("hi 0")); // the high score is not reset
    }

    // Int(Rnd * 3) must give 0, 1 or 2 for every value below 1, even the largest.
    void laneFromRandom_data()
    {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("lane");
        QTest::newRow("0") << 0.0f << 0;
        QTest::newRow("just below a third") << std::nextafter(1.0f / 3.0f, 0.0f) << 0;
        QTest::newRow("a third") << 1.0f / 3.0f << 1;
        QTest::newRow("0.9") << 0.9f << 2;
        QTest::newRow("largest below 1") << std::nextafter(1.0f, 0.0f) << 2;
    }
    void laneFromRandom()
    {
        QFETCH(float, r);
        QFETCH(int, lane);
        Rig rig;
        rig.start(r);
        QCOMPARE(rig.play.laneOfTopRound(), lane);
        QVERIFY(rig.contains("drop " + std::to_string(lane * 4) + " on"));
    }

    // Rows 0..3 shown one per tick, then two invisible steps, then a miss.
    void dropFallsOneRowPerTick()
    {
        Rig rig;
        rig.start(Rig::laneValue(2));
        for (int step = 0; step < 4; ++step) {
            QCOMPARE(rig.play.stepOfTopRound(), step);
            rig.log.clear();
            rig.tick();
            std::vector<std::string> expected = {"timer off",
                                                 "drop " + std::to_string(8 + step) + " off"};
            if (step < 3) expected.push_back("drop " + std::to_string(9 + step) + " on");
            expected.push_back("timer on");
            QCOMPARE(rig.log, expected);
        }
        rig.log.clear();
        rig.tick(); // step 4 ends: the bin is in the middle
        QCOMPARE(rig.log, (std::vector<std::string>{"timer off", "timer on"}));
        rig.log.clear();
        rig.random.values = {0.0f, 0.0f};
        rig.tick(); // step 5 ends: miss
        QCOMPARE(rig.log, (std::vector<std::string>{"timer off", "miss 0 on", "interval 500",
                                                    "drop 0 on", "timer on"}));
    }

    // A pump without a tick never ends a step, and a tick that came before the step began is
    // forgotten.
    void strayTicksDoNotShortenAStep()
    {
        Rig rig;
        rig.play.tmrTimer1_Timer(); // a tick left over from before the round
        rig.start(0.0f);
        for (int i = 0; i < 5; ++i)
            rig.play.pump();
        QCOMPARE(rig.play.stepOfTopRound(), 0);
        rig.tick();
        QCOMPARE(rig.play.stepOfTopRound(), 1);
    }

    void catchWithBinAlreadyUnder()
    {
        Rig rig;
        rig.start(Rig::laneValue(0));
        rig.play.Form_KeyDown(37, 0);
        rig.ticks(4);
        QCOMPARE(rig.play.stepOfTopRound(), 4);
        rig.log.clear();
        rig.random.values = {0.5f, Rig::laneValue(1)};
        rig.play.pump(); // first pump of step 4
        const std::vector<std::string> expected = {"score 1", "hi 1", "interval 490", "drop 4 on",
                                                   "timer on"};
        QCOMPARE(rig.log, expected); // no "timer off": a catch leaves the timer running
        QCOMPARE(rig.play.HiScore, std::int16_t(1));
    }

    // Moving the bin under the column catches during step 4, but no longer in step 5.
    void catchOnlyDuringStepFour_data()
    {
        QTest::addColumn<int>("moveInStep");
        QTest::addColumn<bool>("caught");
        QTest::newRow("step 3: caught when step 4 begins") << 3 << true;
        QTest::newRow("step 4") << 4 << true;
        QTest::newRow("step 5") << 5 << false;
    }
    void catchOnlyDuringStepFour()
    {
        QFETCH(int, moveInStep);
        QFETCH(bool, caught);
        Rig rig;
        rig.start(Rig::laneValue(2));
        rig.ticks(moveInStep);
        rig.play.Form_KeyDown(39, 0);
        rig.play.pump();
        if (moveInStep == 3) {
            rig.tick();
            rig.play.pump();
        }
        QCOMPARE(rig.contains("score 1"), caught);
        if (!caught) {
            rig.tick();
            QVERIFY(rig.contains("miss 0 on"));
        }
    }

    void equalScoreKeepsHighScoreBoard()
    {
        Rig rig;
        rig.play.HiScore = 2;
        rig.start(Rig::laneValue(1));
        rig.nextDrop(0.0f, 1);
        rig.catchDrop(1);
        rig.nextDrop(0.0f, 1);
        rig.catchDrop(1);
        QCOMPARE(rig.lastScore(), std::string("2"));
        QVERIFY(!rig.contains("hi 2"));
        rig.nextDrop(0.0f, 1);
        rig.catchDrop(1);
        QVERIFY(rig.contains("hi 3"));
    }

    void missMarksAndGameOver()
    {
        Rig rig;
        rig.start(0.0f);
        rig.missDrop();
        QVERIFY(rig.contains("miss 0 on") && !rig.contains("miss 1 on"));
        rig.log.clear();
        rig.missDrop();
        QCOMPARE(std::vector<std::string>(rig.log.begin() + 1, rig.log.begin() + 5),
                 (std::vector<std::string>{"drop 0 off", "drop 1 on", "timer on", "timer off"}));
        QVERIFY(rig.count("miss 0 on") == 1 && rig.count("miss 1 on") == 1);
        rig.log.clear();
        const int draws = rig.random.nextCount;
        rig.missDrop();
        QCOMPARE(rig.log.back(), std::string("gameover"));
        QCOMPARE(rig.random.nextCount, draws); // no speed-up after the third miss
        QVERIFY(!rig.view.enabled);
        QCOMPARE(rig.play.roundsRunning(), 0);
        rig.ticks(10);
        QCOMPARE(rig.count("gameover"), 1);
    }

    // n = CInt(p - r * 20) with halves to even, never below 1.
    void speedUp_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("expected");
        QTest::newRow("r = 0 keeps the period") << 500 << 0.0f << 500;
        QTest::newRow("r = 0.5") << 500 << 0.5f << 490;
        QTest::newRow("half to even, up") << 500 << 0.125f << 498;   // 497.5
        QTest::newRow("half to even, down") << 500 << 0.375f << 492; // 492.5
        QTest::newRow("largest r") << 500 << std::nextafter(1.0f, 0.0f) << 480;
        QTest::newRow("to zero: floor") << 10 << 0.5f << 1;
        QTest::newRow("below zero: floor") << 5 << 0.9f << 1;
        QTest::newRow("stays at floor") << 1 << 0.01f << 1;
    }
    void speedUp()
    {
        QFETCH(int, period);
        QFETCH(float, r);
        QFETCH(int, expected);
        Rig rig;
        rig.start(0.0f);
        rig.view.interval = period; // as earlier drops left it
        rig.random.values = {r, 0.0f};
        rig.missDrop();
        QCOMPARE(rig.view.interval, expected);
    }

    void newRoundAfterGameOverStartsFresh()
    {
        Rig rig;
        rig.start(Rig::laneValue(1));
        rig.nextDrop(0.9f, 1);
        rig.catchDrop(1);
        rig.play.Form_KeyDown(39, 0); // bin away from the middle column
        for (int i = 0; i < 3; ++i) {
            rig.random.values = {0.9f, 0.0f};
            rig.missDrop();
        }
        QVERIFY(rig.contains("gameover"));
        QVERIFY(rig.view.interval < 500);
        rig.log.clear();
        rig.start(0.0f);
        QVERIFY(rig.contains("interval 500") && rig.contains("score 0"));
        QVERIFY(rig.contains("miss 0 off") && rig.contains("miss 1 off"));
        QCOMPARE(rig.play.HiScore, std::int16_t(1));
    }

    // Start during a round runs a new round on top; after its game over the interrupted round
    // ends the step it waited in at once and keeps its own score.
    void startDuringARoundNests()
    {
        Rig rig;
        rig.start(Rig::laneValue(1)); // round A, middle column
        rig.nextDrop(0.5f, 1);
        rig.catchDrop(1); // A scores 1
        rig.play.Form_KeyUp(0, 0);
        rig.ticks(2); // A waits in step 2 of its second drop
        QCOMPARE(rig.play.stepOfTopRound(), 2);

        rig.random.values = {Rig::laneValue(0)};
        rig.play.mnuStart_Click(); // round B
        QCOMPARE(rig.play.roundsRunning(), 2);
        QCOMPARE(rig.lastScore(), std::string("0"));
        rig.play.Form_KeyDown(39, 0); // bin right, B's drops fall left
        for (int i = 0; i < 3; ++i) {
            rig.random.values.push_back(0.5f);
            rig.random.values.push_back(0.0f);
            rig.missDrop();
        }
        QCOMPARE(rig.play.roundsRunning(), 1);
        QCOMPARE(rig.count("gameover"), 1);
        const int periodLeft = rig.view.interval;
        QCOMPARE(periodLeft, 480);

        rig.log.clear();
        const int scheduled = rig.view.pumpsScheduled;
        rig.play.pump(); // the pump after B returned: B's last tick is still set
        QVERIFY(rig.view.pumpsScheduled > scheduled);
        QCOMPARE(rig.play.stepOfTopRound(), 3);
        QVERIFY(rig.contains("drop 6 off") && rig.contains("drop 7 on"));
        QCOMPARE(rig.view.interval, periodLeft);

        rig.play.Form_KeyUp(0, 0); // bin back to the middle
        rig.random.values = {0.0f, 0.0f};
        rig.ticks(1);
        rig.play.pump();
        QCOMPARE(rig.lastScore(), std::string("2")); // A's own count
    }

    // While a message box is open a round moves at most one step, however many ticks came.
    void heldRoundMovesOneStepAfterRelease()
    {
        Rig rig;
        rig.start(0.0f);
        rig.play.setHeld(true);
        rig.ticks(5);
        QCOMPARE(rig.play.stepOfTopRound(), 0);
        const int scheduled = rig.view.pumpsScheduled;
        rig.play.setHeld(false);
        QCOMPARE(rig.view.pumpsScheduled, scheduled + 1);
        rig.play.pump();
        rig.play.pump();
        QCOMPARE(rig.play.stepOfTopRound(), 1);
    }

    void unloadEndsEveryRound()
    {
        Rig rig;
        rig.start(0.0f);
        rig.random.values = {0.0f};
        rig.play.mnuStart_Click();
        rig.play.windowUnloaded();
        QCOMPARE(rig.play.roundsRunning(), 0);
        QVERIFY(!rig.view.enabled);
        rig.log.clear();
        rig.ticks(30);
        QVERIFY(rig.log.empty());
    }

    // The 16-bit score stops at 32767 instead of wrapping to a negative number.
    void scoreStopsAtItsTop()
    {
        Rig rig;
        rig.random.fallback = Rig::laneValue(1);
        rig.start(Rig::laneValue(1));
        for (int i = 0; i < 32769; ++i) {
            rig.log.clear();
            rig.ticks(4);
            rig.play.pump();
        }
        QCOMPARE(rig.lastScore(), std::string("32767"));
        QCOMPARE(rig.play.HiScore, std::int16_t(32767));
    }

    // Left arrow / left button: lane 0; right: lane 2; anything else: the middle.
    void bucketRules_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("lane");
        QTest::newRow("left arrow") << "keydown" << 37 << 1 << 0;
        QTest::newRow("right arrow") << "keydown" << 39 << 0 << 2;
        QTest::newRow("space") << "keydown" << 32 << 0 << 1;
        QTest::newRow("down arrow") << "keydown" << 40 << 0 << 1;
        QTest::newRow("letter") << "keydown" << 65 << 2 << 1;
        QTest::newRow("release of left") << "keyup" << 37 << 0 << 1;
        QTest::newRow("left button") << "mousedown" << 1 << 1 << 0;
        QTest::newRow("right button") << "mousedown" << 2 << 1 << 2;
        QTest::newRow("middle button") << "mousedown" << 4 << 0 << 1;
        QTest::newRow("other button: nothing") << "mousedown" << 8 << 2 << 2;
        QTest::newRow("release of right") << "mouseup" << 2 << 2 << 1;
        QTest::newRow("release of left") << "mouseup" << 1 << 0 << 1;
    }
    void bucketRules()
    {
        QFETCH(QString, event);
        QFETCH(int, code);
        QFETCH(int, from);
        QFETCH(int, lane);
        Rig rig;
        rig.play.Form_MouseDown(from == 0 ? 1 : from == 2 ? 2 : 4, 0);
        rig.log.clear();
        const auto c = std::int16_t(code);
        if (event == "keydown")
            rig.play.Form_KeyDown(c, 0);
        else if (event == "keyup")
            rig.play.Form_KeyUp(c, 0);
        else if (event == "mousedown")
            rig.play.Form_MouseDown(c, 0);
        else
            rig.play.Form_MouseUp(c, 0);
        QCOMPARE(int(rig.play.BucketLane), lane);
        if (lane == from && event == "mousedown") {
            QVERIFY(rig.log.empty());
        } else {
            std::vector<std::string> expected;
            for (int j = 0; j < 3; ++j)
                expected.push_back("bin " + std::to_string(j) + (j == lane ? " on" : " off"));
            QCOMPARE(rig.log, expected);
        }
        QVERIFY(!rig.contains("score 1")); // no round: nothing scored
    }
};

QTEST_APPLESS_MAIN(tst_playfield)
#include "tst_playfield.moc"
