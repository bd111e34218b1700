// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Win32Platform.h"

#include "Services.h"
#include "shell/RuntimeError.h"

#include <windows.h>

#include <climits>

namespace
{

HKEY toHkey(platform::KeyHandle key)
{
    return reinterpret_cast<HKEY>(key);
}

// The predefined roots are 32-bit values that a 64-bit HKEY carries sign-extended.
HKEY rootKey(std::uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

// Paths reach the wide API as they are: a NUL inside one would cut it short unseen.
std::wstring widePath(const std::string &path)
{
    if (path.find('\0') != std::string::npos || path.size() > std::size_t(INT_MAX))
        throw RuntimeError::invalidArgument();
    if (path.empty()) return {};
    const int in = int(path.size());
    const int size =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), in, nullptr, 0);
    if (size == 0) throw RuntimeError::invalidArgument();
    std::wstring wide(std::size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), in, wide.data(), size);
    return wide;
}

} // namespace

namespace platform
{

std::int32_t Win32Registry::openKey(std::uint32_t root, const std::string &path,
                                    std::uint32_t access, KeyHandle &key)
{
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(rootKey(root), path.c_str(), 0, access, &opened);
    key = reinterpret_cast<KeyHandle>(opened);
    return result;
}

std::int32_t Win32Registry::queryValue(KeyHandle key, const std::string &name, std::uint32_t &type,
                                       unsigned char *data, std::uint32_t &count)
{
    DWORD valueType = 0;
    DWORD size = count;
    const LONG result =
        RegQueryValueExA(toHkey(key), name.c_str(), nullptr, &valueType, data, &size);
    type = valueType;
    count = size;
    return result;
}

void Win32Registry::closeKey(KeyHandle key)
{
    RegCloseKey(toHkey(key));
}

std::string Win32FileTest::dir(const std::string &path)
{
    const std::wstring wide = widePath(path);
    if (wide.empty()) return {};
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        switch (GetLastError()) {
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
            throw RuntimeError::invalidArgument();
        default:
            return {};
        }
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {};
    return path.substr(path.find_last_of("\\/:") + 1);
}

void Win32Launcher::start(const std::string &path)
{
    const std::wstring program = widePath(path);
    if (program.empty()) throw RuntimeError::invalidArgument();
    // The application name is the program; the command line only repeats it, quoted, as
    // argv[0]. A path with blanks is never read as another program and its arguments.
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        throw RuntimeError::invalidArgument();
    // Started and left to run on its own.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void Win32DesktopMotion::ask(std::function<void(bool reduced)> answer)
{
    BOOL animations = TRUE;
    answer(SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &animations, 0) && !animations);
}

Registry &nativeRegistry()
{
    static Win32Registry registry;
    return registry;
}

FileTest &nativeFileTest()
{
    static Win32FileTest fileTest;
    return fileTest;
}

Launcher &nativeLauncher()
{
    static Win32Launcher launcher;
    return launcher;
}

DesktopMotion &nativeDesktopMotion()
{
    static Win32DesktopMotion motion;
    return motion;
}

} // namespace platform
