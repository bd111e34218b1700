// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "FakePlatform.h"
#include "Windows.h"
#include "shell/Application.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <array>
#include <cmath>
#include <random>

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
    return o->property("text").toString();
}

constexpr auto Unheard = QAccessible::UserRole; // not checked; NoRole: left out as decoration

// Where a slip in a window's table shows without a click: each window (client size, caption,
// icon, frame or dialog; a row without a control), the separator's two lines, the fonts, and
// what a screen reader hears; and the controls no flow clicks or reads. Pixels at 96 dpi.
struct Placed {
    const char *window, *name;
    int index;
    QRect rect;
    bool shown;
    QString text = {}, font = {};
    QAccessible::Role role = Unheard;
    QString heard = {}, label = {}; // a dialog's text: labelled by (tied to) the dialog
    QString description = {};
};
const QString G12 = QStringLiteral("ＭＳ Ｐゴシック 12");
const QString About = Title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報");
// clang-format off
const Placed Layout[] = {
    {"frmMain", nullptr, -1, {0, 0, 312, 213}, true, Title, {}, QAccessible::Window, Title},
    {"frmMain", "lblHiScoreBrd", -1, {200, 72, 81, 17}, true, "0", G12, QAccessible::StaticText, "0", "HI-SCORE"},
    {"frmMain", "lblScoreBrd", -1, {200, 32, 81, 17}, true, "0", G12, QAccessible::StaticText, "0", "SCORE"},
    {"frmMain", "imgMiss", 1, {232, 136, 32, 32}, false, {}, {}, QAccessible::Graphic, "2つ目のミス"},
    {"frmMain", "imgMiss", 0, {200, 136, 32, 32}, false},
    {"frmMain", "lblMiss", -1, {200, 112, 65, 17}, true, "MISS", G12},
    {"frmMain", "imgBakets", 0, {24, 168, 32, 32}, false, {}, {}, QAccessible::Graphic, "左のバケツ"},
    {"frmMain", "imgUran", 6, {72, 96, 32, 32}, false, {}, {}, QAccessible::Graphic, "真ん中の列 3段目のしずく"},
    {"frmOpening", nullptr, -1, {0, 0, 402, 213}, true, Title},
    {"frmOpening", "lblCopyRight", -1, {48, 128, 289, 25}, true, "(C) 2026 The Luminaku developers", "ＭＳ Ｐゴシック 19"},
    {"frmOpening", "lblSubTitle", -1, {48, 80, 289, 25}, true, "ホロワ村放射能汚染事故ゲーム", "ＭＳ Ｐゴシック 21 bold"},
    {"frmOpening", "lblTitle", -1, {88, 16, 201, 49}, true, "～ルミナク～", "ＭＳ Ｐ明朝 48 bold"},
    {"frmGameOver", nullptr, -1, {0, 0, 402, 213}, false, Title, {}, QAccessible::Dialog, Title, {}, "ルミナク事故発生!! GAME OVER Try Again!"},
    {"frmGameOver", "lblTitle", -1, {40, 8, 337, 49}, true, "ルミナク事故発生!!", "ＭＳ Ｐ明朝 48 bold", QAccessible::StaticText, "ルミナク事故発生!!", Title},
    {"frmGameOver", "lblGameOver", -1, {120, 72, 161, 25}, true, "GAME OVER", "ＭＳ Ｐゴシック 27 bold", QAccessible::StaticText, "GAME OVER", Title},
    {"frmGameOver", "lblTryAgain", -1, {160, 120, 81, 25}, true, "Try Again!", "ＭＳ Ｐゴシック 19", QAccessible::StaticText, "Try Again!", Title},
    {"frmAbout", nullptr, -1, {0, 0, 382, 237}, false, About, {}, QAccessible::Dialog, About, {}, "ﾊﾞｰｼﾞｮﾝ 0.0.2 (C) 2026 The Luminaku developers. A small arcade game: catch the falling drops in the bin before three of them get past."},
    {"frmAbout", "picIcon", -1, {16, 16, 36, 36}, true},
    {"frmAbout", "cmdOK", -1, {283, 175, 92, 23}, true, "OK"},
    {"frmAbout", "cmdSysInfo", -1, {284, 205, 92, 23}, true, "ｼｽﾃﾑ情報(&S)..."},
    {"frmAbout", "Line1", 1, {6, 163, 371, 1}, true}, // both lines end at x 376
    {"frmAbout", "Line1", 0, {7, 164, 370, 2}, true, {}, {}, QAccessible::NoRole},
    {"frmAbout", "lblDescription", -1, {70, 75, 259, 78}, true, "(C) 2026 The Luminaku developers. A small arcade game: catch the falling drops in the bin before three of them get past.", G12, QAccessible::StaticText, "(C) 2026 The Luminaku developers. A small arcade game: catch the falling drops in the bin before three of them get past.", About},
    {"frmAbout", "lblTitle", -1, {70, 16, 259, 32}, true, Title, "ＭＳ Ｐゴシック 13", QAccessible::StaticText, Title, About},
    {"frmAbout", "lblVersion", -1, {70, 52, 259, 15}, true, "ﾊﾞｰｼﾞｮﾝ 0.0.2", G12, QAccessible::StaticText, "ﾊﾞｰｼﾞｮﾝ 0.0.2", About},
    {"frmAbout", "lblDisclaimer", -1, {17, 175, 258, 55}, true, "", G12, QAccessible::NoRole},
};
// clang-format on

// A finger's step on the playfield (client pixels; y < 0 is the menu bar) and the bin after it:
// 'p'ressed, 'm'oved, 'r'eleased, all 'c'ancelled, or a 's'ystem's click made of the touch.
struct Touch {
    int finger;
    char what;
    QPoint at;
    int bin;
};

} // namespace

Q_DECLARE_METATYPE(Placed)
Q_DECLARE_METATYPE(Touch)

// The four windows through real widgets and real events, offscreen.
class tst_windows : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<WindowsFixture> m_fx;
    frmMain *m_main = nullptr;
    int m_paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        m_paints += event->type() == QEvent::Paint;
        return false;
    }

    QWidget *control(const char *name, int index = -1) const
    {
        return m_main->controls().widget(name, index);
    }
    QTimer *timer() const { return m_main->controls().timer("tmrTimer1"); }
    int step() const { return m_main->playfield().stepOfTopRound(); }
    int shownBin() const
    {
        int shown = -1;
        for (int j = 0; j < 3; ++j)
            if (control("imgBakets", j)->isVisible()) shown = shown == -1 ? j : 99;
        return shown;
    }
    static QPointingDevice *touchScreen()
    {
        static QPointingDevice *const screen = QTest::createTouchDevice();
        return screen;
    }
    void startRound(float lane)
    {
        m_fx->rt.random.values = {lane};
        m_main->mnuStart()->trigger();
        QCoreApplication::sendPostedEvents();
    }

private slots:
    void initTestCase() { Application::registerFontSubstitutions(); }
    void init()
    {
        m_fx = std::make_unique<WindowsFixture>();
        m_main = Forms::show<frmMain>();
        QApplication::setActiveWindow(m_main);
    }
    void cleanup() { m_fx.reset(); }

    // Frames and dialogs are heard by title, pictures by column, row and mark, the boards
    // labelled by their captions.
    void layout_data()
    {
        QTest::addColumn<Placed>("c");
        for (const Placed &c : Layout)
            QTest::addRow("%s %s(%d)", c.window, c.name ? c.name : "", c.index) << c;
    }
    void layout()
    {
        QFETCH(Placed, c);
        Form *form = window(c.window);
        QWidget *w = c.name ? form->controls().widget(c.name, c.index) : form;
        if (!c.name) {
            QCOMPARE(QRect(QPoint(), form->client()->size()), c.rect);
            QCOMPARE(form->minimumSize(), form->maximumSize()); // not resizable
            QCOMPARE(form->windowTitle(), c.text);
            QCOMPARE(!form->windowIcon().isNull(), c.shown);
            // Dialogs to the window system too, owned by the playfield's window.
            const bool dialog = c.role == QAccessible::Dialog;
            QCOMPARE(form->windowType(), dialog ? Qt::Dialog : Qt::Window);
            QCOMPARE(form->windowHandle()->transientParent(),
                     dialog ? m_main->windowHandle() : nullptr);
        } else {
            QCOMPARE(w->geometry(), c.rect);
            QCOMPARE(w->isVisible(), c.shown);
            QCOMPARE(textOf(w), c.text);
            const QFont f = w->font();
            if (!c.font.isEmpty())
                QCOMPARE(f.family() + ' ' + w->property("designPixelSize").toString() +
                             (f.bold() ? " bold" : ""),
                         c.font);
        }
        if (c.role == Unheard) return;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w), *up = a->parent();
        const bool reachable = up->indexOfChild(a) >= 0;
        QCOMPARE(reachable, !c.heard.isEmpty());
        const auto labels = a->relations(QAccessible::Label | QAccessible::Labelled);
        if (reachable)
            QCOMPARE(QStringList({QString::number(a->role()), a->text(QAccessible::Name),
                                  labels.isEmpty() ? "" : labels[0].first->text(QAccessible::Name),
                                  a->text(QAccessible::Description)}),
                     QStringList({QString::number(c.role), c.heard, c.label, c.description}));
    }

    // An auto-repeated release is no release (Wayland's held key); presses over shown pictures
    // and labels are theirs; a double click's second press, a double-click event, is a press.
    void keysAndButtonsMoveTheBin()
    {
        QWindow *w = m_main->windowHandle();
        QTest::keyPress(w, Qt::Key_Left);
        QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(m_main, &repeatRelease);
        QCOMPARE(shownBin(), 0);
        const struct {
            QPoint at;
            Qt::MouseButton button;
            int lane;
            bool second = false;
        } presses[] = {{{150, 10}, Qt::RightButton, 2},       // the bare window
                       {{150, 10}, Qt::RightButton, 2, true}, // double click
                       {{40, 48}, Qt::LeftButton, 0},         // a hidden drop
                       {{88, 184}, Qt::LeftButton, 1},        // the shown bin
                       {{220, 14}, Qt::RightButton, 1}};      // a label
        for (const auto &p : presses) {
            const QPoint at = m_main->client()->mapTo(m_main, p.at);
            if (p.second) { // the first click just before
                QTest::mouseClick(w, p.button, {}, at);
                QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
            }
            QTest::mousePress(w, p.button, {}, at);
            QCOMPARE(shownBin(), p.lane);
            QTest::mouseRelease(w, p.button, {}, m_main->client()->mapTo(m_main, QPoint(150, 99)));
            QCOMPARE(shownBin(), 1);
        }
    }

    // A finger names the column nearest it (and the right one over the boards, a label that would
    // keep it), the bin slides with it and comes back when it lifts or the touch is cancelled; the
    // last finger down counts; a touch is no left button; a tap on the menu bar opens its menu.
    void fingersMoveTheBin_data()
    {
        QTest::addColumn<QList<Touch>>("touches");
        QTest::newRow("left, lifted") << QList<Touch>{{1, 'p', {40, 60}, 0}, {1, 'r', {40, 60}, 1}};
        QTest::newRow("boards") << QList<Touch>{{1, 'p', {240, 40}, 2}, {1, 'r', {240, 40}, 1}};
        QTest::newRow("slide") << QList<Touch>{{1, 'p', {40, 184}, 0},
                                               {1, 'm', {70, 120}, 1},
                                               {1, 'm', {150, 120}, 2},
                                               {1, 'r', {150, 9}, 1}};
        QTest::newRow("cancel") << QList<Touch>{{1, 'p', {136, 60}, 2}, {1, 'c', {}, 1}};
        QTest::newRow("two fingers") << QList<Touch>{{1, 'p', {40, 60}, 0},
                                                     {2, 'p', {136, 60}, 2},
                                                     {1, 'm', {40, 90}, 2},
                                                     {1, 'r', {40, 90}, 2},
                                                     {2, 'r', {136, 60}, 1}};
        QTest::newRow("system's click")
            << QList<Touch>{{1, 'p', {136, 60}, 2}, {1, 's', {136, 60}, 2}};
        QTest::newRow("menu bar") << QList<Touch>{{1, 'p', {20, -9}, 1}, {1, 'r', {20, -9}, 1}};
    }
    void fingersMoveTheBin()
    {
        QFETCH(QList<Touch>, touches);
        QPointingDevice *screen = touchScreen();
        QWindow *w = m_main->windowHandle();
        for (const Touch &t : touches) {
            const QPoint at = m_main->client()->mapTo(m_main, t.at);
            QTouchEvent cancel(QEvent::TouchCancel, screen);
            QMouseEvent click(QEvent::MouseButtonPress, t.at, m_main->mapToGlobal(at),
                              Qt::LeftButton, Qt::LeftButton, {}, screen);
            if (t.what == 'p') QTest::touchEvent(w, screen).press(t.finger, at, w);
            if (t.what == 'm') QTest::touchEvent(w, screen).move(t.finger, at, w);
            if (t.what == 'r') QTest::touchEvent(w, screen).release(t.finger, at, w);
            if (t.what == 'c') QCoreApplication::sendEvent(w, &cancel);
            if (t.what == 's') QCoreApplication::sendEvent(m_main->client(), &click);
            QCOMPARE(shownBin(), t.bin);
        }
        QCOMPARE(QApplication::activePopupWidget() != nullptr, touches[0].at.y() < 0);
    }

    // The bin the player moves is painted before the event returns, frame limit or not.
    void theMovedBinIsPaintedAtOnce()
    {
        startRound(0.0f);
        for (const bool press : {true, false}) {
            QCoreApplication::processEvents(); // the last change painted, or held for its frame
            fire(timer());                     // the next step, its repaint likely held
            m_paints = 0;
            control("imgBakets", press ? 0 : 1)->installEventFilter(this);
            QTest::keyEvent(press ? QTest::Press : QTest::Release, m_main->windowHandle(),
                            Qt::Key_Left);
            QCOMPARE(m_paints, 1);
        }
        QTest::mousePress(m_main->windowHandle(), Qt::LeftButton, {},
                          m_main->client()->mapTo(m_main, QPoint(150, 10)));
        QCOMPARE(m_paints, 2);
        fire(timer()); // the drop reaches the bin held under it
        fire(timer());
        QCOMPARE(textOf(control("lblScoreBrd")) + textOf(control("lblHiScoreBrd")), "11");
    }

    // An open menu, the menu bar's keyboard mode or a message box holds the round: one step when
    // it lets go, however many ticks came, and the arrows move the bin again at once. Start
    // chosen from the menu plays a fresh round at once.
    void roundHeld_data()
    {
        QTest::addColumn<QString>("by");
        for (const char *by : {"message box", "Alt tapped", "Alt tapped, a click",
                               "Alt tapped, a finger", "Alt tapped, another window",
                               "File menu, Alt+F", "File menu, F10", "Help menu, mouse", "Start"})
            QTest::newRow(by) << QString::fromLatin1(by);
    }
    void roundHeld()
    {
        QFETCH(QString, by);
        startRound(0.0f);
        const auto ticks = [this] {
            for (int i = 0; i < 5; ++i)
                fire(timer());
            QCOMPARE(step(), 0);
        };
        QWindow *w = m_main->windowHandle();
        auto *bar = m_main->findChild<QMenuBar *>();
        QCoreApplication::processEvents(); // shown and active, as the player finds it
        if (by == "message box") {
            m_fx->rt.messageBox.whileOpen = ticks;
            rt::msgBox(QStringLiteral("?"), rt::vbOKOnly);
        } else if (by.startsWith("Help")) {
            QTest::mousePress(bar, Qt::LeftButton, {},
                              bar->actionGeometry(bar->actions()[1]).center());
        } else if (by.startsWith("Alt")) {
            QTest::keyClick(w, Qt::Key_Alt);
        } else if (by.endsWith("F10")) {
            QTest::keyClick(w, Qt::Key_F10);
        } else {
            QTest::keyClick(w, Qt::Key_F, Qt::AltModifier);
        }
        if (QWidget *menu = QApplication::activePopupWidget()) {
            ticks();
            m_fx->rt.random.values = {0.9f};
            QTest::keyClick(menu, by == "Start" ? Qt::Key_S : Qt::Key_Escape);
        }
        if (by != "message box" && by != "Start") { // the menu bar keeps the keyboard
            ticks();
            if (by.endsWith("click")) {
                QTest::mousePress(w, Qt::LeftButton, {},
                                  m_main->client()->mapTo(m_main, QPoint(150, 99)));
            } else if (by.endsWith("finger")) {
                QTest::touchEvent(w, touchScreen())
                    .press(1, m_main->client()->mapTo(m_main, QPoint(88, 99)), w);
                QTest::touchEvent(w, touchScreen()).release(1, {}, w);
            } else if (by.endsWith("window")) { // and back: the playfield has the keys again
                QWidget other;
                other.show();
                QApplication::setActiveWindow(&other);
                QApplication::setActiveWindow(m_main);
            } else {
                QTest::keyClick(w, Qt::Key_Escape);
            }
        }
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_main->playfield().roundsRunning(), by == "Start" ? 2 : 1);
        if (by == "Start") {
            QVERIFY(control("imgUran", 8)->isVisible());
            QVERIFY(fire(timer()));
        }
        QCOMPARE(step(), 1);
        QTest::keyPress(w, Qt::Key_Right);
        QCOMPARE(shownBin(), 2);
    }

    // One version window, OK focused; Escape closes it, Enter presses the focused button.
    void versionWindow_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Escape on system information") << 1 << int(Qt::Key_Escape) << true;
        QTest::newRow("Enter on OK") << 0 << int(Qt::Key_Return) << true;
        QTest::newRow("Enter on system information") << 1 << int(Qt::Key_Return) << false;
    }
    void versionWindow()
    {
        QFETCH(int, tabs);
        QFETCH(int, key);
        QFETCH(bool, closes);
        FakePlatform platform; // no tool here: the button's message
        m_main->mnuVer()->trigger();
        m_main->mnuVer()->trigger();
        frmAbout *about = Forms::find<frmAbout>();
        QCOMPARE(Forms::loadedCount(), 2);
        QApplication::setActiveWindow(about);
        if (tabs) QTest::keyClick(about->windowHandle(), Qt::Key_Tab);
        QTest::keyClick(about->windowHandle(), Qt::Key(key));
        QCOMPARE(!Forms::find<frmAbout>(), closes);
        QCOMPARE(m_fx->rt.messageBox.shown, closes ? 0 : 1);
    }

    // Yes or the title-bar close: the playfield goes with its rounds; an open game-over window
    // keeps the game until its OK. (No is the quit flow's; Yes alone the destroy flow's.)
    void quit_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("gameOverOpen");
        QTest::newRow("Yes with the game-over window open") << int(rt::vbYes) << true;
        QTest::newRow("title-bar close") << 0 << false;
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
        if (answer) {
            m_main->mnuEnd()->trigger();
            QCOMPARE(m_fx->rt.messageBox.lastText, QStringLiteral("終了しますか？"));
            QCOMPARE(m_fx->rt.messageBox.lastStyle, 0x34);
        } else {
            m_main->close();
        }
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(stepTimer.isNull());
        QCOMPARE(m_fx->lastWindowGone, gameOverOpen ? 0 : 1);
        if (gameOverOpen) { // it flashes on, its owner gone
            frmGameOver *over = Forms::find<frmGameOver>();
            QVERIFY(over->isVisible() && over->controls().timer("tmrTimer1")->isActive());
            QVERIFY(!over->windowHandle()->transientParent());
            over->controls().button("cmdOKButton")->click();
        }
        QCOMPARE(m_fx->lastWindowGone, 1);
    }

    // A window unloaded from under its message box (as when another program destroys it): the
    // real box gives its close-button answer and is never freed with the window, and the window
    // outlives the box's exec(), even when the box's loop deletes what is due.
    void windowGoesFromUnderItsBox_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("answer");
        QTest::newRow("quit question over the playfield") << "frmMain" << 0x34 << int(rt::vbNo);
        QTest::newRow("notice over the version window") << "frmAbout" << 0 << int(rt::vbOK);
    }
    void windowGoesFromUnderItsBox()
    {
        QFETCH(QString, name);
        QFETCH(int, style);
        QFETCH(int, answer);
        const QPointer<Form> form = window(name);
        QApplication::setActiveWindow(form);
        rt::setMessageBox(nullptr); // the real one, with its own loop, till the next init()
        bool leftOpen = false;
        QMetaObject::invokeMethod(
            qApp,
            [form, &leftOpen] {
                Forms::unload(form);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                if (QWidget *box = QApplication::activeModalWidget()) leftOpen = box->close();
            },
            Qt::QueuedConnection);
        QCOMPARE(rt::msgBox(QStringLiteral("?"), style), answer);
        QVERIFY(!leftOpen && form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form);
    }

    // Each 20 ms tick gives one drawn colour to the window and its labels, not to the OK button;
    // closed and shown again, the window comes back with its design colours and a fresh seed.
    // Calm: two intervals span a second (late ticks may bunch), so it holds three ticks at most.
    void gameOver_data()
    {
        QTest::addColumn<bool>("calm");
        QTest::newRow("flashing") << false;
        QTest::newRow("calm") << true;
    }
    void gameOver()
    {
        QFETCH(bool, calm);
        frmGameOver::setCalm(calm);
        const auto flashAgain = qScopeGuard([] { frmGameOver::setCalm(false); });
        frmGameOver *form = Forms::show<frmGameOver>();
        QPointer<QTimer> flash = form->controls().timer("tmrTimer1");
        QVERIFY(calm ? 2 * flash->interval() >= 1000 : flash->interval() == 20);
        QCOMPARE(m_fx->rt.random.randomizeCount, 1);
        const QList<QWidget *> flashing = {form->client(), form->controls().label("lblGameOver"),
                                           form->controls().label("lblTitle"),
                                           form->controls().label("lblTryAgain")};
        const auto background = [](QWidget *w) { return w->palette().color(QPalette::Window); };
        const QColor face = QApplication::palette().color(QPalette::Window);
        for (QWidget *w : flashing)
            QCOMPARE(background(w), face);
        QPushButton *ok = form->controls().button("cmdOKButton");
        const QPalette okColours = ok->palette();
        m_fx->rt.random.values = {0.75f, std::nextafter(1.0f, 0.0f)};
        for (const QColor expected : {QColor(0, 0, 192), QColor(Qt::white)}) { // 0x00BBGGRR
            QVERIFY(fire(flash));
            for (QWidget *w : flashing)
                QCOMPARE(background(w), expected);
        }
        QCOMPARE(flashing[2]->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(ok->palette(), okColours);
        // Another game over only shows the open window: no reload, no reseed.
        QCOMPARE(Forms::show<frmGameOver>(), form);
        QCOMPARE(m_fx->rt.random.randomizeCount, 1);
        form->close(); // the title-bar close acts as OK, whose button the quit test presses
        QVERIFY(!flash->isActive()); // however the window goes, its flashing stops first
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(flash.isNull());
        frmGameOver *again = Forms::show<frmGameOver>();
        QCOMPARE(m_fx->rt.random.randomizeCount, 2);
        QVERIFY(again->controls().timer("tmrTimer1")->isActive());
        QCOMPARE(background(again->client()), face);
    }

    // The game over is heard with the score boards as they stand when it opens: 1 after a catch.
    void gameOverHeardWithTheScore()
    {
        startRound(0.5f); // the first drop down the middle, caught; every other one missed
        for (int tick = 0; tick < 100 && !Forms::find<frmGameOver>(); ++tick)
            fire(timer());
        const auto board = [this](const char *caption) {
            return textOf(control(caption)) + ' ' + textOf(control(QByteArray(caption) + "Brd"));
        };
        QVERIFY(QAccessible::queryAccessibleInterface(Forms::find<frmGameOver>())
                    ->text(QAccessible::Description)
                    .endsWith(" " + board("lblScore") + ' ' + board("lblHiScore")));
        QCOMPARE(textOf(control("lblScoreBrd")), "1");
    }

    // Random input, ticks and round starts, the playfield's invariants checked after each event.
    // MONKEY_SEED replays a failing run.
    void invariantsHoldUnderRandomInput()
    {
        // The offscreen platform complains each time a fixed-size window is shown.
        const auto quiet =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        const auto loud = qScopeGuard([quiet] { qInstallMessageHandler(quiet); });
        const unsigned seed = qEnvironmentVariableIsSet("MONKEY_SEED")
                                  ? unsigned(qEnvironmentVariableIntValue("MONKEY_SEED"))
                                  : std::random_device{}();
        qInfo("MONKEY_SEED=%u", seed);
        std::mt19937 rng(seed);
        const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
        const Playfield &play = m_main->playfield();
        int period = timer()->interval();
        for (int i = 0; i < 200000; ++i) {
            while (m_fx->rt.random.values.size() < 4)
                m_fx->rt.random.values.push_back(float(rng() >> 8) / 16777216.0f);
            const int roundsBefore = play.roundsRunning();
            const int roll = pick(100);
            const QPoint where = m_main->client()->mapTo(m_main, QPoint(pick(312), pick(213)));
            const auto button =
                std::array{Qt::LeftButton, Qt::RightButton, Qt::BackButton}[pick(3)];
            const auto key = std::array{Qt::Key_Left, Qt::Key_Right, Qt::Key_Space}[pick(3)];
            if (roll < 10)
                QTest::keyEvent(roll < 5 ? QTest::Press : QTest::Release, m_main, key);
            else if (roll < 20)
                QTest::mouseEvent(roll < 15 ? QTest::MousePress : QTest::MouseRelease,
                                  m_main->windowHandle(), button, {}, where);
            else if (roll < 85)
                fire(timer());
            else if (roll < 88)
                m_main->mnuStart()->trigger();
            else if (auto *over = Forms::find<frmGameOver>(); over && roll < 90)
                over->cmdOKButton_Click();
            else if (over)
                fire(over->controls().timer("tmrTimer1"));
            QCoreApplication::sendPostedEvents();
            const QByteArray at = QStringLiteral("seed %1, event %2").arg(seed).arg(i).toLatin1();
            const bool started = play.roundsRunning() > roundsBefore;
            QVERIFY2(play.BucketLane >= 0 && play.BucketLane <= 2 && shownBin() != -1, at);
            int drops = 0;
            for (int j = 0; j < 12; ++j)
                drops += control("imgUran", j)->isVisible();
            QVERIFY2(drops <= play.roundsRunning(), at);
            for (const Playfield::Round &r : play.rounds())
                QVERIFY2(r.MissCount >= 0 && r.MissCount < 3, at);
            const int now = timer()->interval();
            QVERIFY2(now >= 1 && (started ? now == 500 : now <= period), at);
            period = now;
        }
    }

    // Last, as nothing runs after it: a run-time error (Int() overflowing) stops where Qt called
    // the handler; its message once, status 1, and no handler after it.
    void errorInAHandlerEndsTheGame()
    {
        m_fx->rt.random.values = {20000.0f};
        m_fx->rt.messageBox.whileOpen = [this] { m_main->mnuVer()->trigger(); };
        QString told; // what the page around the browser build hears
        rt::setOnFailure([&told](const QString &message) { told = message; });
        bool unwound = false;
        QTimer::singleShot(0, m_main, [&] {
            try {
                m_main->mnuStart()->trigger();
            } catch (...) {
                unwound = true;
                QCoreApplication::exit(2);
            }
        });
        QCOMPARE(QCoreApplication::exec(), 1);
        QVERIFY(!unwound);
        QCOMPARE(m_fx->rt.messageBox.shown, 1);
        QCOMPARE(m_fx->rt.messageBox.lastStyle & 0x70, int(rt::vbCritical));
        QVERIFY(m_fx->rt.messageBox.lastText.startsWith(QStringLiteral("実行時エラー '6'")));
        QCOMPARE(told, m_fx->rt.messageBox.lastText);
        QVERIFY(!Forms::find<frmAbout>());
    }
};

QTEST_MAIN(tst_windows)
#include "tst_windows.moc"
