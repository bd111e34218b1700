// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Cp932.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace
{

constexpr UINT Cp932 = 932;

int checkedSize(std::size_t size)
{
    if (size > std::size_t(INT_MAX)) throw std::length_error("text too long to convert");
    return int(size);
}

} // namespace

namespace platform
{

std::string decodeCp932(const char *bytes, std::size_t size)
{
    if (size == 0) return {};
    // Without MB_ERR_INVALID_CHARS, Windows replaces what is not code page 932 itself.
    const int in = checkedSize(size);
    const int wideSize = MultiByteToWideChar(Cp932, 0, bytes, in, nullptr, 0);
    std::wstring wide(std::size_t(wideSize), L'\0');
    MultiByteToWideChar(Cp932, 0, bytes, in, wide.data(), wideSize);
    const int utf8Size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    std::string text(std::size_t(utf8Size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, text.data(), utf8Size, nullptr, nullptr);
    return text;
}

std::optional<std::string> encodeCp932(std::string_view utf8)
{
    if (utf8.empty()) return std::string();
    const int in = checkedSize(utf8.size());
    const int wideSize =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), in, nullptr, 0);
    if (wideSize == 0) return std::nullopt;
    std::wstring wide(std::size_t(wideSize), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), in, wide.data(), wideSize);
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(Cp932, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize,
                                         nullptr, 0, nullptr, &lossy);
    if (size == 0 || lossy) return std::nullopt;
    std::string bytes(std::size_t(size), '\0');
    WideCharToMultiByte(Cp932, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

} // namespace platform
