// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

// The binding for a web browser. A page has no registry and starts no programs, so the
// system-information button always ends in its "not available" notice.
namespace platform::web
{

// The Japanese fonts built into the program take the place of the system's, the windows open
// where the page's screen shows them whole, and the page hears when the game has ended, and why.
void attach();

} // namespace platform::web
