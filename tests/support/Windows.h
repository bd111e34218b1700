// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Fakes.h"
#include "game/frmMain.h"
#include "shell/Forms.h"
#include "windows/frmAbout.h"
#include "windows/frmGameOver.h"
#include "windows/frmOpening.h"

#include <QCoreApplication>
#include <QTimer>
#include <QTimerEvent>

// One tick of a running timer as the event loop delivers it, then the work it queued.
inline bool fire(QTimer *timer)
{
    if (!timer || !timer->isActive()) return false;
    QTimerEvent tick(timer->timerId());
    QCoreApplication::sendEvent(timer, &tick);
    QCoreApplication::sendPostedEvents();
    return true;
}

// The fakes in place, the last window's going counted, and every window unloaded after.
struct WindowsFixture {
    FakeRuntime rt;
    int lastWindowGone = 0;
    WindowsFixture()
    {
        Forms::setOnLastWindowGone([this] { ++lastWindowGone; });
    }
    ~WindowsFixture()
    {
        for (Form *form :
             std::initializer_list<Form *>{Forms::find<frmOpening>(), Forms::find<frmMain>(),
                                           Forms::find<frmGameOver>(), Forms::find<frmAbout>()})
            if (form) Forms::unload(form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};
