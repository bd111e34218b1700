// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Console.h"

#include "AppInfo.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <QRegularExpression>

#include <windows.h>
#endif

namespace platform
{

#ifdef Q_OS_WIN

namespace
{

// Output redirected to a file or a pipe (luminaku --help > help.txt, a program reading it).
bool redirected(DWORD stream)
{
    const DWORD type = GetFileType(GetStdHandle(stream));
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

} // namespace

void tell(const QString &text, bool error)
{
    if (redirected(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE)) {
        std::fputs(text.toLocal8Bit().constData(), error ? stderr : stdout);
        return;
    }
    // Started from a console window, the program has no console of its own; it writes to that
    // one (after the prompt, which does not wait for a windowed program).
    if (GetConsoleWindow() || AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE) {
            const QString lines = QLatin1Char('\n') +
                                  QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
            DWORD written = 0;
            WriteConsoleW(console, reinterpret_cast<const wchar_t *>(lines.utf16()),
                          DWORD(lines.size()), &written, nullptr);
            CloseHandle(console);
            return;
        }
    }
    // The help's descriptions come wrapped for an 80-column terminal; the box wraps them itself.
    const QString lines =
        QString(text).replace(QRegularExpression(QStringLiteral("\n {3,}")), QStringLiteral(" "));
    const QString title = QString::fromUtf8(AppInfo::Title);
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(lines.trimmed().utf16()),
                reinterpret_cast<const wchar_t *>(title.utf16()),
                MB_OK | MB_SETFOREGROUND | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

#else

void tell(const QString &text, bool error)
{
    std::fputs(text.toLocal8Bit().constData(), error ? stderr : stdout);
}

#endif

} // namespace platform
