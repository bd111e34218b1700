// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

// What the game asks of an X server: built only where Qt talks to X11, used only when it does.
namespace platform::x11
{

// On the xcb platform: held keys repeat as presses only, and a window of the game that is
// destroyed from outside (by another program, or a session tool) is unloaded as a closed one
// is. Elsewhere (Wayland, offscreen) it does nothing.
void attach();

// On the xcb platform, before `window` is first shown: no taskbar entry of its own. Qt has no
// flag for it and keeps what is already in the window's state when it maps the window.
void skipTaskbar(QWidget *window);

} // namespace platform::x11
