// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "SysInfo.h"

#include "shell/RuntimeError.h"
#include "shell/platform/Cp932.h"
#include "shell/platform/SysInfoLocations.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace
{

constexpr const char *UnavailableMessage = "現時点ではｼｽﾃﾑ情報を使用できません";
constexpr int OkOnly = 0;

// Closes the key however the reader leaves, an empty value's error included.
class OpenKey
{
public:
    OpenKey(platform::Registry &registry, platform::KeyHandle key)
        : m_registry(registry), m_key(key)
    {
    }
    ~OpenKey() { m_registry.closeKey(m_key); }
    OpenKey(const OpenKey &) = delete;
    OpenKey &operator=(const OpenKey &) = delete;

private:
    platform::Registry &m_registry;
    platform::KeyHandle m_key;
};

// The number in a DWORD's little-endian bytes, written as a hexadecimal literal ("&h1F").
std::string dwordText(const unsigned char *data, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = std::min<std::size_t>(size, 4); i-- > 0;)
        value = value << 8 | data[i];
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "&h%X", unsigned(value));
    return text.data();
}

// False when neither location leads to the tool; errors fly to the caller.
bool startTool(const SysInfoServices &services)
{
    using namespace platform::sysinfo;
    std::string path;
    if (!GetKeyValue(services.registry, platform::reg::LocalMachine, ToolKey, ToolValue, path)) {
        if (!GetKeyValue(services.registry, platform::reg::LocalMachine, FolderKey, FolderValue,
                         path))
            return false;
        if (services.fileTest.dir(path + ToolFileSuffix).empty()) return false;
        path += ToolFileSuffix;
    }
    // The full path from the registry is started untested: a bad one fails to start.
    services.launcher.start(path);
    return true;
}

} // namespace

bool GetKeyValue(platform::Registry &registry, std::uint32_t KeyRoot, const std::string &KeyName,
                 const std::string &SubKeyRef, std::string &KeyVal)
{
    // Read rights are all a lookup needs; asking for more fails for a standard user.
    platform::KeyHandle handle = 0;
    if (registry.openKey(KeyRoot, KeyName, platform::reg::QueryValue, handle) !=
        platform::reg::Success) {
        KeyVal.clear();
        return false;
    }
    const OpenKey key(registry, handle);

    std::array<unsigned char, platform::reg::BufferSize> buffer{};
    std::uint32_t count = platform::reg::BufferSize;
    std::uint32_t type = 0;
    if (registry.queryValue(handle, SubKeyRef, type, buffer.data(), count) !=
            platform::reg::Success ||
        count > buffer.size()) {
        KeyVal.clear();
        return false;
    }
    if (count == 0) throw RuntimeError::invalidArgument();

    // One terminating NUL is dropped; a value stored without one loses nothing.
    const std::size_t size = buffer[count - 1] == 0 ? count - 1 : count;
    switch (type) {
    case platform::reg::Sz:
        KeyVal = platform::decodeCp932(reinterpret_cast<const char *>(buffer.data()), size);
        break;
    case platform::reg::Dword:
        KeyVal = dwordText(buffer.data(), size);
        break;
    default:
        break; // other types are not converted
    }
    return true;
}

void StartSysInfo(const SysInfoServices &services)
{
    try {
        if (startTool(services)) return;
    } catch (const RuntimeError &) {
        // Whatever went wrong, the player gets the one message below.
    }
    services.msgBox(UnavailableMessage, OkOnly);
}
