// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Platform.h"

#include <QStringList>

#include <map>

// The binding for systems without a registry: Qt's program launch and a stand-in registry (and
// Qt's file test, QtFileTest.h).
namespace platform
{

// Knows one value: the tool's full path (HKEY_LOCAL_MACHINE, ToolKey, ToolValue), answered with
// the desktop's own system-information program when one is installed, looked up at each open.
// Everything else is missing. Like HKEY_LOCAL_MACHINE for a standard user, it refuses any
// access beyond reading.
class StandInRegistry final : public Registry
{
public:
    // Searched in this order.
    static const QStringList &toolNames();

    // `searchPaths` empty: the folders of PATH.
    explicit StandInRegistry(QStringList searchPaths = {});

    std::int32_t openKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                         KeyHandle &key) override;
    std::int32_t queryValue(KeyHandle key, const std::string &name, std::uint32_t &type,
                            unsigned char *data, std::uint32_t &count) override;
    void closeKey(KeyHandle key) override;

private:
    QStringList m_searchPaths;
    std::map<KeyHandle, std::string> m_open; // each open key and the value it holds
    KeyHandle m_next = 1;
};

class QtLauncher final : public Launcher
{
public:
    void start(const std::string &path) override;
};

} // namespace platform
