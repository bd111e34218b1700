// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "QtPlatform.h"

#include "Cp932.h"
#include "QtFileTest.h"
#include "Services.h"
#include "SysInfoLocations.h"
#include "shell/Application.h"
#include "shell/RuntimeError.h"

#include <QProcess>
#include <QStandardPaths>

#include <cstring>
#include <utility>

namespace
{

// Registry names compare without regard to case.
bool sameName(const std::string &a, const char *b)
{
    return QString::fromLatin1(a.data(), qsizetype(a.size()))
               .compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

} // namespace

namespace platform
{

const QStringList &StandInRegistry::toolNames()
{
    static const QStringList names{QStringLiteral("kinfocenter"), QStringLiteral("hardinfo2"),
                                   QStringLiteral("hardinfo")};
    return names;
}

StandInRegistry::StandInRegistry(QStringList searchPaths) : m_searchPaths(std::move(searchPaths)) {}

std::int32_t StandInRegistry::openKey(std::uint32_t root, const std::string &path,
                                      std::uint32_t access, KeyHandle &key)
{
    key = 0;
    if (root != reg::LocalMachine || !sameName(path, sysinfo::ToolKey)) return reg::FileNotFound;
    if (access & ~reg::ReadRights) return reg::AccessDenied;
    for (const QString &name : toolNames()) {
        const QString program = QStandardPaths::findExecutable(name, m_searchPaths);
        if (program.isEmpty()) continue;
        // The registry holds code page 932 text; a path it cannot hold is not there.
        const std::optional<std::string> bytes = encodeCp932(program.toStdString());
        if (!bytes) continue;
        key = m_next++;
        m_open[key] = *bytes + '\0';
        return reg::Success;
    }
    return reg::FileNotFound;
}

std::int32_t StandInRegistry::queryValue(KeyHandle key, const std::string &name,
                                         std::uint32_t &type, unsigned char *data,
                                         std::uint32_t &count)
{
    const auto open = m_open.find(key);
    if (open == m_open.end()) return reg::InvalidHandle;
    if (!sameName(name, sysinfo::ToolValue)) return reg::FileNotFound;
    const std::string &value = open->second;
    const std::uint32_t size = std::uint32_t(value.size());
    const bool fits = size <= count;
    type = reg::Sz;
    count = size;
    if (!fits) return reg::MoreData;
    std::memcpy(data, value.data(), size);
    return reg::Success;
}

void StandInRegistry::closeKey(KeyHandle key)
{
    m_open.erase(key);
}

void QtLauncher::start(const std::string &path)
{
    // The program is taken as a whole, blanks and all, and it gets the environment the game
    // was given, not the game's own settings.
    QProcess process;
    process.setProgram(pathFromUtf8(path));
    process.setProcessEnvironment(Application::environmentForPrograms());
    if (process.program().isEmpty() || !process.startDetached())
        throw RuntimeError::invalidArgument();
}

Registry &nativeRegistry()
{
    static StandInRegistry registry;
    return registry;
}

FileTest &nativeFileTest()
{
    static QtFileTest fileTest;
    return fileTest;
}

Launcher &nativeLauncher()
{
    static QtLauncher launcher;
    return launcher;
}

} // namespace platform
