// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
// The Windows binding against wine's registry, file system and process start. Run without the
// word "check" it is the tool that the launcher starts: it writes how it was asked to show its
// window (STARTUPINFO's flags and show command) beside itself, and exits. "animations-off"
// turns the desktop's animations off, as Settings does, for the game started next;
// "animations-on" turns them back on.
#include "shell/RuntimeError.h"
#include "shell/platform/Cp932.h"
#include "shell/platform/Win32Platform.h"
#include "windows/SysInfo.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace
{

const char *const TestKey = R"(SOFTWARE\LuminakuTest)";
const char *const FolderKey = R"(SOFTWARE\Microsoft\Shared Tools Location)";
int failures = 0;

void check(bool ok, const char *what)
{
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    failures += ok ? 0 : 1;
}

// Stores the first `size` bytes; the byte after them keeps advapi32 from adding a NUL.
void seed(const char *key, const char *name, DWORD type, std::string data, std::size_t size)
{
    data += 'X';
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, name, type, data.data(), DWORD(size));
}

// GetKeyValue on "keep": 1 True, 0 False, -1 the empty-value error.
bool reads(const char *name, int result, const std::string &value, const char *key = TestKey)
{
    platform::Win32Registry registry;
    std::string read = "keep";
    int got = -1;
    try {
        got = GetKeyValue(registry, platform::reg::LocalMachine, key, name, read);
    } catch (const RuntimeError &) {
    }
    return got == result && read == value;
}

bool throws(auto f)
{
    try {
        f();
    } catch (const RuntimeError &) {
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    // "decode FILE...": each file's bytes decoded from code page 932, as UTF-8 in hexadecimal,
    // a line each, for the test to compare with iconv's.
    if (argc > 1 && std::string(argv[1]) == "decode") {
        for (int i = 2; i < argc; ++i) {
            std::ifstream file(argv[i], std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(file), {}};
            for (const unsigned char c : platform::decodeCp932(bytes.data(), bytes.size()))
                std::printf("%02x", c);
            std::printf("\n");
        }
        return 0;
    }
    if (const std::string command = argc == 2 ? argv[1] : "";
        command == "animations-off" || command == "animations-on")
        return SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0,
                                     reinterpret_cast<PVOID>(INT_PTR(command == "animations-on")),
                                     SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
                   ? 0
                   : 1;
    if (argc != 2 || std::string(argv[1]) != "check") {
        STARTUPINFOW startup{};
        GetStartupInfoW(&startup);
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        if (FILE *shown = _wfopen((std::wstring(self) + L".shown").c_str(), L"w")) {
            std::fprintf(shown, "%lu %u\n", startup.dwFlags, unsigned(startup.wShowWindow));
            std::fclose(shown);
        }
        return 0;
    }
    const std::string tool = R"(C:\Program Files\MSInfo\msinfo32.exe)";
    const std::string folder = R"(C:\sys info)", japanese932 = "C:\\\xC3\xBD\xC4\\\x93\xFA\x96\x7B";
    seed(TestKey, "SzNul", REG_SZ, tool + '\0', tool.size() + 1);
    seed(TestKey, "SzBare", REG_SZ, tool, tool.size());
    seed(TestKey, "Long", REG_SZ, std::string(1100, 'x'), 1100);
    seed(TestKey, "Empty", REG_BINARY, "", 0);
    seed(TestKey, "Japanese", REG_SZ, japanese932 + '\0', japanese932.size() + 1);
    seed(FolderKey, "MSINFO", REG_SZ, folder + '\0', folder.size() + 1);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)");
    // The tool in that folder, and C:\sys.exe, where a path split at the blank would lead.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    CreateDirectoryW(LR"(C:\sys info)", nullptr);
    CopyFileW(self, LR"(C:\sys info\MSINFO32.EXE)", FALSE);
    CopyFileW(self, LR"(C:\sys.exe)", FALSE);

    check(GetACP() == 932, "the ANSI code page is 932");
    check(reads("SzNul", 1, tool), "a string with its NUL");
    check(reads("SzBare", 1, tool), "a string without a NUL");
    check(reads("Long", 0, ""), "over 1024 bytes is not read");
    check(reads("Missing", 0, ""), "a missing value");
    check(reads("SzNul", 0, "", R"(SOFTWARE\LuminakuTest\Missing)"), "a missing key");
    check(reads("Empty", -1, "keep"), "an empty value is the error");
    check(reads("Japanese", 1, "C:\\ﾃｽﾄ\\日本"), "a code page 932 path");

    platform::Win32Registry registry;
    platform::Win32FileTest files;
    platform::Win32Launcher launcher;
    check(files.dir(folder).empty(), "a folder is no file");
    check(throws([&] { files.dir(folder + "\\a|b"); }), "a malformed path is the error");
    check(throws([&] { launcher.start(folder + "\\none.exe"); }), "a blank never splits the path");
    std::string message;
    StartSysInfo(
        {registry, files, launcher, [&](const std::string &text, int) { message = text; }});
    check(message.empty(), "the tool starts from location 2's folder");
    unsigned long flags = 0;
    unsigned show = 0;
    int read = 0;
    for (int tries = 0; tries < 100 && read != 2; ++tries) { // the tool has 10 s to say
        Sleep(100);
        if (FILE *shown = std::fopen(R"(C:\sys info\MSINFO32.EXE.shown)", "r")) {
            read = std::fscanf(shown, "%lu %u", &flags, &show);
            std::fclose(shown);
        }
    }
    check(read == 2 && (flags & STARTF_USESHOWWINDOW) && show == SW_SHOWNORMAL,
          "the tool is asked for a normal, activated window");
    // Windows' "show animations" setting, read by the game at start.
    platform::Win32DesktopMotion motion;
    for (const BOOL animations : {TRUE, FALSE}) {
        SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0,
                              reinterpret_cast<PVOID>(INT_PTR(animations)), 0);
        int reduced = -1;
        motion.ask([&](bool answer) { reduced = answer; });
        check(reduced == !animations, animations ? "animations on: the original flashing"
                                                 : "animations off: calm flashing");
    }
    std::printf("%d failed\n", failures);
    return failures ? 1 : 0;
}
