// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "FrameLimiter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

FrameLimiter::FrameLimiter(QWidget *window) : QObject(window), m_window(window)
{
    m_clock.start();
    m_frame.setSingleShot(true);
    m_frame.setTimerType(Qt::PreciseTimer);
    connect(&m_frame, &QTimer::timeout, this, [this] {
        QEvent request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(m_window, &request);
    });
    window->installEventFilter(this);
}

void FrameLimiter::paintNow(QWidget *window)
{
    // A picture being shown asks for its paint through a posted event: have it ask now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
    // Everything dirty is painted below; a request already posted would only wake us again.
    QCoreApplication::removePostedEvents(window, QEvent::UpdateRequest);
    auto *limiter = window->findChild<FrameLimiter *>(QString(), Qt::FindDirectChildrenOnly);
    if (limiter) {
        limiter->m_frame.stop(); // what it was holding goes out now
        limiter->m_passing = true;
    }
    QEvent request(QEvent::UpdateRequest); // Qt paints the window's whole dirty region on it
    QCoreApplication::sendEvent(window, &request);
    if (limiter) limiter->m_passing = false;
}

bool FrameLimiter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window || event->type() != QEvent::UpdateRequest) return false;
    const qint64 now = m_clock.nsecsElapsed();
    if (m_passing || now - m_lastPaintNs >= FrameNs) {
        m_lastPaintNs = now;
        return false; // paint now
    }
    // The dirty region waits for the next frame; Qt asks again only after it has painted.
    if (!m_frame.isActive())
        m_frame.start(int((m_lastPaintNs + FrameNs - now + 999'999) / 1'000'000));
    return true;
}
