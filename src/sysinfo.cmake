# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# The system-information launcher, the desktop's animation setting and the platform services
# they run on.
target_sources(luminaku_core PRIVATE
  windows/SysInfo.cpp windows/SysInfo.h
  shell/platform/Platform.h
  shell/platform/SysInfoLocations.h
  shell/platform/Cp932.h
  shell/platform/Services.cpp shell/platform/Services.h)

# One binding per platform.
if(WIN32)
  target_sources(luminaku_core PRIVATE
    shell/platform/Win32Platform.cpp shell/platform/Win32Platform.h
    shell/platform/Cp932Win32.cpp)
  target_link_libraries(luminaku_core PRIVATE advapi32)
elseif(EMSCRIPTEN)
  # The C library of emscripten has iconv built in.
  target_sources(luminaku_core PRIVATE
    shell/platform/WebPlatform.cpp shell/platform/WebPlatform.h
    shell/platform/QtFileTest.cpp shell/platform/QtFileTest.h
    shell/platform/Cp932Iconv.cpp)
  # The windows fitted to a small screen by Qt's own high-DPI scaling, set per screen.
  target_link_libraries(luminaku_core PRIVATE Qt6::GuiPrivate)
else()
  find_package(Iconv REQUIRED)
  target_sources(luminaku_core PRIVATE
    shell/platform/QtPlatform.cpp shell/platform/QtPlatform.h
    shell/platform/QtFileTest.cpp shell/platform/QtFileTest.h
    shell/platform/Cp932Iconv.cpp)
  target_link_libraries(luminaku_core PRIVATE Iconv::Iconv)
  # The desktop's animation setting: KDE's files and the desktop portal over D-Bus.
  find_package(Qt6 REQUIRED COMPONENTS DBus)
  target_sources(luminaku_core PRIVATE
    shell/platform/FreedesktopMotion.cpp shell/platform/FreedesktopMotion.h)
  target_link_libraries(luminaku_core PUBLIC Qt6::DBus)
endif()
