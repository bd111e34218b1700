// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// What the game needs from the operating system: the registry, a file test and a program
// launcher for the system-information launcher, and the desktop's animation setting. Each has
// one binding per platform and a fake in the tests.
namespace platform
{

// Registry constants with the values advapi32 gives them (the windows.h names are macros).
namespace reg
{
inline constexpr std::uint32_t LocalMachine = 0x80000002; // HKEY_LOCAL_MACHINE
inline constexpr std::uint32_t QueryValue = 0x0001;       // KEY_QUERY_VALUE
inline constexpr std::uint32_t ReadRights = 0x20019;      // KEY_READ
inline constexpr std::uint32_t Sz = 1;                    // REG_SZ
inline constexpr std::uint32_t Dword = 4;                 // REG_DWORD
inline constexpr std::int32_t Success = 0;
inline constexpr std::int32_t FileNotFound = 2;
inline constexpr std::int32_t AccessDenied = 5;
inline constexpr std::int32_t InvalidHandle = 6;
inline constexpr std::int32_t MoreData = 234;
inline constexpr std::uint32_t BufferSize = 1024; // what the launcher hands the registry
} // namespace reg

// An open key, as the registry handed it out.
using KeyHandle = std::uintptr_t;

// RegOpenKeyExA, RegQueryValueExA and RegCloseKey. Names are passed as the registry's ANSI
// (code page 932) bytes; result codes are Win32 error codes, 0 for success.
class Registry
{
public:
    virtual ~Registry() = default;
    // `root` is a predefined 32-bit root such as reg::LocalMachine.
    virtual std::int32_t openKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                                 KeyHandle &key) = 0;
    // `count` is the size of `data` on entry and the size of the value on return, also when
    // the value did not fit (reg::MoreData).
    virtual std::int32_t queryValue(KeyHandle key, const std::string &name, std::uint32_t &type,
                                    unsigned char *data, std::uint32_t &count) = 0;
    virtual void closeKey(KeyHandle key) = 0;
};

// Dir(path): the file name if `path` (UTF-8) names an existing file (not a folder), else "".
// A malformed path may throw RuntimeError.
class FileTest
{
public:
    virtual ~FileTest() = default;
    virtual std::string dir(const std::string &path) = 0;
};

// Shell(path, normal window): starts the program `path` (UTF-8) names, as it is: the path is
// never split into a program and arguments. Throws RuntimeError when nothing was started.
class Launcher
{
public:
    virtual ~Launcher() = default;
    virtual void start(const std::string &path) = 0;
};

// Whether the player turned the desktop's animations off: the game-over window then flashes
// calmly without being asked on the command line.
class DesktopMotion
{
public:
    virtual ~DesktopMotion() = default;
    // Asked once, at start. `answer(true)` when the desktop asks for less motion, false when it
    // keeps its animations or says nothing. Answered at once or later from the event loop:
    // a desktop that is slow to answer never holds up the first window.
    virtual void ask(std::function<void(bool reduced)> answer) = 0;
};

} // namespace platform
