// The Windows binding against a real registry, file system and process launch, run under wine
// by run_wine_test.sh after it has seeded the values below. It is also the program that the
// launcher checks start: run without the argument "check" it only exits.
#include "shell/RuntimeError.h"
#include "shell/platform/Win32Platform.h"
#include "windows/SysInfo.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{

int failures = 0;

void check(bool ok, const std::string &what)
{
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok) ++failures;
}

// The real registry, counting opens and closes.
class CountingRegistry final : public platform::Registry
{
public:
    std::int32_t openKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                         platform::KeyHandle &key) override
    {
        const std::int32_t result = m_registry.openKey(root, path, access, key);
        if (result == platform::reg::Success) ++opens;
        return result;
    }
    std::int32_t queryValue(platform::KeyHandle key, const std::string &name, std::uint32_t &type,
                            unsigned char *data, std::uint32_t &count) override
    {
        return m_registry.queryValue(key, name, type, data, count);
    }
    void closeKey(platform::KeyHandle key) override
    {
        ++closes;
        m_registry.closeKey(key);
    }
    int opens = 0;
    int closes = 0;

private:
    platform::Win32Registry m_registry;
};

// The real launcher, recording what it started.
class RecordingLauncher final : public platform::Launcher
{
public:
    void start(const std::string &path) override
    {
        m_launcher.start(path);
        started.push_back(path);
    }
    std::vector<std::string> started;

private:
    platform::Win32Launcher m_launcher;
};

const char *const TestKey = R"(SOFTWARE\LuminakuTest)";

struct Read {
    bool ok = false;
    bool threw = false;
    std::string value = "keep";
};

Read read(const char *key, const char *name)
{
    CountingRegistry registry;
    Read r;
    try {
        r.ok = GetKeyValue(registry, platform::reg::LocalMachine, key, name, r.value);
    } catch (const RuntimeError &e) {
        r.threw = e.code() == RuntimeError::InvalidArgument;
    }
    check(registry.opens == registry.closes, std::string(name) + ": every key closed");
    return r;
}

void expectText(const char *name, const std::string &text)
{
    const Read r = read(TestKey, name);
    check(r.ok && !r.threw && r.value == text, std::string(name) + " reads as text");
}

void expectFalse(const char *key, const char *name)
{
    const Read r = read(key, name);
    check(!r.ok && !r.threw && r.value.empty(), std::string(name) + " is not read");
}

// The last raw byte as RegQueryValueExA gives it, to be sure of what was seeded.
int lastRawByte(const char *name)
{
    platform::Win32Registry registry;
    platform::KeyHandle key = 0;
    if (registry.openKey(platform::reg::LocalMachine, TestKey, platform::reg::QueryValue, key) != 0)
        return -1;
    unsigned char data[1024] = {};
    std::uint32_t type = 0, count = sizeof data;
    const std::int32_t result = registry.queryValue(key, name, type, data, count);
    registry.closeKey(key);
    return result == 0 && count > 0 ? data[count - 1] : -1;
}

template <typename F> bool throwsRuntimeError(F f)
{
    try {
        f();
    } catch (const RuntimeError &) {
        return true;
    }
    return false;
}

// reg adds a NUL to every string it stores; this one is stored with its exact byte count. So is
// RegSetValueExA when a NUL follows the counted bytes, so something else follows them here.
void seedUnterminated(const std::string &text)
{
    const std::string bytes = text + 'X';
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, TestKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "SzBare", 0, REG_SZ, reinterpret_cast<const BYTE *>(bytes.data()),
                   DWORD(text.size()));
    RegCloseKey(key);
}

void registryReads()
{
    const std::string tool = R"(C:\Program Files\MSInfo\msinfo32.exe)";
    seedUnterminated(tool);
    check(lastRawByte("SzNul") == 0, "SzNul was stored with its NUL");
    check(lastRawByte("SzBare") > 0, "SzBare was stored without a NUL");
    expectText("SzNul", tool);
    expectText("SzBare", tool);
    expectText("EmptySz", "");
    expectText("Exact", std::string(1023, 'x'));
    expectText("Dword", "&h1234ABCD");
    expectText("Binary", "keep");
    // Code page 932 comes back from the A calls only where it is the ANSI code page.
    check(GetACP() == 932, "ANSI code page is 932");
    expectText("Japanese", "C:\\ﾃｽﾄ\\日本語.exe");
    expectFalse(TestKey, "Long");
    expectFalse(TestKey, "Missing");
    expectFalse(R"(SOFTWARE\LuminakuTest\Missing)", "SzNul");
    const Read empty = read(TestKey, "EmptyBinary");
    check(empty.threw && empty.value == "keep", "EmptyBinary is the invalid-argument error");
}

void fileTest()
{
    platform::Win32FileTest test;
    check(test.dir(R"(C:\sys info\MSINFO32.EXE)") == "MSINFO32.EXE", "file test finds the tool");
    check(test.dir(R"(C:\sys info)").empty(), "file test passes over a folder");
    check(test.dir(R"(C:\sys info\none.exe)").empty(), "file test: missing file");
    check(throwsRuntimeError([&] { test.dir(R"(C:\sys info\a|b.exe)"); }),
          "file test rejects a malformed path");
    check(throwsRuntimeError([&] { test.dir(std::string("C:\\sys.exe\0x", 12)); }),
          "file test rejects a NUL inside");
}

void launcher()
{
    platform::Win32Launcher launcher;
    check(!throwsRuntimeError([&] { launcher.start(R"(C:\sys info\MSINFO32.EXE)"); }),
          "starts a program with a blank in its path");
    // C:\sys.exe exists: read as a command line, this path would start it.
    check(throwsRuntimeError([&] { launcher.start(R"(C:\sys info\missing.exe)"); }),
          "a blank never splits the path");
    check(throwsRuntimeError([&] { launcher.start(""); }), "an empty path starts nothing");
}

// The seeded location 2 names C:\sys info, which holds the tool.
void wholeLauncher()
{
    CountingRegistry registry;
    platform::Win32FileTest fileTest;
    RecordingLauncher launcher;
    std::vector<std::string> messages;
    StartSysInfo(
        SysInfoServices{registry, fileTest, launcher,
                        [&messages](const std::string &text, int) { messages.push_back(text); }});
    const std::string expected = std::string(R"(C:\sys info)") + R"(\MSINFO32.EXE)";
    check(launcher.started == std::vector<std::string>{expected} && messages.empty(),
          "StartSysInfo starts the tool in the folder of location 2");
    check(registry.opens == registry.closes, "StartSysInfo closes every key");
}

} // namespace

int main(int argc, char **argv)
{
    // Only the exact word runs the checks: a started copy, whatever it is given, just exits, so
    // even a launcher that splits its path cannot set off a chain of copies.
    if (argc != 2 || std::string(argv[1]) != "check") return 0;
    registryReads();
    fileTest();
    launcher();
    wholeLauncher();
    std::printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
