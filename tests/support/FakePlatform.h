// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "shell/RuntimeError.h"
#include "shell/platform/Services.h"

#include <QStringList>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

// HKEY_LOCAL_MACHINE in memory: keys still open, access masks asked for and buffer sizes
// offered are kept for the tests to check.
struct FakeRegistry final : platform::Registry {
    std::map<std::string, std::map<std::string, std::pair<std::uint32_t, std::string>>> keys;
    std::map<platform::KeyHandle, std::string> open;
    std::vector<std::uint32_t> masks, bufferSizes;
    int badCloses = 0;

    std::int32_t openKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                         platform::KeyHandle &key) override
    {
        masks.push_back(access);
        if (root != platform::reg::LocalMachine || !keys.count(path)) return 2; // not found
        open[key = masks.size()] = path; // a new handle each time
        return 0;
    }
    std::int32_t queryValue(platform::KeyHandle key, const std::string &name, std::uint32_t &type,
                            unsigned char *data, std::uint32_t &count) override
    {
        bufferSizes.push_back(count);
        if (!open.count(key) || !keys[open[key]].count(name)) return 2;
        const auto &[valueType, bytes] = keys[open[key]][name];
        const bool fits = bytes.size() <= count;
        type = valueType;
        count = std::uint32_t(bytes.size());
        if (fits) std::memcpy(data, bytes.data(), count);
        return fits ? 0 : 234; // more data
    }
    void closeKey(platform::KeyHandle key) override { badCloses += open.erase(key) ? 0 : 1; }
};

// The file test and the launcher of a system where exactly the files in `present` exist, each
// a program that starts. A path with a '|' is a bad file name.
struct FakeFiles final : platform::FileTest, platform::Launcher {
    std::set<std::string> present;
    QStringList tested, started;

    std::string dir(const std::string &path) override
    {
        tested << QString::fromStdString(path);
        if (path.find('|') != std::string::npos) throw RuntimeError::invalidArgument();
        return present.count(path) ? path.substr(path.rfind('\\') + 1) : std::string();
    }
    void start(const std::string &path) override
    {
        if (!present.count(path)) throw RuntimeError::invalidArgument();
        started << QString::fromStdString(path);
    }
};

// The fakes in place of this system's registry, file test and launcher, for one test.
struct FakePlatform {
    FakeRegistry registry;
    FakeFiles files;
    FakePlatform() { use(&registry, &files); }
    ~FakePlatform() { use(nullptr, nullptr); }
    static void use(FakeRegistry *registry, FakeFiles *files)
    {
        platform::setRegistry(registry);
        platform::setFileTest(files);
        platform::setLauncher(files);
    }
};
