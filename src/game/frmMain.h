// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Playfield.h"
#include "shell/Form.h"
#include "shell/FrameLimiter.h"
#include "shell/Runtime.h"

#include <QSet>

class QAction;
class QMenu;
class QEventPoint;
class QMenuBar;
class QTimer;
class QTouchEvent;

// The playfield: twelve drop pictures in three columns, the bins beneath, the boards and the
// menu. Its rules live in Playfield; this class turns Qt's events into them and shows the result.
class frmMain final : public Form, private PlayfieldView
{
    Q_OBJECT
public:
    frmMain();

    Playfield &playfield() { return m_playfield; }
    QAction *mnuStart() const { return m_mnuStart; }
    QAction *mnuEnd() const { return m_mnuEnd; }
    QAction *mnuVer() const { return m_mnuVer; }

    void mnuStart_Click();
    void mnuEnd_Click();
    void mnuVer_Click();

    void Form_Unload() override;

    // Qt's key and button values as the handlers know them.
    static std::int16_t keyCode(int qtKey);
    static std::int16_t mouseButton(Qt::MouseButton button);
    static std::int16_t shiftState(Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // PlayfieldView
    void setDropVisible(int index, bool visible) override;
    void setBucketVisible(int lane, bool visible) override;
    void setMissVisible(int index, bool visible) override;
    void setScoreText(const std::string &text) override;
    void setHiScoreText(const std::string &text) override;
    int timerInterval() const override;
    void setTimerInterval(int ms) override;
    void setTimerEnabled(bool enabled) override;
    void showGameOver() override;
    void schedulePump() override;

    // Runs one handler of the rules, then lets the waiting round look again.
    template <typename Handler> void deliver(Handler handler)
    {
        rt::run([&] {
            handler();
            m_playfield.pump();
        });
    }
    // The player's key or button: the bin it moved is on the screen before the event returns.
    template <typename Handler> void deliverInput(Handler handler)
    {
        deliver(handler);
        FrameLimiter::paintNow(this);
    }
    void updateHeld();
    bool touched(QTouchEvent *touch);
    std::int16_t laneAt(const QEventPoint &point) const;

    QTimer *m_tmrTimer1;
    QAction *m_mnuStart;
    QAction *m_mnuEnd;
    QAction *m_mnuVer;
    QMenuBar *m_menuBar;
    Playfield m_playfield;
    QSet<QMenu *> m_openMenus;
    QSet<int> m_fingers; // the touches that went down on the playfield
};
