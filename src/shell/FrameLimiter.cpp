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

bool FrameLimiter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window || event->type() != QEvent::UpdateRequest) return false;
    const qint64 now = m_clock.nsecsElapsed();
    if (now - m_lastPaintNs >= FrameNs) {
        m_lastPaintNs = now;
        return false; // paint now
    }
    // The dirty region waits for the next frame; Qt asks again only after it has painted.
    if (!m_frame.isActive())
        m_frame.start(int((m_lastPaintNs + FrameNs - now + 999'999) / 1'000'000));
    return true;
}
