// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

// What the game asks of the window system beyond what Qt does: one binding per platform
// (X11Session.cpp, WebSession.cpp, NoSession.cpp), chosen in src/CMakeLists.txt.
namespace platform::session
{

// Once the application object exists. On X11: held keys repeat as presses only, and a window of
// the game destroyed from outside (by another program, or a session tool) is unloaded as a
// closed one is. In a browser: the page's fonts and window placement, and the page hears when
// the game has ended.
void attach();

// Whether a dialog has a taskbar entry of its own: none while the game's window owns it, its own
// once that window has gone. Only X11 needs telling (Qt has no flag for it); elsewhere the window
// system goes by the owner alone.
void setInTaskbar(QWidget *window, bool inTaskbar);

} // namespace platform::session
