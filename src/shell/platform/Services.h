// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Platform.h"

// The platform services the game uses. Tests put their own in place; nullptr brings back the
// binding built for this system.
namespace platform
{

Registry &registry();
void setRegistry(Registry *registry);
FileTest &fileTest();
void setFileTest(FileTest *fileTest);
Launcher &launcher();
void setLauncher(Launcher *launcher);
DesktopMotion &desktopMotion();
void setDesktopMotion(DesktopMotion *desktopMotion);

// The binding built for this system (one per platform).
Registry &nativeRegistry();
FileTest &nativeFileTest();
Launcher &nativeLauncher();
DesktopMotion &nativeDesktopMotion();

} // namespace platform
