// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Form.h"

#include "Accessible.h"
#include "AppInfo.h"
#include "Forms.h"
#include "Runtime.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace
{

// The game's accessibility answers go in before the first widget that Qt might describe.
QWidget *newClient(QWidget *form)
{
    accessible::install();
    return new QWidget(form);
}

} // namespace

Form::Form(const Settings &settings, std::span<const layout::Control> table)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_client(newClient(this)), m_dialog(settings.dialog)
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
    // Not show(): where windows open full screen by default (Qt in a browser), it would
    // stretch the game's fixed-size windows over the whole page.
    if (!form->isVisible()) form->setVisible(true);
}

void Forms::unload(Form *form)
{
    auto it = std::find_if(s_loaded.begin(), s_loaded.end(),
                           [form](const auto &entry) { return entry.second == form; });
    if (it == s_loaded.end()) return;
    s_loaded.erase(it);
    form->Form_Unload();
    form->hide();
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
