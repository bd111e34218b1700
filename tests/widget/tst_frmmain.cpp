#include "Windows.h"
#include "shell/Application.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

class tst_frmmain : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<WindowsFixture> m_fx;
    frmMain *m_form = nullptr;

    QWidget *control(const char *name, int index = -1) const
    {
        return m_form->controls().widget(name, index);
    }
    QTimer *timer() const { return m_form->controls().timer("tmrTimer1"); }
    int shownBin() const
    {
        int shown = -1;
        for (int j = 0; j < 3; ++j)
            if (control("imgBakets", j)->isVisible()) shown = shown == -1 ? j : 99;
        return shown;
    }
    // A point of the client area in window coordinates, for events sent through the window.
    QPoint at(int x, int y) const { return m_form->client()->mapTo(m_form, QPoint(x, y)); }

private slots:
    void initTestCase() { Application::registerFontSubstitutions(); }

    void init()
    {
        m_fx = std::make_unique<WindowsFixture>();
        m_form = Forms::show<frmMain>();
        m_form->activateWindow();
        QCoreApplication::processEvents();
    }
    void cleanup() { m_fx.reset(); }

    void layoutMatchesTheDesign_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("lblHiScoreBrd") << "lblHiScoreBrd" << -1 << QRect(200, 72, 81, 17);
        QTest::newRow("lblScoreBrd") << "lblScoreBrd" << -1 << QRect(200, 32, 81, 17);
        QTest::newRow("imgMiss 1") << "imgMiss" << 1 << QRect(232, 136, 32, 32);
        QTest::newRow("imgMiss 0") << "imgMiss" << 0 << QRect(200, 136, 32, 32);
        QTest::newRow("lblMiss") << "lblMiss" << -1 << QRect(200, 112, 65, 17);
        QTest::newRow("lblHiScore") << "lblHiScore" << -1 << QRect(208, 56, 65, 17);
        QTest::newRow("lblScore") << "lblScore" << -1 << QRect(208, 8, 65, 17);
        for (int j = 0; j < 3; ++j)
            QTest::addRow("imgBakets %d", j) << "imgBakets" << j << QRect(24 + 48 * j, 168, 32, 32);
        for (int i = 0; i < 12; ++i)
            QTest::addRow("imgUran %d", i)
                << "imgUran" << i << QRect(24 + 48 * (i / 4), 32 + 32 * (i % 4), 32, 32);
    }
    void layoutMatchesTheDesign()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(QRect, geometry);
        QCOMPARE(control(name.toLatin1().constData(), index)->geometry(), geometry);
    }

    void windowBeforeTheFirstRound()
    {
        QCOMPARE(m_form->client()->size(), QSize(312, 213));
        QCOMPARE(m_form->minimumSize(), m_form->maximumSize()); // not resizable
        QCOMPARE(m_form->windowTitle(),
                 QStringLiteral("～ルミナク～ ホロワ村放射能汚染事故ゲーム"));
        QVERIFY(!m_form->windowIcon().isNull());
        QCOMPARE(shownBin(), 1);
        for (int i = 0; i < 12; ++i)
            QVERIFY(!control("imgUran", i)->isVisible());
        QVERIFY(!control("imgMiss", 0)->isVisible() && !control("imgMiss", 1)->isVisible());
        QCOMPARE(m_form->controls().label("lblScoreBrd")->text(), QStringLiteral("0"));
        QCOMPARE(m_form->controls().label("lblHiScoreBrd")->text(), QStringLiteral("0"));
        QVERIFY(m_form->controls().label("lblScoreBrd")->alignment() & Qt::AlignRight);
        QVERIFY(!timer()->isActive());
        QCOMPARE(timer()->interval(), 500);
        QCOMPARE(m_form->playfield().BucketLane, std::int16_t(0));
        QCOMPARE(m_form->mnuStart()->text(), QStringLiteral("開始(&S)"));
        QCOMPARE(m_form->mnuEnd()->text(), QStringLiteral("終了(&X)"));
        QCOMPARE(m_form->mnuVer()->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"));
        const QList<QAction *> menus = m_form->findChild<QMenuBar *>()->actions();
        QCOMPARE(menus.size(), 2);
        QCOMPARE(menus[0]->text(), QStringLiteral("ﾌｧｲﾙ(&F)"));
        QCOMPARE(menus[1]->text(), QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    }

    // Real key events through the window; a held key's auto-repeated release is not a release.
    void arrowKeysMoveTheBin()
    {
        QWindow *window = m_form->windowHandle();
        QTest::keyPress(window, Qt::Key_Left);
        QCOMPARE(shownBin(), 0);
        QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(m_form, &repeatRelease);
        QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(m_form, &repeatPress);
        QCOMPARE(shownBin(), 0);
        QTest::keyPress(window, Qt::Key_Right);
        QCOMPARE(shownBin(), 2);
        QTest::keyRelease(window, Qt::Key_Left); // releasing either key: the middle
        QCOMPARE(shownBin(), 1);
        QTest::keyPress(window, Qt::Key_Left);
        QTest::keyPress(window, Qt::Key_Space);
        QCOMPARE(shownBin(), 1);
        QCOMPARE(m_form->playfield().BucketLane, std::int16_t(1));
    }

    // Presses over shown pictures and labels belong to them; hidden pictures let them through.
    void mouseButtonsMoveTheBin_data()
    {
        QTest::addColumn<QPoint>("where");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("lane");
        QTest::newRow("left on bare window") << QPoint(150, 10) << int(Qt::LeftButton) << 0;
        QTest::newRow("right on bare window") << QPoint(150, 10) << int(Qt::RightButton) << 2;
        QTest::newRow("left on hidden drop") << QPoint(40, 48) << int(Qt::LeftButton) << 0;
        QTest::newRow("left on shown bin") << QPoint(88, 184) << int(Qt::LeftButton) << 1;
        QTest::newRow("right on label") << QPoint(220, 14) << int(Qt::RightButton) << 1;
        QTest::newRow("left on score board") << QPoint(240, 40) << int(Qt::LeftButton) << 1;
    }
    void mouseButtonsMoveTheBin()
    {
        QFETCH(QPoint, where);
        QFETCH(int, button);
        QFETCH(int, lane);
        QWindow *window = m_form->windowHandle();
        QTest::mousePress(window, Qt::MouseButton(button), {}, at(where.x(), where.y()));
        QCOMPARE(shownBin(), lane);
        QCOMPARE(int(m_form->playfield().BucketLane), lane == 1 ? 0 : lane);
        QTest::mouseRelease(window, Qt::MouseButton(button), {}, at(150, 100));
        QCOMPARE(shownBin(), 1);
    }

    void keyCodesOfQtKeys()
    {
        QCOMPARE(frmMain::keyCode(Qt::Key_Left), std::int16_t(37));
        QCOMPARE(frmMain::keyCode(Qt::Key_Right), std::int16_t(39));
        QCOMPARE(frmMain::mouseButton(Qt::MiddleButton), std::int16_t(4));
    }

    // A round through the real menu action and the real timer, to a game-over window.
    void roundRunsOnTheTimer()
    {
        m_fx->rt.random.values = {0.0f}; // left column
        m_fx->rt.random.fallback = 0.0f;
        m_form->mnuStart()->trigger();
        QCoreApplication::sendPostedEvents();
        QVERIFY(control("imgUran", 0)->isVisible());
        QVERIFY(timer()->isActive());
        QCOMPARE(timer()->timerType(), Qt::PreciseTimer);
        for (int tick = 0; tick < 17; ++tick)
            QVERIFY(fire(timer()));
        QVERIFY(control("imgMiss", 0)->isVisible() && control("imgMiss", 1)->isVisible());
        QVERIFY(!Forms::find<frmGameOver>());
        QVERIFY(fire(timer()));
        QVERIFY(Forms::find<frmGameOver>() && Forms::find<frmGameOver>()->isVisible());
        QVERIFY(!timer()->isActive());
    }

    void catchScoresOnTheBoards()
    {
        m_fx->rt.random.values = {0.9f};
        m_form->mnuStart()->trigger();
        QCoreApplication::sendPostedEvents();
        QTest::keyPress(m_form->windowHandle(), Qt::Key_Right);
        for (int tick = 0; tick < 4; ++tick)
            QVERIFY(fire(timer()));
        QCOMPARE(m_form->controls().label("lblScoreBrd")->text(), QStringLiteral("1"));
        QCOMPARE(m_form->controls().label("lblHiScoreBrd")->text(), QStringLiteral("1"));
    }

    // Ticks during a message box only set the flag: one step when it closes.
    void messageBoxHoldsTheRound()
    {
        m_fx->rt.random.values = {0.0f};
        m_form->mnuStart()->trigger();
        QCoreApplication::sendPostedEvents();
        m_fx->rt.messageBox.whileOpen = [this] {
            for (int i = 0; i < 5; ++i)
                fire(timer());
        };
        rt::msgBox(QStringLiteral("?"), rt::vbOKOnly);
        QVERIFY(control("imgUran", 0)->isVisible());
        QCoreApplication::sendPostedEvents();
        QVERIFY(!control("imgUran", 0)->isVisible());
        QVERIFY(control("imgUran", 1)->isVisible());
        QCOMPARE(m_form->playfield().stepOfTopRound(), 1);
    }

    // The title-bar close unloads the window and ends the round with it.
    void closingEndsTheRound()
    {
        m_fx->rt.random.values = {0.0f};
        m_form->mnuStart()->trigger();
        QTimer *stepTimer = timer();
        QVERIFY(m_form->close() == false || !Forms::find<frmMain>());
        QVERIFY(!Forms::find<frmMain>());
        QVERIFY(!stepTimer->isActive());
        QCOMPARE(m_fx->lastWindowGone, 1);
        QCoreApplication::sendPostedEvents();
        QVERIFY(!Forms::find<frmGameOver>());
    }
};

QTEST_MAIN(tst_frmmain)
#include "tst_frmmain.moc"
