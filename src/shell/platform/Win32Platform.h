// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Platform.h"

// The Windows binding: advapi32 with ANSI names, the file test and program launch of kernel32,
// and the animation setting of user32. Qt-free, so that it can be checked on its own under wine.
namespace platform
{

class Win32Registry final : public Registry
{
public:
    std::int32_t openKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                         KeyHandle &key) override;
    std::int32_t queryValue(KeyHandle key, const std::string &name, std::uint32_t &type,
                            unsigned char *data, std::uint32_t &count) override;
    void closeKey(KeyHandle key) override;
};

class Win32FileTest final : public FileTest
{
public:
    std::string dir(const std::string &path) override;
};

class Win32Launcher final : public Launcher
{
public:
    void start(const std::string &path) override;
};

// "Show animations in Windows" (Settings, Accessibility, Visual effects): off asks for calm.
class Win32DesktopMotion final : public DesktopMotion
{
public:
    void ask(std::function<void(bool reduced)> answer) override;
};

} // namespace platform
