// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include <exception>
#include <functional>

class RandomSource;

// What the game logic asks of the platform: random numbers and message boxes. Each sits
// behind a seam so that tests can put their own in its place.
class MessageBoxBackend
{
public:
    virtual ~MessageBoxBackend() = default;
    // A modal box; returns the button pressed (1 OK, 6 Yes, 7 No).
    virtual int show(const QString &text, int style, const QString &title) = 0;
};

namespace rt
{

enum MsgBoxStyle : int {
    vbOKOnly = 0x0,
    vbYesNo = 0x4,
    vbCritical = 0x10,
    vbExclamation = 0x30,
};
enum MsgBoxResult : int { vbOK = 1, vbYes = 6, vbNo = 7 };

RandomSource &random();
void setRandom(RandomSource *source); // nullptr: the clock-seeded generator

// Every handler of the game runs through run(), the one place where Qt calls into the game. An
// error that escapes a handler stops there, before it can unwind through Qt's own code: the
// player sees its message once, the application ends with status 1, and no handler runs after it.
bool failed();
void fail(const std::exception &error) noexcept;
// Told the message the player saw when an error ends the game (the browser's page says so);
// `told` must not throw.
void setOnFailure(std::function<void(const QString &message)> told);
template <typename Handler> void run(Handler &&handler) noexcept
{
    if (failed()) return;
    try {
        handler();
    } catch (const std::exception &error) {
        fail(error);
    }
}
// A handler for connect(): the same, run later.
template <typename Handler> auto handler(Handler handler)
{
    return [handler]() mutable { run(handler); };
}

// A modal message box titled with the application title. Rounds are held while it is open.
int msgBox(const QString &text, int style);
void setMessageBox(MessageBoxBackend *backend); // nullptr: the Qt message box

// Counts open message boxes and says when the first opens and the last closes.
class ModalState : public QObject
{
    Q_OBJECT
public:
    static ModalState &instance();
    bool isOpen() const { return m_depth > 0; }
    void enter();
    void leave();
signals:
    void changed(bool open);

private:
    int m_depth = 0;
};

} // namespace rt
