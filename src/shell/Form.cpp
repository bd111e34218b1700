// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Form.h"

#include "Accessible.h"
#include "AppInfo.h"
#include "Forms.h"
#include "Runtime.h"
#include "platform/Session.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace
{

// The game's accessibility answers go in before the first widget that Qt might describe.
QWidget *newClient(QWidget *form)
{
    accessible::install();
    return new QWidget(form);
}

// The windows that stand over this one (an open menu, a message box, and what stands over them)
// close as their own close button would: a menu lets go, a box gives its close-button answer.
// The game's own dialogs stand over the game's window too, but live on without it.
void closeWindowsOver(const QWidget *window)
{
    const QWindow *beneath = window->windowHandle();
    if (!beneath) return;
    QList<QPointer<QWidget>> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        windows << w;
    for (const QPointer<QWidget> &over : windows) {
        if (!over || qobject_cast<Form *>(over) || !over->isVisible() || !over->windowHandle() ||
            over->windowHandle()->transientParent() != beneath)
            continue;
        closeWindowsOver(over);
        if (over) over->close();
    }
}

// Every frame is fixed; on Windows the hint takes the sizing border away too. A dialog is one to
// the window system as well: no taskbar entry of its own, kept above the game's window. Without
// the system-menu hint, Qt for Windows gives it the modal dialog frame, which shows no icon.
Qt::WindowFlags frameFlags(bool dialog)
{
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
#ifdef Q_OS_WIN
    if (dialog) return flags | Qt::Dialog;
#endif
    return flags | (dialog ? Qt::Dialog : Qt::Window) | Qt::WindowSystemMenuHint;
}

} // namespace

Form::Form(const Settings &settings, std::span<const layout::Control> table)
    : QWidget(nullptr, frameFlags(settings.dialog)), m_client(newClient(this)),
      m_dialog(settings.dialog)
{
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QString::fromUtf8(settings.caption ? settings.caption : AppInfo::Title));
    if (settings.icon != layout::Picture::None)
        setWindowIcon(layout::icon(settings.icon));
    else if (settings.border == Border::FixedDialog)
        setWindowIcon(QIcon()); // dialogs carry no icon of their own
    // The window's default font, used by every control without a font of its own.
    setFont(layout::font({"ＭＳ Ｐゴシック", 9}));

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->setSizeConstraint(QLayout::SetFixedSize); // not resizable
    m_client->setFixedSize(layout::px(settings.clientWidth), layout::px(settings.clientHeight));
    m_client->setAutoFillBackground(true);
    box->addWidget(m_client);
    m_controls.build(m_client, table);

    // Escape presses the cancel button wherever the focus is. Enter is answered by the focused
    // button itself; it reaches the window, and the default button, only when none has it.
    if (QPushButton *button = m_controls.cancelButton())
        connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, button,
                &QPushButton::click);
    // The first control in tab order holds the focus when the window opens.
    if (QWidget *first = m_controls.firstInTabOrder()) first->setFocus();
}

void Form::keyPressEvent(QKeyEvent *event)
{
    QPushButton *button = m_controls.defaultButton();
    if (button && button->isVisible() && button->isEnabled() &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
        button->click();
    else
        QWidget::keyPressEvent(event);
}

void Form::setMenuBar(QWidget *menuBar)
{
    static_cast<QVBoxLayout *>(layout())->setMenuBar(menuBar);
}

void Form::closeEvent(QCloseEvent *event)
{
    event->ignore();
    rt::run([this] { closeRequested(); });
}

void Form::closeRequested()
{
    Forms::unload(this);
}

void Forms::showForm(Form *form)
{
    if (form->isVisible()) return;
    if (form->isDialog()) {
        // Owned by the game's window on the window system's level only: a child object would go
        // with it, and after Quit the game-over window stays until its OK. When the owner's
        // window is destroyed, Qt lets go of it (and Windows does not take the dialog along).
        form->winId(); // its window, made now
        auto frame = std::find_if(s_loaded.begin(), s_loaded.end(), [form](const auto &entry) {
            return entry.second && entry.second != form && !entry.second->isDialog() &&
                   entry.second->isVisible();
        });
        QWindow *owner = frame == s_loaded.end() ? nullptr : frame->second->windowHandle();
        form->windowHandle()->setTransientParent(owner);
        // No taskbar entry while owned; once the owner has gone (after Quit, the game-over
        // window stays alone), the dialog is the game's only window and gets one.
        platform::session::setInTaskbar(form, !owner);
        if (owner)
            QObject::connect(owner, &QObject::destroyed, form,
                             [form] { platform::session::setInTaskbar(form, true); });
    }
    // Not show(): where windows open full screen by default (Qt in a browser), it would
    // stretch the game's fixed-size windows over the whole page.
    form->setVisible(true);
}

void Forms::unload(Form *form)
{
    auto it = std::find_if(s_loaded.begin(), s_loaded.end(),
                           [form](const auto &entry) { return entry.second == form; });
    if (it == s_loaded.end()) return;
    s_loaded.erase(it);
    closeWindowsOver(form);
    form->Form_Unload();
    form->hide();
    // Under an open message box, the handler that opened it may belong to this window and goes
    // on once the box's exec() has returned: the window is destroyed only after the last box has
    // closed, once that handler is done, and never inside a box's own event loop.
    rt::ModalState &modal = rt::ModalState::instance();
    if (modal.isOpen())
        QObject::connect(&modal, &rt::ModalState::changed, form, &QObject::deleteLater,
                         Qt::SingleShotConnection);
    else
        form->deleteLater();
    if (loadedCount() > 0) return;
    if (s_onLastWindowGone)
        s_onLastWindowGone();
    else
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void Forms::setOnLastWindowGone(std::function<void()> action)
{
    s_onLastWindowGone = std::move(action);
}

int Forms::loadedCount()
{
    return int(std::count_if(s_loaded.begin(), s_loaded.end(),
                             [](const auto &entry) { return !entry.second.isNull(); }));
}
