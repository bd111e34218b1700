#include "Windows.h"
#include "shell/Application.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

#include <random>

namespace
{

QtMessageHandler s_previousHandler = nullptr;

// The offscreen platform says so every time a fixed-size window is shown; thousands of times here.
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains(QLatin1String("propagateSizeHints")))
        s_previousHandler(type, context, message);
}

} // namespace

// Random events against the real windows, checking the playfield's invariants after each one.
// Set MONKEY_SEED to replay a failing run, MONKEY_EVENTS to change the length.
class tst_monkey : public QObject
{
    Q_OBJECT
private:
    std::mt19937 m_rng;
    FakeRuntime m_rt;
    frmMain *m_main = nullptr;

    int pick(int n) { return int(m_rng() % unsigned(n)); }

    // Returns whether the event was input that moves the bin.
    bool randomEvent()
    {
        static const int keys[] = {Qt::Key_Left,  Qt::Key_Right, Qt::Key_Up,    Qt::Key_Down,
                                   Qt::Key_Space, Qt::Key_A,     Qt::Key_Shift, Qt::Key_Return};
        static const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton,
                                                  Qt::BackButton};
        const int roll = pick(1000);
        if (roll < 450) {
            fire(m_main->controls().timer("tmrTimer1"));
        } else if (roll < 650) {
            const bool press = pick(2);
            const bool repeat = pick(4) == 0;
            QKeyEvent key(press ? QEvent::KeyPress : QEvent::KeyRelease, keys[pick(8)],
                          Qt::NoModifier, QString(), repeat);
            QCoreApplication::sendEvent(m_main, &key);
            return !(repeat && !press);
        } else if (roll < 850) {
            const QPoint at = m_main->client()->mapTo(m_main, QPoint(pick(312), pick(213)));
            const Qt::MouseButton button = buttons[pick(4)];
            if (pick(2))
                QTest::mousePress(m_main->windowHandle(), button, {}, at);
            else
                QTest::mouseRelease(m_main->windowHandle(), button, {}, at);
            return true;
        } else if (roll < 870) {
            m_main->mnuStart()->trigger();
        } else if (roll < 880) {
            m_rt.messageBox.answer = rt::vbNo;
            m_main->mnuEnd()->trigger();
        } else if (roll < 890) {
            if (frmAbout *about = Forms::find<frmAbout>())
                about->controls().button("cmdOK")->click();
            else
                m_main->mnuVer()->trigger();
        } else if (roll < 900) {
            if (frmGameOver *over = Forms::find<frmGameOver>())
                over->controls().button("cmdOKButton")->click();
        } else {
            if (frmGameOver *over = Forms::find<frmGameOver>())
                fire(over->controls().timer("tmrTimer1"));
            m_main->playfield().pump();
        }
        return false;
    }

private slots:
    void initTestCase()
    {
        Application::registerFontSubstitutions();
        Forms::setOnLastWindowGone([] {});
        s_previousHandler = qInstallMessageHandler(quietHandler);
    }

    void invariantsHoldUnderRandomInput()
    {
        const unsigned seed = qEnvironmentVariableIsSet("MONKEY_SEED")
                                  ? qEnvironmentVariableIntValue("MONKEY_SEED")
                                  : std::random_device{}();
        const int events = qEnvironmentVariableIsSet("MONKEY_EVENTS")
                               ? qEnvironmentVariableIntValue("MONKEY_EVENTS")
                               : 200000;
        qInfo("MONKEY_SEED=%u", seed);
        m_rng.seed(seed);
        std::mt19937 values(seed ^ 0x5eedu);
        m_main = Forms::show<frmMain>();
        m_main->activateWindow();
        QCoreApplication::processEvents();
        QTimer *timer = m_main->controls().timer("tmrTimer1");
        const Playfield &play = m_main->playfield();

        const auto binState = [&] {
            int state = play.BucketLane;
            for (int j = 0; j < 3; ++j)
                state =
                    state * 2 + (m_main->controls().widget("imgBakets", j)->isVisible() ? 1 : 0);
            return state;
        };
        // The drawn bin follows the lane once input has set both; a round start shows the middle
        // bin without hiding the others, so it is out of step until the next input.
        bool inStep = false;
        int period = timer->interval();
        for (int i = 0; i < events; ++i) {
            const int binsBefore = binState();
            while (m_rt.random.values.size() < 4)
                m_rt.random.values.push_back(float(values() >> 8) / 16777216.0f);
            const int roundsBefore = play.roundsRunning();
            const bool binInput = randomEvent();
            QCoreApplication::sendPostedEvents();
            const QString where = QStringLiteral("seed %1, event %2").arg(seed).arg(i);
            const QByteArray at = where.toLatin1();

            QVERIFY2(play.BucketLane >= 0 && play.BucketLane <= 2, at);
            const bool started = play.roundsRunning() > roundsBefore;
            if (binInput && (inStep || binState() != binsBefore)) {
                inStep = true;
                int shown = 0;
                for (int j = 0; j < 3; ++j)
                    shown += m_main->controls().widget("imgBakets", j)->isVisible() ? 1 : 0;
                QVERIFY2(shown == 1, at);
                QVERIFY2(m_main->controls().widget("imgBakets", play.BucketLane)->isVisible(), at);
            }
            int drops = 0;
            for (int d = 0; d < 12; ++d)
                drops += m_main->controls().widget("imgUran", d)->isVisible() ? 1 : 0;
            QVERIFY2(drops <= play.roundsRunning(), at);
            for (const Playfield::Round &r : play.rounds())
                QVERIFY2(r.MissCount >= 0 && r.MissCount < 3, at);
            const int now = timer->interval();
            QVERIFY2(now >= 1 && now <= 500, at);
            QVERIFY2(started ? now == 500 : now <= period, at);
            if (started) inStep = false;
            period = now;
        }
        qInfo("rounds still running at the end: %d", play.roundsRunning());
    }
};

QTEST_MAIN(tst_monkey)
#include "tst_monkey.moc"
