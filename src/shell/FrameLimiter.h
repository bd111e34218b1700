// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

// Holds a window's repaints to one a frame (60 a second). At the fastest step periods the
// rules change the pictures every millisecond; painting each change costs the processor far
// more than the rules do, and no screen would show them.
class FrameLimiter : public QObject
{
    Q_OBJECT
public:
    explicit FrameLimiter(QWidget *window);

    // Paints whatever is dirty in the window now, frame or not: what the player's own key or
    // button changed must never wait. Whatever else was waiting goes out with it.
    static void paintNow(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static constexpr qint64 FrameNs = 16'666'667;
    QWidget *m_window;
    QTimer m_frame;
    QElapsedTimer m_clock;
    qint64 m_lastPaintNs = -FrameNs;
    bool m_passing = false;
};
