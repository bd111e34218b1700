// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "frmMain.h"

#include "shell/Accessible.h"
#include "shell/Forms.h"
#include "shell/FrameLimiter.h"
#include "shell/Runtime.h"
#include "windows/frmAbout.h"
#include "windows/frmGameOver.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <QTouchEvent>
#include <QWindow>

#include <cmath>

namespace
{

using layout::Align;
using layout::Control;
using layout::Kind;
using layout::Picture;

// One control a row, in the window's own order, as the layout table gives them.
// clang-format off
// Drop i stands in column i / 4, row i % 4; bin j under column j.
constexpr Control drop(int i)
{
    return {.name = "imgUran", .kind = Kind::Image, .index = i, .left = 360 + 720 * (i / 4),
            .top = 480 + 480 * (i % 4), .width = 480, .height = 480, .visible = false,
            .picture = Picture::Trefoil};
}

constexpr Control bin(int j, bool shown)
{
    return {.name = "imgBakets", .kind = Kind::Image, .index = j, .left = 360 + 720 * j, .top = 2520,
            .width = 480, .height = 480, .visible = shown, .picture = Picture::Bin};
}

constexpr Control Table[] = {
    {.name = "tmrTimer1", .kind = Kind::Timer, .interval = 500, .enabled = false},
    {.name = "lblHiScoreBrd", .kind = Kind::Label, .left = 3000, .top = 1080, .width = 1215,
     .height = 255, .caption = "0", .backColor = layout::SystemWindowBackground,
     .align = Align::Right, .border = true},
    {.name = "lblScoreBrd", .kind = Kind::Label, .left = 3000, .top = 480, .width = 1215,
     .height = 255, .caption = "0", .backColor = layout::SystemWindowBackground,
     .align = Align::Right, .border = true},
    {.name = "imgMiss", .kind = Kind::Image, .index = 1, .left = 3480, .top = 2040, .width = 480,
     .height = 480, .visible = false, .picture = Picture::Trefoil},
    {.name = "imgMiss", .kind = Kind::Image, .index = 0, .left = 3000, .top = 2040, .width = 480,
     .height = 480, .visible = false, .picture = Picture::Trefoil},
    {.name = "lblMiss", .kind = Kind::Label, .left = 3000, .top = 1680, .width = 975, .height = 255,
     .caption = "MISS"},
    {.name = "lblHiScore", .kind = Kind::Label, .left = 3120, .top = 840, .width = 975,
     .height = 255, .caption = "HI-SCORE"},
    drop(0), drop(1), drop(2), drop(3), drop(4), drop(5), drop(6), drop(7),
    drop(8), drop(9), drop(10), drop(11),
    {.name = "lblScore", .kind = Kind::Label, .left = 3120, .top = 120, .width = 975, .height = 255,
     .caption = "SCORE"},
    bin(2, false),
    bin(1, true),
    bin(0, false),
};
// clang-format on

} // namespace

frmMain::frmMain()
    : Form({.clientWidth = 4680,
            .clientHeight = 3195,
            .border = Border::FixedSingle,
            .icon = Picture::Trefoil},
           Table),
      m_tmrTimer1(m_controls.timer("tmrTimer1")), m_playfield(*this, rt::random())
{
    m_menuBar = new QMenuBar(this);
    QMenu *mnuFile = m_menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    m_mnuStart = mnuFile->addAction(QStringLiteral("開始(&S)"));
    m_mnuEnd = mnuFile->addAction(QStringLiteral("終了(&X)"));
    QMenu *mnuHelp = m_menuBar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    m_mnuVer = mnuHelp->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"));
    setMenuBar(m_menuBar);

    connect(m_mnuStart, &QAction::triggered, this, rt::handler([this] { mnuStart_Click(); }));
    connect(m_mnuEnd, &QAction::triggered, this, rt::handler([this] { mnuEnd_Click(); }));
    connect(m_mnuVer, &QAction::triggered, this, rt::handler([this] { mnuVer_Click(); }));
    connect(m_tmrTimer1, &QTimer::timeout, this,
            [this] { deliver([this] { m_playfield.tmrTimer1_Timer(); }); });

    // An open menu, the menu bar's keyboard mode or a message box holds the round until it lets
    // go, as the menu and dialog loops of the desktop the game was made for do. Qt's menu bar
    // takes the focus for its keyboard mode (Alt, an access key, Escape out of an open menu) and
    // gives it back to the playfield on Escape, a click in the playfield or a chosen command.
    for (QMenu *menu : {mnuFile, mnuHelp}) {
        connect(menu, &QMenu::aboutToShow, this, [this, menu] {
            m_openMenus.insert(menu);
            updateHeld();
        });
        connect(menu, &QMenu::aboutToHide, this, [this, menu] {
            m_openMenus.remove(menu);
            updateHeld();
        });
    }
    connect(&rt::ModalState::instance(), &rt::ModalState::changed, this, &frmMain::updateHeld);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        // Deactivated in keyboard mode, the menu bar lets go but keeps the window's focus; the
        // playfield takes it back, or the round would be held on the window's return.
        if (old == m_menuBar && !now) setFocus();
        updateHeld();
    });
    updateHeld();

    // What a screen reader calls the pictures: which column, which row, which mark.
    const QString columns[] = {QStringLiteral("左"), QStringLiteral("真ん中"),
                               QStringLiteral("右")};
    for (int i = 0; i < 12; ++i)
        m_controls.widget("imgUran", i)
            ->setAccessibleName(
                QStringLiteral("%1の列 %2段目のしずく").arg(columns[i / 4]).arg(i % 4 + 1));
    for (int j = 0; j < 3; ++j)
        m_controls.widget("imgBakets", j)
            ->setAccessibleName(columns[j] + QStringLiteral("のバケツ"));
    for (int k = 0; k < 2; ++k)
        m_controls.widget("imgMiss", k)
            ->setAccessibleName(QStringLiteral("%1つ目のミス").arg(k + 1));
    // The boards are heard with their captions (Qt reports a buddy as the label).
    m_controls.label("lblScore")->setBuddy(m_controls.widget("lblScoreBrd"));
    m_controls.label("lblHiScore")->setBuddy(m_controls.widget("lblHiScoreBrd"));

    // The playfield holds the focus, for the menu bar to give it back.
    setFocusPolicy(Qt::StrongFocus);
    setFocus();
    client()->installEventFilter(this);
    new FrameLimiter(this);
}

void frmMain::mnuStart_Click()
{
    deliver([this] { m_playfield.mnuStart_Click(); });
}

void frmMain::updateHeld()
{
    m_playfield.setHeld(!m_openMenus.isEmpty() || m_menuBar->hasFocus() ||
                        rt::ModalState::instance().isOpen());
}

void frmMain::mnuEnd_Click()
{
    if (rt::msgBox(QStringLiteral("終了しますか？"), rt::vbYesNo | rt::vbExclamation) == rt::vbYes)
        Forms::unload(this); // ends every round; the game ends with the last window
}

void frmMain::mnuVer_Click()
{
    Forms::show<frmAbout>();
}

void frmMain::Form_Unload()
{
    m_playfield.windowUnloaded();
}

std::int16_t frmMain::keyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    default:
        break;
    }
    // Letters and digits carry their upper-case character code; the rest have none here.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return std::int16_t(qtKey);
    return 0;
}

std::int16_t frmMain::mouseButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return Playfield::ButtonLeft;
    case Qt::RightButton:
        return Playfield::ButtonRight;
    case Qt::MiddleButton:
        return Playfield::ButtonMiddle;
    default:
        return 0;
    }
}

std::int16_t frmMain::shiftState(Qt::KeyboardModifiers modifiers)
{
    return std::int16_t((modifiers & Qt::ShiftModifier ? 1 : 0) |
                        (modifiers & Qt::ControlModifier ? 2 : 0) |
                        (modifiers & Qt::AltModifier ? 4 : 0));
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    // Auto-repeated presses of a held key keep setting the same lane.
    const std::int16_t code = keyCode(event->key());
    const std::int16_t shift = shiftState(event->modifiers());
    deliverInput([&] { m_playfield.Form_KeyDown(code, shift); });
    // F10 takes the menu bar, as on the desktop the game was made for. Qt's menu bar has no F10
    // of its own; it opens the first menu, as desktops that bind F10 do.
    if (event->key() == Qt::Key_F10 && !event->modifiers())
        m_menuBar->setActiveAction(m_menuBar->actions().constFirst());
}

void frmMain::keyReleaseEvent(QKeyEvent *event)
{
    // X11 reports a held key as release/press pairs; those releases are not the player's.
    if (event->isAutoRepeat()) return;
    const std::int16_t code = keyCode(event->key());
    const std::int16_t shift = shiftState(event->modifiers());
    deliverInput([&] { m_playfield.Form_KeyUp(code, shift); });
}

void frmMain::showEvent(QShowEvent *event)
{
    // Touches are read from the window itself, before Qt hands them to the picture or label under
    // the finger (which would keep them) or turns them into mouse clicks.
    windowHandle()->installEventFilter(this);
    Form::showEvent(event);
}

bool frmMain::touched(QTouchEvent *touch)
{
    if (touch->type() == QEvent::TouchCancel) {
        if (m_fingers.isEmpty()) return false;
        m_fingers.clear();
        deliverInput([this] { m_playfield.touchCancelled(); });
        return true;
    }
    // The playfield's own fingers; one on the menu bar goes on to Qt, which makes it a click.
    bool ours = false;
    for (const QEventPoint &point : touch->points()) {
        const int id = point.id();
        const QPoint at = client()->mapFromGlobal(point.globalPosition()).toPoint();
        if (point.state() == QEventPoint::State::Pressed && client()->rect().contains(at)) {
            m_fingers.insert(id);
            setFocus(Qt::MouseFocusReason); // the keys back from the menu bar, as a click does
            deliverInput([&] { m_playfield.fingerDown(id, laneAt(point)); });
        } else if (!m_fingers.contains(id)) {
            continue;
        } else if (point.state() == QEventPoint::State::Released) {
            m_fingers.remove(id);
            deliverInput([&] { m_playfield.fingerUp(id); });
        } else if (point.state() == QEventPoint::State::Updated) {
            deliverInput([&] { m_playfield.fingerMoved(id, laneAt(point)); });
        }
        ours = true;
    }
    if (ours) touch->accept();
    return ours;
}

std::int16_t frmMain::laneAt(const QEventPoint &point) const
{
    // The column nearest the finger, by where the bins stand: the boards are nearest the right.
    const qreal x = client()->mapFromGlobal(point.globalPosition()).x();
    const auto distance = [&](int lane) {
        return std::abs(x - m_controls.widget("imgBakets", lane)->geometry().center().x());
    };
    std::int16_t nearest = 0;
    for (std::int16_t lane = 1; lane < Playfield::Lanes; ++lane)
        if (distance(lane) < distance(nearest)) nearest = lane;
    return nearest;
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle()) {
        switch (event->type()) {
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
            return touched(static_cast<QTouchEvent *>(event));
        default:
            break;
        }
    }
    if (watched == client()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            // A finger is no button: a click made of a touch (by Qt or the system) is not the
            // player's.
            if (mouse->deviceType() == QInputDevice::DeviceType::TouchScreen) return true;
            const std::int16_t button = mouseButton(mouse->button());
            const std::int16_t shift = shiftState(mouse->modifiers());
            deliverInput([&] {
                if (event->type() == QEvent::MouseButtonRelease)
                    m_playfield.Form_MouseUp(button, shift);
                else
                    m_playfield.Form_MouseDown(button, shift);
            });
            return true;
        }
        default:
            break;
        }
    }
    return Form::eventFilter(watched, event);
}

void frmMain::setDropVisible(int index, bool visible)
{
    m_controls.widget("imgUran", index)->setVisible(visible);
}

void frmMain::setBucketVisible(int lane, bool visible)
{
    m_controls.widget("imgBakets", lane)->setVisible(visible);
}

void frmMain::setMissVisible(int index, bool visible)
{
    m_controls.widget("imgMiss", index)->setVisible(visible);
}

void frmMain::setScoreText(const std::string &text)
{
    m_controls.label("lblScoreBrd")->setText(QString::fromStdString(text));
}

void frmMain::setHiScoreText(const std::string &text)
{
    m_controls.label("lblHiScoreBrd")->setText(QString::fromStdString(text));
}

int frmMain::timerInterval() const
{
    return m_tmrTimer1->interval();
}

void frmMain::setTimerInterval(int ms)
{
    m_tmrTimer1->setInterval(ms); // restarts a running timer's period
}

void frmMain::setTimerEnabled(bool enabled)
{
    if (!enabled)
        m_tmrTimer1->stop();
    else if (!m_tmrTimer1->isActive())
        m_tmrTimer1->start();
}

void frmMain::showGameOver()
{
    // Heard with the window's own text: the score boards as they stand, captions first.
    QStringList boards;
    for (const char *name : {"lblScore", "lblScoreBrd", "lblHiScore", "lblHiScoreBrd"})
        boards << m_controls.label(name)->text();
    accessible::describe(Forms::show<frmGameOver>(), boards.join(QLatin1Char(' ')));
}

void frmMain::schedulePump()
{
    QMetaObject::invokeMethod(this, rt::handler([this] { m_playfield.pump(); }),
                              Qt::QueuedConnection);
}
