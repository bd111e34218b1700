// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Platform.h"

#include <QString>

// Qt's file test, for the systems without one of their own: a desktop without Win32, and the
// browser, whose in-memory file system holds no programs.
namespace platform
{

// A path in the game's UTF-8. A NUL inside would cut it short unseen: RuntimeError 5.
QString pathFromUtf8(const std::string &path);

class QtFileTest final : public FileTest
{
public:
    std::string dir(const std::string &path) override;
};

} // namespace platform
