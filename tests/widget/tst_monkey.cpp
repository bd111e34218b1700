// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Windows.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <array>
#include <random>

// Random input, ticks and round starts, the playfield's invariants checked after each event.
// MONKEY_SEED replays a failing run.
class tst_monkey : public QObject
{
    Q_OBJECT
private slots:
    void invariantsHoldUnderRandomInput()
    {
        // The offscreen platform complains each time a fixed-size window is shown.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        WindowsFixture fx;
        const unsigned seed = qEnvironmentVariableIsSet("MONKEY_SEED")
                                  ? unsigned(qEnvironmentVariableIntValue("MONKEY_SEED"))
                                  : std::random_device{}();
        qInfo("MONKEY_SEED=%u", seed);
        std::mt19937 rng(seed);
        const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
        frmMain *main = Forms::show<frmMain>();
        const Playfield &play = main->playfield();
        QTimer *timer = main->controls().timer("tmrTimer1");
        const auto shown = [&](const char *name, int n) {
            int count = 0;
            for (int i = 0; i < n; ++i)
                count += main->controls().widget(name, i)->isVisible();
            return count;
        };
        int period = timer->interval();
        for (int i = 0; i < 200000; ++i) {
            while (fx.rt.random.values.size() < 4)
                fx.rt.random.values.push_back(float(rng() >> 8) / 16777216.0f);
            const int roundsBefore = play.roundsRunning();
            const int roll = pick(100);
            const QPoint where = main->client()->mapTo(main, QPoint(pick(312), pick(213)));
            const auto button =
                std::array{Qt::LeftButton, Qt::RightButton, Qt::BackButton}[pick(3)];
            const auto key = std::array{Qt::Key_Left, Qt::Key_Right, Qt::Key_Space}[pick(3)];
            if (roll < 10)
                QTest::keyEvent(roll < 5 ? QTest::Press : QTest::Release, main, key);
            else if (roll < 20)
                QTest::mouseEvent(roll < 15 ? QTest::MousePress : QTest::MouseRelease,
                                  main->windowHandle(), button, {}, where);
            else if (roll < 85)
                fire(timer);
            else if (roll < 88)
                main->mnuStart()->trigger();
            else if (auto *over = Forms::find<frmGameOver>(); over && roll < 90)
                over->cmdOKButton_Click();
            else if (over)
                fire(over->controls().timer("tmrTimer1"));
            QCoreApplication::sendPostedEvents();
            const QByteArray at = QStringLiteral("seed %1, event %2").arg(seed).arg(i).toLatin1();
            const bool started = play.roundsRunning() > roundsBefore;
            QVERIFY2(play.BucketLane >= 0 && play.BucketLane <= 2 && shown("imgBakets", 3) >= 1,
                     at);
            QVERIFY2(shown("imgUran", 12) <= play.roundsRunning(), at);
            for (const Playfield::Round &r : play.rounds())
                QVERIFY2(r.MissCount >= 0 && r.MissCount < 3, at);
            const int now = timer->interval();
            QVERIFY2(now >= 1 && (started ? now == 500 : now <= period), at);
            period = now;
        }
    }
};

QTEST_MAIN(tst_monkey)
#include "tst_monkey.moc"
