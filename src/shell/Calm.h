// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/Platform.h"

#include <functional>
#include <optional>

// How the game-over window flashes: as the command line says (--calm, --no-calm); where it says
// nothing, calm if the desktop asks for less motion, which is then asked once.
inline void decideCalm(std::optional<bool> commandLine, platform::DesktopMotion &desktop,
                       const std::function<void(bool)> &setCalm)
{
    if (commandLine)
        setCalm(*commandLine);
    else
        desktop.ask(setCalm);
}
