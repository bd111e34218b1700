// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Cp932.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace
{

constexpr std::string_view Replacement = "\xEF\xBF\xBD"; // U+FFFD

class Converter
{
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok()) iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool ok() const { return m_cd != iconv_t(-1); }

    // Converts all of `in`; calls `onInvalid` at each sequence it cannot convert, which must
    // step past it. Returns false if `onInvalid` does.
    template <typename OnInvalid>
    bool convert(std::string_view in, std::string &out, OnInvalid onInvalid)
    {
        // iconv's prototype takes char ** but does not write through it.
        char *src = const_cast<char *>(in.data());
        std::size_t srcLeft = in.size();
        std::array<char, 1024> chunk{};
        while (srcLeft > 0) {
            char *dst = chunk.data();
            std::size_t dstLeft = chunk.size();
            const std::size_t result = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(chunk.data(), std::size_t(dst - chunk.data()));
            if (result != std::size_t(-1) || errno == E2BIG) continue;
            // EILSEQ (not code page 932) or EINVAL (cut short at the end).
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
            if (!onInvalid(src, srcLeft)) return false;
        }
        return true;
    }

private:
    iconv_t m_cd;
};

} // namespace

namespace platform
{

std::string decodeCp932(const char *bytes, std::size_t size)
{
    std::string text;
    Converter converter("UTF-8", "CP932");
    if (!converter.ok()) {
        // No code page 932 on this system: keep what is plain ASCII.
        for (std::size_t i = 0; i < size; ++i) {
            if (static_cast<unsigned char>(bytes[i]) < 0x80)
                text += bytes[i];
            else
                text += Replacement;
        }
        return text;
    }
    converter.convert({bytes, size}, text, [&text](char *&src, std::size_t &left) {
        text += Replacement;
        ++src;
        --left;
        return true;
    });
    return text;
}

std::optional<std::string> encodeCp932(std::string_view utf8)
{
    std::string bytes;
    Converter converter("CP932", "UTF-8");
    // iconv also writes look-alikes for some characters that code page 932 lacks (¢ as ￠, ¥
    // as \): only text that decodes back unchanged is held, or a path would turn into another.
    if (!converter.ok() ||
        !converter.convert(utf8, bytes, [](char *&, std::size_t &) { return false; }) ||
        decodeCp932(bytes.data(), bytes.size()) != utf8)
        return std::nullopt;
    return bytes;
}

} // namespace platform
