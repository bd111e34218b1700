// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Session.h"

// Windows, and Linux built without X11: Qt and the window system do it all.
namespace platform::session
{

void attach() {}

void setInTaskbar(QWidget *, bool) {}

} // namespace platform::session
