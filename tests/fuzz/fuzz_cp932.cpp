// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
// Code page 932 both ways: the input as code page 932 bytes (valid, invalid or cut short) and
// as UTF-8 text.
#include "shell/platform/Cp932.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    // Any bytes decode, to well-formed UTF-8.
    const std::string text = platform::decodeCp932(bytes.data(), bytes.size());
    if (QString::fromUtf8(text).toUtf8().toStdString() != text) std::abort();
    // Text that code page 932 holds comes back unchanged: the stand-in registry encodes the
    // paths it finds, and the launcher decodes them before it starts one.
    for (const std::string_view utf8 : {std::string_view(text), bytes})
        if (const auto encoded = platform::encodeCp932(utf8))
            if (platform::decodeCp932(encoded->data(), encoded->size()) != utf8) std::abort();
    return 0;
}
