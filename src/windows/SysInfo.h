// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "shell/platform/Platform.h"

#include <cstdint>
#include <functional>
#include <string>

// The version window's system-information launcher. Written over the platform interfaces and
// free of Qt, so the same code runs against the fakes, the stand-in and advapi32 under wine.

// Reads one registry value as text. True when it was read: a string value as UTF-8, a DWORD as
// "&h" and its hexadecimal digits, any other type leaving KeyVal as it was. False when the key
// or the value cannot be read (KeyVal is then ""). An empty value throws
// RuntimeError::invalidArgument() for the caller to handle. The key is closed on every path.
bool GetKeyValue(platform::Registry &registry, std::uint32_t KeyRoot, const std::string &KeyName,
                 const std::string &SubKeyRef, std::string &KeyVal);

struct SysInfoServices {
    platform::Registry &registry;
    platform::FileTest &fileTest;
    platform::Launcher &launcher;
    // A message box: UTF-8 text and a message box style.
    std::function<void(const std::string &text, int style)> msgBox;
};

// Starts the system-information tool, or tells the player that it is unavailable.
void StartSysInfo(const SysInfoServices &services);
