// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Services.h"

namespace
{
platform::Registry *s_registry = nullptr;
platform::FileTest *s_fileTest = nullptr;
platform::Launcher *s_launcher = nullptr;
platform::DesktopMotion *s_desktopMotion = nullptr;
} // namespace

namespace platform
{

Registry &registry()
{
    return s_registry ? *s_registry : nativeRegistry();
}

void setRegistry(Registry *registry)
{
    s_registry = registry;
}

FileTest &fileTest()
{
    return s_fileTest ? *s_fileTest : nativeFileTest();
}

void setFileTest(FileTest *fileTest)
{
    s_fileTest = fileTest;
}

Launcher &launcher()
{
    return s_launcher ? *s_launcher : nativeLauncher();
}

void setLauncher(Launcher *launcher)
{
    s_launcher = launcher;
}

DesktopMotion &desktopMotion()
{
    return s_desktopMotion ? *s_desktopMotion : nativeDesktopMotion();
}

void setDesktopMotion(DesktopMotion *desktopMotion)
{
    s_desktopMotion = desktopMotion;
}

} // namespace platform
