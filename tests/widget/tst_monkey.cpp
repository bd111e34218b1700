#include "Windows.h"
#include "shell/Application.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <random>

// Random events against the real windows, checking the playfield's invariants after each one.
// MONKEY_SEED replays a failing run; MONKEY_EVENTS changes its length.
class tst_monkey : public QObject
{
    Q_OBJECT
private slots:
    void invariantsHoldUnderRandomInput()
    {
        Application::registerFontSubstitutions();
        // The offscreen platform complains each time a fixed-size window is shown.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        WindowsFixture fx;
        const unsigned seed = qEnvironmentVariableIsSet("MONKEY_SEED")
                                  ? unsigned(qEnvironmentVariableIntValue("MONKEY_SEED"))
                                  : std::random_device{}();
        const int events = qEnvironmentVariableIsSet("MONKEY_EVENTS")
                               ? qEnvironmentVariableIntValue("MONKEY_EVENTS")
                               : 200000;
        qInfo("MONKEY_SEED=%u", seed);
        std::mt19937 rng(seed);
        const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
        frmMain *main = Forms::show<frmMain>();
        const Playfield &play = main->playfield();
        QTimer *timer = main->controls().timer("tmrTimer1");
        const auto shown = [&](const char *name, int n) {
            int count = 0;
            for (int i = 0; i < n; ++i)
                count += main->controls().widget(name, i)->isVisible() ? 1 : 0;
            return count;
        };
        const int keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Down, Qt::Key_Space, Qt::Key_A};
        const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton,
                                           Qt::BackButton};
        const auto binState = [&] {
            int state = play.BucketLane;
            for (int j = 0; j < 3; ++j)
                state = state * 2 + (main->controls().widget("imgBakets", j)->isVisible() ? 1 : 0);
            return state;
        };
        bool inStep = false; // the drawn bin follows the lane
        int period = timer->interval();
        for (int i = 0; i < events; ++i) {
            while (fx.rt.random.values.size() < 4)
                fx.rt.random.values.push_back(float(rng() >> 8) / 16777216.0f);
            const int roundsBefore = play.roundsRunning(), binsBefore = binState();
            bool binInput = false;
            const int roll = pick(100);
            if (roll < 45) {
                fire(timer);
            } else if (roll < 65) {
                const bool press = pick(2), repeat = pick(4) == 0;
                QKeyEvent key(press ? QEvent::KeyPress : QEvent::KeyRelease, keys[pick(5)],
                              Qt::NoModifier, QString(), repeat);
                QCoreApplication::sendEvent(main, &key);
                binInput = press || !repeat;
            } else if (roll < 85) {
                const QPoint at = main->client()->mapTo(main, QPoint(pick(312), pick(213)));
                if (pick(2))
                    QTest::mousePress(main->windowHandle(), buttons[pick(4)], {}, at);
                else
                    QTest::mouseRelease(main->windowHandle(), buttons[pick(4)], {}, at);
                binInput = true;
            } else if (roll < 87) {
                main->mnuStart()->trigger();
            } else if (roll < 88) {
                fx.rt.messageBox.answer = rt::vbNo;
                main->mnuEnd()->trigger();
            } else if (roll < 89) {
                if (frmAbout *about = Forms::find<frmAbout>())
                    about->controls().button("cmdOK")->click();
                else
                    main->mnuVer()->trigger();
            } else if (frmGameOver *over = Forms::find<frmGameOver>()) {
                if (roll < 90)
                    over->controls().button("cmdOKButton")->click();
                else
                    fire(over->controls().timer("tmrTimer1"));
            }
            QCoreApplication::sendPostedEvents();
            const QByteArray at = QStringLiteral("seed %1, event %2").arg(seed).arg(i).toLatin1();
            // A round start shows the middle bin without hiding the others; input that moves the
            // bin after it leaves exactly the bin of the lane shown.
            const bool started = play.roundsRunning() > roundsBefore;
            if (binInput && (inStep || binState() != binsBefore)) {
                inStep = true;
                QVERIFY2(shown("imgBakets", 3) == 1, at);
                QVERIFY2(main->controls().widget("imgBakets", play.BucketLane)->isVisible(), at);
            }
            QVERIFY2(shown("imgUran", 12) <= play.roundsRunning(), at);
            for (const Playfield::Round &r : play.rounds())
                QVERIFY2(r.MissCount >= 0 && r.MissCount < 3, at);
            const int now = timer->interval();
            if (started) inStep = false;
            QVERIFY2(now >= 1 && (started ? now == 500 : now <= period), at);
            period = now;
        }
    }
};

QTEST_MAIN(tst_monkey)
#include "tst_monkey.moc"
