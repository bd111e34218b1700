// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
// The system-information launcher on a system whose every answer the input gives: result
// codes, value types, declared sizes and the bytes written (any length, NULs anywhere, code
// page 932 or not), files found, refused or looked up for real, programs started or not.
#include "shell/RuntimeError.h"
#include "shell/platform/QtFileTest.h"
#include "windows/SysInfo.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <set>

namespace
{

struct InputSystem final : platform::Registry, platform::FileTest, platform::Launcher {
    explicit InputSystem(FuzzedDataProvider &in) : in(in) {}
    FuzzedDataProvider &in;
    std::set<platform::KeyHandle> open;
    platform::KeyHandle handles = 0;
    std::string found, started;
    int starts = 0, running = 0;

    std::int32_t code() { return in.ConsumeBool() ? 0 : in.PickValueInArray({2, 5, 6, 234}); }
    std::int32_t openKey(std::uint32_t, const std::string &, std::uint32_t,
                         platform::KeyHandle &key) override
    {
        const std::int32_t result = code();
        if (result == 0) open.insert(key = ++handles);
        return result;
    }
    std::int32_t queryValue(platform::KeyHandle key, const std::string &, std::uint32_t &type,
                            unsigned char *data, std::uint32_t &count) override
    {
        if (!open.count(key)) std::abort(); // never opened, or closed already
        const std::int32_t result = code();
        type =
            in.ConsumeBool() ? in.ConsumeIntegralInRange(0u, 11u) : in.ConsumeIntegral<unsigned>();
        const std::string bytes = in.ConsumeRandomLengthString(1100);
        std::memcpy(data, bytes.data(), std::min<std::size_t>(bytes.size(), count));
        count =
            in.ConsumeBool() ? std::uint32_t(bytes.size()) : in.ConsumeIntegral<std::uint32_t>();
        return result;
    }
    void closeKey(platform::KeyHandle key) override
    {
        if (!open.erase(key)) std::abort(); // closed twice
    }
    std::string dir(const std::string &path) override
    {
        const int answer = in.ConsumeIntegralInRange(0, 3);
        if (answer == 3) throw RuntimeError::invalidArgument();
        const std::string name = answer == 2 ? platform::QtFileTest().dir(path)
                                 : answer    ? "MSINFO32.EXE"
                                             : "";
        if (!name.empty()) found = path;
        return name;
    }
    void start(const std::string &path) override
    {
        started = path;
        ++starts;
        if (in.ConsumeBool()) throw RuntimeError::invalidArgument();
        ++running;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    InputSystem system(in);
    int messages = 0;
    StartSysInfo({system, system, system, [&](const std::string &, int) { ++messages; }});
    // Every key closed; one start or the one message; from the folder's location, only the
    // path the file test found.
    if (!system.open.empty() || system.starts > 1 || messages + system.running != 1 ||
        (!system.found.empty() && system.starts && system.started != system.found))
        std::abort();
    return 0;
}
