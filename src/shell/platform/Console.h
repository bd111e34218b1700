// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform
{

// Shows what the command line asked for (the help, the version, an error) where the player can
// read it: on standard output, or standard error for an error. On Windows a windowed program
// started from Explorer or a shortcut has neither: there it goes to the console of the window
// it was started from, if any, and into a message box otherwise, as Qt's own command-line
// parser does for windowed programs.
void tell(const QString &text, bool error);

} // namespace platform
