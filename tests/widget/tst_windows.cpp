#include "Windows.h"
#include "shell/Application.h"
#include "shell/platform/Services.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringEncoder>
#include <QTest>

#include <cmath>

namespace
{

const QString Title = QStringLiteral("～ルミナク～ ホロワ村放射能汚染事故ゲーム");

Form *window(const QString &name)
{
    if (name == "frmMain") return Forms::show<frmMain>();
    if (name == "frmOpening") return Forms::show<frmOpening>();
    if (name == "frmGameOver") return Forms::show<frmGameOver>();
    return Forms::show<frmAbout>();
}

QString textOf(QObject *o)
{
    if (auto *label = qobject_cast<QLabel *>(o)) return label->text();
    if (auto *button = qobject_cast<QPushButton *>(o)) return button->text();
    return {};
}

// Every control where a player sees it (pixels at 96 dpi), shown or hidden, with its text and,
// for labels, the font it was designed with.
struct Placed {
    const char *window, *name;
    int index;
    QRect rect;
    bool shown;
    const char *text = "";
    const char *font = "";
};
const char *const Gothic12 = "ＭＳ Ｐゴシック 12";
// clang-format off
const Placed Layout[] = {
    {"frmMain", "lblHiScoreBrd", -1, {200, 72, 81, 17}, true, "0", Gothic12},
    {"frmMain", "lblScoreBrd", -1, {200, 32, 81, 17}, true, "0", Gothic12},
    {"frmMain", "imgMiss", 1, {232, 136, 32, 32}, false},
    {"frmMain", "imgMiss", 0, {200, 136, 32, 32}, false},
    {"frmMain", "lblMiss", -1, {200, 112, 65, 17}, true, "MISS", Gothic12},
    {"frmMain", "lblHiScore", -1, {208, 56, 65, 17}, true, "HI-SCORE", Gothic12},
    {"frmMain", "lblScore", -1, {208, 8, 65, 17}, true, "SCORE", Gothic12},
    {"frmMain", "imgBakets", 0, {24, 168, 32, 32}, false},
    {"frmMain", "imgBakets", 1, {72, 168, 32, 32}, true},
    {"frmMain", "imgBakets", 2, {120, 168, 32, 32}, false},
    {"frmOpening", "cmdStartButton", -1, {160, 168, 81, 25}, true, "START!"},
    {"frmOpening", "lblCopyRight", -1, {48, 128, 289, 25}, true, "(C) 2026 The Luminaku developers", "ＭＳ Ｐゴシック 19"},
    {"frmOpening", "lblSubTitle", -1, {48, 80, 289, 25}, true, "ホロワ村放射能汚染事故ゲーム", "ＭＳ Ｐゴシック 21 bold"},
    {"frmOpening", "lblTitle", -1, {88, 16, 201, 49}, true, "～ルミナク～", "ＭＳ Ｐ明朝 48 bold"},
    {"frmGameOver", "cmdOKButton", -1, {160, 168, 81, 25}, true, "OK"},
    {"frmGameOver", "lblTitle", -1, {40, 8, 337, 49}, true, "ルミナク事故発生!!", "ＭＳ Ｐ明朝 48 bold"},
    {"frmGameOver", "lblGameOver", -1, {120, 72, 161, 25}, true, "GAME OVER", "ＭＳ Ｐゴシック 27 bold"},
    {"frmGameOver", "lblTryAgain", -1, {160, 120, 81, 25}, true, "Try Again!", "ＭＳ Ｐゴシック 19"},
    {"frmAbout", "picIcon", -1, {16, 16, 36, 36}, true},
    {"frmAbout", "cmdOK", -1, {283, 175, 92, 23}, true, "OK"},
    {"frmAbout", "cmdSysInfo", -1, {284, 205, 92, 23}, true, "ｼｽﾃﾑ情報(&S)..."},
    {"frmAbout", "Line1", 1, {6, 163, 371, 1}, true}, // both lines end at x 376
    {"frmAbout", "Line1", 0, {7, 164, 370, 2}, true},
    {"frmAbout", "lblDescription", -1, {70, 75, 259, 78}, true, "(C) 2026 The Luminaku developers. A small arcade game: catch the falling drops in the bin before three of them get past.", Gothic12},
    {"frmAbout", "lblTitle", -1, {70, 16, 259, 32}, true, "～ルミナク～ ホロワ村放射能汚染事故ゲーム", "ＭＳ Ｐゴシック 13"},
    {"frmAbout", "lblVersion", -1, {70, 52, 259, 15}, true, "ﾊﾞｰｼﾞｮﾝ 0.0.2", Gothic12},
    {"frmAbout", "lblDisclaimer", -1, {17, 175, 258, 55}, true, "", Gothic12},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(Placed)

// The four windows through real widgets and real events, offscreen.
class tst_windows : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<WindowsFixture> m_fx;
    frmMain *m_main = nullptr;

    QWidget *control(const char *name, int index = -1) const
    {
        return m_main->controls().widget(name, index);
    }
    QTimer *timer() const { return m_main->controls().timer("tmrTimer1"); }
    QString board(const char *name) const { return m_main->controls().label(name)->text(); }
    int shownBin() const
    {
        int shown = -1;
        for (int j = 0; j < 3; ++j)
            if (control("imgBakets", j)->isVisible()) shown = shown == -1 ? j : 99;
        return shown;
    }
    void startRound(float lane)
    {
        m_fx->rt.random.values = {lane};
        m_main->mnuStart()->trigger();
        QCoreApplication::sendPostedEvents();
    }
    static void activate(QWidget *w)
    {
        w->activateWindow();
        QCoreApplication::processEvents();
    }
    static void escapePopup()
    {
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QCoreApplication::sendPostedEvents();
    }

private slots:
    void initTestCase() { Application::registerFontSubstitutions(); }
    void init()
    {
        m_fx = std::make_unique<WindowsFixture>();
        m_main = Forms::show<frmMain>();
        activate(m_main);
    }
    void cleanup() { m_fx.reset(); }

    void layout_data()
    {
        QTest::addColumn<Placed>("c");
        for (const Placed &c : Layout)
            QTest::addRow("%s %s(%d)", c.window, c.name, c.index) << c;
        for (int i = 0; i < 12; ++i)
            QTest::addRow("frmMain imgUran(%d)", i) << Placed{
                "frmMain", "imgUran", i, {24 + 48 * (i / 4), 32 + 32 * (i % 4), 32, 32}, false};
    }
    void layout()
    {
        QFETCH(Placed, c);
        Form *form = window(c.window);
        QWidget *w = form->controls().widget(c.name, c.index);
        QCOMPARE(w->geometry(), c.rect);
        QCOMPARE(w->isVisible(), c.shown);
        QCOMPARE(textOf(w), QString::fromUtf8(c.text));
        if (auto *label = qobject_cast<QLabel *>(w); label && *c.font) {
            const QFont f = label->font();
            QCOMPARE(QStringLiteral("%1 %2%3")
                         .arg(f.family())
                         .arg(label->property("designPixelSize").toInt())
                         .arg(f.bold() ? " bold" : ""),
                     QString::fromUtf8(c.font));
        }
    }

    void windowSettings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("icon");
        QTest::newRow("playfield") << "frmMain" << QSize(312, 213) << Title << true;
        QTest::newRow("title") << "frmOpening" << QSize(402, 213) << Title << true;
        QTest::newRow("game over") << "frmGameOver" << QSize(402, 213) << Title << false;
        QTest::newRow("version") << "frmAbout" << QSize(382, 237)
                                 << Title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報") << false;
    }
    void windowSettings()
    {
        QFETCH(QString, name);
        QFETCH(QSize, client);
        QFETCH(QString, caption);
        QFETCH(bool, icon);
        Form *form = window(name);
        QCOMPARE(form->client()->size(), client);
        QCOMPARE(form->minimumSize(), form->maximumSize()); // not resizable
        QCOMPARE(form->windowTitle(), caption);
        QCOMPARE(!form->windowIcon().isNull(), icon);
    }

    // Every text the windows show can be written in code page 932.
    void textsFitCodePage932()
    {
        QStringEncoder cp932("windows-31j");
        QVERIFY(cp932.isValid());
        for (const QString name : {"frmMain", "frmOpening", "frmGameOver", "frmAbout"}) {
            Form *form = window(name);
            QStringList texts{form->windowTitle()};
            for (QObject *o : form->findChildren<QObject *>())
                texts << textOf(o)
                      << (qobject_cast<QAction *>(o) ? static_cast<QAction *>(o)->text()
                                                     : QString());
            for (const QString &text : texts) {
                const QByteArray bytes = cp932.encode(text);
                QVERIFY2(!cp932.hasError(), qPrintable(text));
            }
        }
    }

    void playfieldBeforeTheFirstRound()
    {
        QCOMPARE(m_main->playfield().BucketLane, std::int16_t(0));
        QVERIFY(!timer()->isActive());
        QCOMPARE(timer()->interval(), 500);
        QStringList menus;
        for (QAction *top : m_main->findChild<QMenuBar *>()->actions()) {
            menus << top->text();
            for (QAction *item : top->menu()->actions())
                menus << item->text();
        }
        QCOMPARE(menus,
                 (QStringList{"ﾌｧｲﾙ(&F)", "開始(&S)", "終了(&X)", "ﾍﾙﾌﾟ(&H)", "ﾊﾞｰｼﾞｮﾝ情報(&A)"}));
    }

    // Real key events through the window; a held key's auto-repeated release is not a release.
    void arrowKeysMoveTheBin()
    {
        QWindow *w = m_main->windowHandle();
        QTest::keyPress(w, Qt::Key_Left);
        QCOMPARE(shownBin(), 0);
        QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(m_main, &repeatRelease);
        QCOMPARE(shownBin(), 0);
        QTest::keyPress(w, Qt::Key_Right);
        QCOMPARE(shownBin(), 2);
        QTest::keyRelease(w, Qt::Key_Left); // releasing either key: the middle
        QCOMPARE(shownBin(), 1);
        QTest::keyPress(w, Qt::Key_Left);
        QTest::keyPress(w, Qt::Key_Space);
        QCOMPARE(shownBin(), 1);
        QCOMPARE(m_main->playfield().BucketLane, std::int16_t(1));
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
    }
    void mouseButtonsMoveTheBin()
    {
        QFETCH(QPoint, where);
        QFETCH(int, button);
        QFETCH(int, lane);
        QWindow *w = m_main->windowHandle();
        const auto at = [this](QPoint p) { return m_main->client()->mapTo(m_main, p); };
        QTest::mousePress(w, Qt::MouseButton(button), {}, at(where));
        QCOMPARE(shownBin(), lane);
        QTest::mouseRelease(w, Qt::MouseButton(button), {}, at(QPoint(150, 100)));
        QCOMPARE(shownBin(), 1);
    }

    // A round through the real menu action and timer, to the game-over window; a catch on the way.
    void roundRunsOnTheTimer()
    {
        startRound(0.9f);
        QVERIFY(control("imgUran", 8)->isVisible());
        QCOMPARE(timer()->timerType(), Qt::PreciseTimer);
        QTest::keyPress(m_main->windowHandle(), Qt::Key_Right);
        for (int tick = 0; tick < 4; ++tick)
            QVERIFY(fire(timer()));
        QCOMPARE(board("lblScoreBrd"), QStringLiteral("1"));
        QCOMPARE(board("lblHiScoreBrd"), QStringLiteral("1"));
        for (int tick = 0; tick < 17; ++tick)
            QVERIFY(fire(timer()));
        QVERIFY(control("imgMiss", 0)->isVisible() && control("imgMiss", 1)->isVisible());
        QVERIFY(!Forms::find<frmGameOver>());
        QVERIFY(fire(timer()));
        QVERIFY(Forms::find<frmGameOver>() && Forms::find<frmGameOver>()->isVisible());
        QVERIFY(!timer()->isActive());
    }

    // An open menu or message box holds the round: ticks only set the flag, and when it closes,
    // whether a command was chosen or not, the drop moves on by one step.
    void roundHeld_data()
    {
        QTest::addColumn<QString>("by");
        QTest::newRow("message box") << "box";
        QTest::newRow("File menu, Alt+F") << "file";
        QTest::newRow("Help menu, mouse") << "help";
    }
    void roundHeld()
    {
        QFETCH(QString, by);
        startRound(0.0f);
        const auto ticks = [this] {
            for (int i = 0; i < 5; ++i)
                fire(timer());
            QCOMPARE(m_main->playfield().stepOfTopRound(), 0);
        };
        if (by == "box") {
            m_fx->rt.messageBox.whileOpen = ticks;
            rt::msgBox(QStringLiteral("?"), rt::vbOKOnly);
            QCoreApplication::sendPostedEvents();
        } else {
            if (by == "file") {
                QTest::keyClick(m_main->windowHandle(), Qt::Key_F, Qt::AltModifier);
            } else {
                auto *bar = m_main->findChild<QMenuBar *>();
                QTest::mousePress(bar, Qt::LeftButton, {},
                                  bar->actionGeometry(bar->actions().at(1)).center());
            }
            QVERIFY(QApplication::activePopupWidget());
            ticks();
            escapePopup();
        }
        QCOMPARE(m_main->playfield().stepOfTopRound(), 1);
        QVERIFY(!control("imgUran", 0)->isVisible() && control("imgUran", 1)->isVisible());
    }

    // Start chosen from the open menu during a round plays a fresh round at once.
    void startFromTheMenuDuringARound()
    {
        startRound(0.0f);
        QTest::keyClick(m_main->windowHandle(), Qt::Key_F, Qt::AltModifier);
        m_fx->rt.random.values = {0.9f};
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_S);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_main->playfield().roundsRunning(), 2);
        QVERIFY(control("imgUran", 8)->isVisible());
        QVERIFY(fire(timer()));
        QCOMPARE(m_main->playfield().stepOfTopRound(), 1);
    }

    // The title-bar close unloads the playfield and ends the round with it.
    void closingThePlayfieldEndsTheRound()
    {
        startRound(0.0f);
        m_main->close();
        QVERIFY(!Forms::find<frmMain>());
        QVERIFY(!timer()->isActive());
        QCOMPARE(m_fx->lastWindowGone, 1);
        QCoreApplication::sendPostedEvents();
        QVERIFY(!Forms::find<frmGameOver>());
    }

    // START! loads the playfield before the title goes; Escape leaves the title alone, and
    // closing it ends the game.
    void titleWindow()
    {
        frmOpening *form = Forms::show<frmOpening>();
        Forms::unload(m_main);
        activate(form);
        QTest::keyClick(form->windowHandle(), Qt::Key_Escape);
        QCOMPARE(Forms::find<frmOpening>(), form);
        QTest::keyClick(form->windowHandle(), Qt::Key_Space); // START! holds the focus
        QVERIFY(!Forms::find<frmOpening>());
        QVERIFY(Forms::find<frmMain>()->isVisible());
        QCOMPARE(Forms::loadedCount(), 1);
        Forms::show<frmOpening>();
        Forms::unload(Forms::find<frmMain>());
        QCOMPARE(m_fx->lastWindowGone, 0);
        Forms::find<frmOpening>()->close();
        QCOMPARE(m_fx->lastWindowGone, 1);
    }

    // Chosen twice, the version command leaves one window; unloaded and shown again, it is
    // filled in anew.
    void versionWindowOpensOnce()
    {
        m_main->mnuVer()->trigger();
        frmAbout *about = Forms::find<frmAbout>();
        QCOMPARE(about->focusWidget(), about->controls().button("cmdOK"));
        m_main->mnuVer()->trigger();
        QCOMPARE(Forms::find<frmAbout>(), about);
        QCOMPARE(Forms::loadedCount(), 2);
        QTest::mouseClick(about->controls().button("cmdOK"), Qt::LeftButton);
        QVERIFY(!Forms::find<frmAbout>());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_main->mnuVer()->trigger();
        QCOMPARE(Forms::find<frmAbout>()->controls().label("lblVersion")->text(),
                 QStringLiteral("ﾊﾞｰｼﾞｮﾝ 0.0.2"));
    }

    // Escape closes the version window whatever has the focus; Enter presses the focused button.
    void versionWindowKeys_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Escape on OK") << "cmdOK" << int(Qt::Key_Escape) << true;
        QTest::newRow("Escape on system information")
            << "cmdSysInfo" << int(Qt::Key_Escape) << true;
        QTest::newRow("Enter on OK") << "cmdOK" << int(Qt::Key_Return) << true;
        QTest::newRow("Enter on system information")
            << "cmdSysInfo" << int(Qt::Key_Return) << false;
    }
    void versionWindowKeys()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, closes);
        struct : platform::Launcher {
            int started = 0;
            void start(const std::string &) override { ++started; }
        } launcher;
        platform::setLauncher(&launcher);
        frmAbout *about = Forms::show<frmAbout>();
        activate(about);
        if (focus == "cmdSysInfo") QTest::keyClick(about->windowHandle(), Qt::Key_Tab);
        QCOMPARE(about->focusWidget()->objectName(), focus);
        QTest::keyClick(about->windowHandle(), Qt::Key(key));
        platform::setLauncher(nullptr);
        QCOMPARE(!Forms::find<frmAbout>(), closes);
        // The system-information button starts the tool or says it is unavailable.
        QCOMPARE(m_fx->rt.messageBox.shown + launcher.started, closes ? 0 : 1);
    }

    // No during a round: the round goes on, one step for all the ticks meanwhile. Yes: the
    // playfield goes with its rounds; an open game-over window keeps the game until its OK.
    void quit_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("gameOverOpen");
        QTest::newRow("No during a round") << int(rt::vbNo) << false;
        QTest::newRow("Yes during a round") << int(rt::vbYes) << false;
        QTest::newRow("Yes with the game-over window open") << int(rt::vbYes) << true;
    }
    void quit()
    {
        QFETCH(int, answer);
        QFETCH(bool, gameOverOpen);
        startRound(0.0f);
        m_main->mnuStart()->trigger(); // a nested round too
        if (gameOverOpen) Forms::show<frmGameOver>();
        QPointer<QTimer> stepTimer = timer();
        m_fx->rt.messageBox.answer = answer;
        m_fx->rt.messageBox.whileOpen = [&] {
            for (int i = 0; i < 8; ++i)
                fire(stepTimer);
        };
        m_main->mnuEnd()->trigger();
        QCOMPARE(m_fx->rt.messageBox.lastText, QStringLiteral("終了しますか？"));
        QCOMPARE(m_fx->rt.messageBox.lastStyle, 0x34);
        QCOMPARE(m_fx->rt.messageBox.lastTitle, Title);
        QCoreApplication::sendPostedEvents();
        if (answer == rt::vbNo) {
            QCOMPARE(m_main->playfield().stepOfTopRound(), 1);
            QCOMPARE(m_main->playfield().roundsRunning(), 2);
            return;
        }
        QVERIFY(!Forms::find<frmMain>());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(stepTimer.isNull());
        QCOMPARE(m_fx->lastWindowGone, gameOverOpen ? 0 : 1);
        if (gameOverOpen)
            QTest::mouseClick(Forms::find<frmGameOver>()->controls().button("cmdOKButton"),
                              Qt::LeftButton);
        QCOMPARE(m_fx->lastWindowGone, 1);
    }

    // Load reseeds and starts the 20 ms timer; each tick draws one value and gives its colour to
    // the window and its three labels. Texts, the red title and the OK button keep their colours.
    void gameOverFlashes()
    {
        frmGameOver *form = Forms::show<frmGameOver>();
        QTimer *flash = form->controls().timer("tmrTimer1");
        QVERIFY(flash->isActive());
        QCOMPARE(flash->interval(), 20);
        QCOMPARE(m_fx->rt.random.randomizeCount, 1);
        const QList<QWidget *> flashing = {form->client(), form->controls().label("lblGameOver"),
                                           form->controls().label("lblTitle"),
                                           form->controls().label("lblTryAgain")};
        const auto background = [](QWidget *w) { return w->palette().color(QPalette::Window); };
        for (QWidget *w : flashing)
            QCOMPARE(background(w), QApplication::palette().color(QPalette::Window));
        QPushButton *ok = form->controls().button("cmdOKButton");
        const QPalette okColours = ok->palette();
        m_fx->rt.random.values = {0.5f, 0.25f};
        for (const QColor expected : {QColor(0, 0, 128), QColor(0, 0, 64)}) { // 0x00BBGGRR
            QVERIFY(fire(flash));
            for (QWidget *w : flashing)
                QCOMPARE(background(w), expected);
        }
        QCOMPARE(m_fx->rt.random.nextCount, 2);
        QCOMPARE(form->controls().label("lblTitle")->palette().color(QPalette::WindowText),
                 QColor(255, 0, 0));
        QCOMPARE(ok->palette(), okColours);
        // Another third miss only shows the open window again: no reload, no reseed.
        QCOMPARE(Forms::show<frmGameOver>(), form);
        QCOMPARE(m_fx->rt.random.randomizeCount, 1);
        QCOMPARE(background(form->client()), QColor(0, 0, 64));
    }

    void flashColour_data()
    {
        QTest::addColumn<float>("r");
        QTest::addColumn<uint>("color");
        QTest::newRow("0") << 0.0f << 0u;
        QTest::newRow("smallest step") << std::ldexp(1.0f, -24) << 1u;
        QTest::newRow("largest below 1") << std::nextafter(1.0f, 0.0f) << 0xFFFFFFu;
    }
    void flashColour()
    {
        QFETCH(float, r);
        QFETCH(uint, color);
        QCOMPARE(uint(frmGameOver::flashColor(r)), color);
    }

    // OK (or the title-bar close) stops the timer before the window goes; shown again, it
    // reloads with the design colours and a fresh seed.
    void gameOverCloses_data()
    {
        QTest::addColumn<bool>("titleBar");
        QTest::newRow("OK button") << false;
        QTest::newRow("title-bar close") << true;
    }
    void gameOverCloses()
    {
        QFETCH(bool, titleBar);
        frmGameOver *form = Forms::show<frmGameOver>();
        QVERIFY(fire(form->controls().timer("tmrTimer1")));
        QPointer<QTimer> flash = form->controls().timer("tmrTimer1");
        if (titleBar)
            form->close();
        else
            QTest::mouseClick(form->controls().button("cmdOKButton"), Qt::LeftButton);
        QVERIFY(!flash->isActive());
        QVERIFY(!Forms::find<frmGameOver>());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(flash.isNull());
        frmGameOver *again = Forms::show<frmGameOver>();
        QCOMPARE(m_fx->rt.random.randomizeCount, 2);
        QVERIFY(again->controls().timer("tmrTimer1")->isActive());
        QCOMPARE(again->client()->palette().color(QPalette::Window),
                 QApplication::palette().color(QPalette::Window));
    }
};

QTEST_MAIN(tst_windows)
#include "tst_windows.moc"
