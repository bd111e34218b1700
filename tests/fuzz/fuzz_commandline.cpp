// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
// The command line, read before Qt starts and after: the input split at each NUL byte is the
// argument vector (the program's name first), any bytes and any number of arguments.
#include "shell/CommandLine.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size; ++i)
        data[i] ? void(words.back() += char(data[i])) : void(words.emplace_back());
    std::vector<const char *> argv;
    for (const std::string &word : words)
        argv.push_back(word.c_str());
    const QStringList arguments = CommandLine::arguments(int(argv.size()), argv.data());
    for (const auto pass : {CommandLine::Pass::BeforeQt, CommandLine::Pass::AfterQt}) {
        const CommandLine line = CommandLine::parse(arguments, pass);
        // Whatever stops the game says why, on one line or more ending with a newline.
        if (line.action != CommandLine::Action::Play && !line.text.endsWith(QLatin1Char('\n')))
            std::abort();
    }
    return 0;
}
