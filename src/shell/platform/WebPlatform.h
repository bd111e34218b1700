// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Platform.h"

// The binding for a web browser: a page has no registry and starts no programs, so the
// system-information button always ends in its "not available" notice.
namespace platform
{

// Every key is missing.
class NoRegistry final : public Registry
{
public:
    std::int32_t openKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                         KeyHandle &key) override;
    std::int32_t queryValue(KeyHandle key, const std::string &name, std::uint32_t &type,
                            unsigned char *data, std::uint32_t &count) override;
    void closeKey(KeyHandle key) override;
};

// The page's own in-memory file system, which holds no programs.
class WebFileTest final : public FileTest
{
public:
    std::string dir(const std::string &path) override;
};

class NoLauncher final : public Launcher
{
public:
    void start(const std::string &path) override;
};

// The browser's "reduce motion" preference, which it takes from the desktop or its own settings.
class WebDesktopMotion final : public DesktopMotion
{
public:
    void ask(std::function<void(bool reduced)> answer) override;
};

} // namespace platform

// What the game asks of the page around it.
namespace platform::web
{

// The Japanese fonts built into the program take the place of the system's, the windows open
// in the middle of the page's screen, and the page hears when the game has ended.
void attach();

} // namespace platform::web
