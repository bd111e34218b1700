#include "Windows.h"
#include "shell/Application.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

namespace
{

const QString Title = QStringLiteral("～ルミナク～ ホロワ村放射能汚染事故ゲーム");

} // namespace

// The title window, the quit and version commands and the version window, through real widgets.
class tst_windows : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<WindowsFixture> m_fx;

    static void show(Form *form)
    {
        form->activateWindow();
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase() { Application::registerFontSubstitutions(); }
    void init() { m_fx = std::make_unique<WindowsFixture>(); }
    void cleanup() { m_fx.reset(); }

    void openingDesign()
    {
        frmOpening *form = Forms::show<frmOpening>();
        show(form);
        QCOMPARE(form->client()->size(), QSize(402, 213));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(form->windowTitle(), Title);
        QVERIFY(!form->windowIcon().isNull());
        QLabel *title = form->controls().label("lblTitle");
        QCOMPARE(title->text(), QStringLiteral("～ルミナク～"));
        QCOMPARE(title->font().family(), QStringLiteral("ＭＳ Ｐ明朝"));
        QVERIFY(title->font().bold());
        QCOMPARE(title->geometry(), QRect(88, 16, 201, 49));
        QLabel *sub = form->controls().label("lblSubTitle");
        QCOMPARE(sub->text(), QStringLiteral("ホロワ村放射能汚染事故ゲーム"));
        QCOMPARE(sub->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
        QVERIFY(sub->font().bold());
        QVERIFY(!form->controls().label("lblCopyRight")->text().isEmpty());
        QVERIFY(!form->controls().label("lblCopyRight")->font().bold());
        // The title and subtitle read as the product title.
        QCOMPARE(title->text() + QLatin1Char(' ') + sub->text(), Title);
        QPushButton *start = form->controls().button("cmdStartButton");
        QCOMPARE(start->text(), QStringLiteral("START!"));
        QCOMPARE(start->geometry(), QRect(160, 168, 81, 25));
        QCOMPARE(form->focusWidget(), start);
        // No cancel button: Escape leaves the title window alone.
        QTest::keyClick(form->windowHandle(), Qt::Key_Escape);
        QCOMPARE(Forms::find<frmOpening>(), form);
    }

    // START! loads the playfield before the title goes: one window, never none.
    void startOpensThePlayfield()
    {
        frmOpening *form = Forms::show<frmOpening>();
        QTest::mouseClick(form->controls().button("cmdStartButton"), Qt::LeftButton);
        QVERIFY(!Forms::find<frmOpening>());
        QVERIFY(Forms::find<frmMain>() && Forms::find<frmMain>()->isVisible());
        QCOMPARE(Forms::loadedCount(), 1);
        QCOMPARE(m_fx->lastWindowGone, 0);
        QCOMPARE(Forms::find<frmMain>()->controls().label("lblScoreBrd")->text(),
                 QStringLiteral("0"));
    }

    void closingTheTitleEndsTheGame()
    {
        Forms::show<frmOpening>()->close();
        QVERIFY(!Forms::find<frmOpening>());
        QCOMPARE(m_fx->lastWindowGone, 1);
    }

    void aboutWritesTitleAndVersion()
    {
        frmMain *main = Forms::show<frmMain>();
        main->mnuVer()->trigger();
        frmAbout *about = Forms::find<frmAbout>();
        QVERIFY(about && about->isVisible());
        show(about);
        QCOMPARE(about->windowTitle(), Title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(about->controls().label("lblTitle")->text(), Title);
        QCOMPARE(about->controls().label("lblVersion")->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 0.0.2"));
        QCOMPARE(about->client()->size(), QSize(382, 237));
        QCOMPARE(about->controls().button("cmdOK")->text(), QStringLiteral("OK"));
        QCOMPARE(about->controls().button("cmdSysInfo")->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
        QCOMPARE(about->controls().widget("picIcon")->geometry(), QRect(16, 16, 36, 36));
        QVERIFY(!about->controls().label("lblDescription")->text().isEmpty());
        QCOMPARE(about->focusWidget(), about->controls().button("cmdOK"));
        // Choosing the command again leaves the one window as it is.
        main->mnuVer()->trigger();
        QCOMPARE(Forms::find<frmAbout>(), about);
        QCOMPARE(Forms::loadedCount(), 2);
    }

    // Enter and Escape close the version window whichever button has the focus.
    void aboutClosesOnEnterAndEscape_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::newRow("Escape on OK") << "cmdOK" << int(Qt::Key_Escape);
        QTest::newRow("Escape on system information") << "cmdSysInfo" << int(Qt::Key_Escape);
        QTest::newRow("Enter on OK") << "cmdOK" << int(Qt::Key_Return);
        QTest::newRow("Enter on system information") << "cmdSysInfo" << int(Qt::Key_Return);
    }
    void aboutClosesOnEnterAndEscape()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        frmAbout *about = Forms::show<frmAbout>();
        show(about);
        about->controls().button(focus.toLatin1().constData())->setFocus();
        QTest::keyClick(about->windowHandle(), Qt::Key(key));
        QVERIFY(!Forms::find<frmAbout>());
        QCOMPARE(m_fx->rt.messageBox.shown, 0);
    }

    void aboutReloadsAfterUnload()
    {
        frmAbout *about = Forms::show<frmAbout>();
        QTest::mouseClick(about->controls().button("cmdOK"), Qt::LeftButton);
        QVERIFY(!Forms::find<frmAbout>());
        QCOMPARE(m_fx->lastWindowGone, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmAbout *again = Forms::show<frmAbout>();
        QCOMPARE(again->controls().label("lblVersion")->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 0.0.2"));
    }

    // Quit answered No keeps the round going: at most one step for all the ticks meanwhile.
    void quitAnsweredNo()
    {
        frmMain *main = Forms::show<frmMain>();
        m_fx->rt.random.values = {0.0f};
        main->mnuStart()->trigger();
        QCoreApplication::sendPostedEvents();
        QTimer *timer = main->controls().timer("tmrTimer1");
        m_fx->rt.messageBox.answer = rt::vbNo;
        m_fx->rt.messageBox.whileOpen = [timer] {
            for (int i = 0; i < 8; ++i)
                fire(timer);
        };
        main->mnuEnd()->trigger();
        QCOMPARE(m_fx->rt.messageBox.lastText, QStringLiteral("終了しますか？"));
        QCOMPARE(m_fx->rt.messageBox.lastStyle, 0x34);
        QCOMPARE(m_fx->rt.messageBox.lastTitle, Title);
        QCOMPARE(Forms::find<frmMain>(), main);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(main->playfield().stepOfTopRound(), 1);
        QVERIFY(main->controls().widget("imgUran", 1)->isVisible());
        QCOMPARE(main->playfield().roundsRunning(), 1);
    }

    // Yes during a round: the playfield goes, the round with it, and nothing opens later.
    void quitAnsweredYesMidRound()
    {
        frmMain *main = Forms::show<frmMain>();
        main->mnuStart()->trigger();
        main->mnuStart()->trigger(); // a nested round too
        QPointer<QTimer> timer = main->controls().timer("tmrTimer1");
        m_fx->rt.messageBox.answer = rt::vbYes;
        main->mnuEnd()->trigger();
        QVERIFY(!Forms::find<frmMain>());
        QVERIFY(!timer->isActive());
        QCOMPARE(m_fx->lastWindowGone, 1);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(timer.isNull());
        QVERIFY(!Forms::find<frmGameOver>());
    }

    // Yes with the game-over window open: the game ends only when that window's OK is pressed.
    void quitWithGameOverOpen()
    {
        frmMain *main = Forms::show<frmMain>();
        Forms::show<frmGameOver>();
        m_fx->rt.messageBox.answer = rt::vbYes;
        main->mnuEnd()->trigger();
        QVERIFY(!Forms::find<frmMain>());
        QCOMPARE(m_fx->lastWindowGone, 0);
        QTest::mouseClick(Forms::find<frmGameOver>()->controls().button("cmdOKButton"),
                          Qt::LeftButton);
        QCOMPARE(m_fx->lastWindowGone, 1);
    }
};

QTEST_MAIN(tst_windows)
#include "tst_windows.moc"
