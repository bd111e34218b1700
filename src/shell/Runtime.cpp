// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Runtime.h"

#include "AppInfo.h"
#include "Random.h"
#include "RuntimeError.h"

#include <QApplication>
#include <QMessageBox>
#include <QWindow>

namespace
{

class QtMessageBox final : public MessageBoxBackend
{
public:
    // The game asks two kinds of question: an OK notice and a Yes/No question.
    int show(const QString &text, int style, const QString &title) override
    {
        // The box belongs to no window: a window can go away while the box is open (another
        // program may destroy it), and a box that was its child would be deleted with it, inside
        // its own exec(). It stands over the window the player is looking at, as the game's
        // other dialogs do, and the registry closes it when that window is unloaded.
        QMessageBox box;
        if (QWidget *over = QApplication::activeWindow(); over && over->windowHandle()) {
            box.winId(); // the box's own native window, to be tied to the one beneath
            box.windowHandle()->setTransientParent(over->windowHandle());
            box.setWindowIcon(over->windowIcon()); // as a child of it would
        }
        box.setWindowTitle(title);
        box.setText(text);
        if ((style & 0x70) == rt::vbExclamation)
            box.setIcon(QMessageBox::Warning);
        else if ((style & 0x70) == rt::vbCritical)
            box.setIcon(QMessageBox::Critical);
        if ((style & 0x7) == rt::vbYesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
        } else {
            box.setStandardButtons(QMessageBox::Ok);
            box.setDefaultButton(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
        }
        switch (box.exec()) {
        case QMessageBox::Yes:
            return rt::vbYes;
        case QMessageBox::No:
            return rt::vbNo;
        default:
            return rt::vbOK;
        }
    }
};

RandomSource *s_random = nullptr;
MessageBoxBackend *s_messageBox = nullptr;
bool s_failed = false;
std::function<void(const QString &message)> s_onFailure;

} // namespace

namespace rt
{

RandomSource &random()
{
    static ClockRandom clock;
    return s_random ? *s_random : clock;
}

void setRandom(RandomSource *source)
{
    s_random = source;
}

int msgBox(const QString &text, int style)
{
    static QtMessageBox qtBox;
    MessageBoxBackend &backend = s_messageBox ? *s_messageBox : qtBox;
    ModalState &modal = ModalState::instance();
    modal.enter();
    struct Leave {
        ModalState &m;
        ~Leave() { m.leave(); }
    } leave{modal};
    return backend.show(text, style, QString::fromUtf8(AppInfo::Title));
}

bool failed()
{
    return s_failed;
}

void fail(const std::exception &error) noexcept
{
    // Handlers that come due while the message is open find the game already failed.
    s_failed = true;
    const auto *runtime = dynamic_cast<const RuntimeError *>(&error);
    const QString text = QString::fromUtf8(error.what());
    const QString message =
        runtime ? QStringLiteral("実行時エラー '%1':\n\n%2").arg(int(runtime->code())).arg(text)
                : text;
    try {
        msgBox(message, vbCritical);
    } catch (...) {
        // Nothing more can be shown; the game ends all the same.
    }
    if (s_onFailure) s_onFailure(message);
    QCoreApplication::exit(1);
}

void setOnFailure(std::function<void(const QString &message)> told)
{
    s_onFailure = std::move(told);
}

void setMessageBox(MessageBoxBackend *backend)
{
    s_messageBox = backend;
}

ModalState &ModalState::instance()
{
    static ModalState state;
    return state;
}

void ModalState::enter()
{
    if (m_depth++ == 0) emit changed(true);
}

void ModalState::leave()
{
    if (--m_depth == 0) emit changed(false);
}

} // namespace rt
