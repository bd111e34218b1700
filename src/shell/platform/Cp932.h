// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Code page 932 (Japanese Windows ANSI) from and to UTF-8.
namespace platform
{

// Never fails: a sequence that is not code page 932 becomes a replacement character.
std::string decodeCp932(const char *bytes, std::size_t size);

// Nothing when the text has a character that code page 932 cannot hold.
std::optional<std::string> encodeCp932(std::string_view utf8);

} // namespace platform
