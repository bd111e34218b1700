// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Session.h"

#include "WebPlatform.h"

namespace platform::session
{

void attach()
{
    web::attach();
}

void setInTaskbar(QWidget *, bool) {} // a page has no taskbar

} // namespace platform::session
