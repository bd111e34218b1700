#pragma once

#include "shell/RuntimeError.h"
#include "shell/platform/Platform.h"
#include "shell/platform/Services.h"

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

// A registry in memory, under HKEY_LOCAL_MACHINE only. It refuses any access beyond the rights
// granted (a standard user's read rights by default) and keeps count of what the reader did.
class FakeRegistry final : public platform::Registry
{
public:
    struct Value {
        std::uint32_t type = platform::reg::Sz;
        std::string bytes;
    };
    struct Key {
        bool refused = false; // an access list that lets nobody in
        std::map<std::string, Value> values;
    };

    void setValue(const std::string &key, const std::string &name, std::uint32_t type,
                  std::string bytes)
    {
        keys[key].values[name] = Value{type, std::move(bytes)};
    }

    std::int32_t openKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                         platform::KeyHandle &key) override
    {
        accessMasks.push_back(access);
        key = 0;
        const auto found = keys.find(path);
        if (root != platform::reg::LocalMachine || found == keys.end())
            return platform::reg::FileNotFound;
        if (found->second.refused || (access & ~grantedRights)) return platform::reg::AccessDenied;
        key = m_next++;
        m_open[key] = &found->second;
        ++opens;
        return platform::reg::Success;
    }

    std::int32_t queryValue(platform::KeyHandle key, const std::string &name, std::uint32_t &type,
                            unsigned char *data, std::uint32_t &count) override
    {
        countsOnEntry.push_back(count);
        const auto open = m_open.find(key);
        if (open == m_open.end()) {
            ++misuses;
            return platform::reg::InvalidHandle;
        }
        const auto value = open->second->values.find(name);
        if (value == open->second->values.end()) return platform::reg::FileNotFound;
        const std::string &bytes = value->second.bytes;
        const bool fits = bytes.size() <= count;
        type = value->second.type;
        count = std::uint32_t(bytes.size());
        if (!fits) return platform::reg::MoreData;
        std::memcpy(data, bytes.data(), bytes.size());
        return platform::reg::Success;
    }

    void closeKey(platform::KeyHandle key) override
    {
        if (m_open.erase(key) == 0)
            ++misuses;
        else
            ++closes;
    }

    bool anyKeyOpen() const { return !m_open.empty(); }

    std::map<std::string, Key> keys;
    std::uint32_t grantedRights = platform::reg::ReadRights;

    int opens = 0;
    int closes = 0;
    int misuses = 0; // queries or closes of keys that are not open
    std::vector<std::uint32_t> accessMasks;
    std::vector<std::uint32_t> countsOnEntry;

private:
    std::map<platform::KeyHandle, Key *> m_open;
    platform::KeyHandle m_next = 0x100;
};

// Files that exist, by exact path; every question is recorded.
class FakeFileTest final : public platform::FileTest
{
public:
    std::string dir(const std::string &path) override
    {
        asked.push_back(path);
        if (malformed) throw RuntimeError::invalidArgument();
        if (!files.count(path)) return {};
        return path.substr(path.find_last_of('\\') + 1);
    }

    std::set<std::string> files;
    bool malformed = false; // every path is rejected as a bad file name
    std::vector<std::string> asked;
};

// Starts only the programs it knows; anything else fails as the real launch does.
class FakeLauncher final : public platform::Launcher
{
public:
    void start(const std::string &path) override
    {
        attempts.push_back(path);
        if (!programs.count(path)) throw RuntimeError::invalidArgument();
        started.push_back(path);
    }

    std::set<std::string> programs;
    std::vector<std::string> attempts;
    std::vector<std::string> started;
};

// Puts the fakes in place of the platform services for one test.
struct FakePlatform {
    FakeRegistry registry;
    FakeFileTest fileTest;
    FakeLauncher launcher;
    FakePlatform()
    {
        platform::setRegistry(&registry);
        platform::setFileTest(&fileTest);
        platform::setLauncher(&launcher);
    }
    ~FakePlatform()
    {
        platform::setRegistry(nullptr);
        platform::setFileTest(nullptr);
        platform::setLauncher(nullptr);
    }
    FakePlatform(const FakePlatform &) = delete;
    FakePlatform &operator=(const FakePlatform &) = delete;
};
