// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
// Build-time helper for packaging: turns the trefoil pixel art into the desktop icons and the
// Windows icon, and re-encodes the resource script in the code page its strings are read in.
//
//   iconkit png IN.xpm SIZE OUT.png   scale to SIZE x SIZE, nearest neighbour (pixel art stays
//                                     sharp)
//   iconkit ico OUT.ico IN.xpm...     one 16-colour (4 bpp) image per input, in that order
//   iconkit cp932 IN OUT              UTF-8 text to code page 932, refusing what 932 lacks
//
// Everything it writes depends on its inputs only, so the outputs are the same on every build.

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace
{

int fail(const QString &message)
{
    std::fprintf(stderr, "iconkit: %s\n", qPrintable(message));
    return 1;
}

std::optional<QImage> readArt(const QString &path)
{
    QImage image(path, "XPM");
    if (image.isNull()) return std::nullopt;
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// ---- png ----

int makePng(const QString &in, const QString &sizeText, const QString &out)
{
    bool ok = false;
    const int size = sizeText.toInt(&ok);
    if (!ok || size < 1 || size > 1024) return fail(QStringLiteral("bad size %1").arg(sizeText));
    const auto art = readArt(in);
    if (!art) return fail(QStringLiteral("cannot read %1").arg(in));
    const QImage scaled = art->scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!scaled.save(out, "PNG")) return fail(QStringLiteral("cannot write %1").arg(out));
    return 0;
}

// ---- ico ----

// The 16 colours of the Windows standard palette, in palette order; the art uses only these.
constexpr std::array<QRgb, 16> Palette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// Rows of a DIB are padded to whole 32-bit words.
int rowBytes(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// One icon image: BITMAPINFOHEADER, palette, 4-bit colour rows and the 1-bit transparency
// mask, both bottom row first. Transparent pixels are colour 0 with the mask bit set.
std::optional<QByteArray> iconImage(const QImage &art, QString &error)
{
    const int w = art.width();
    const int h = art.height();
    QByteArray colour(rowBytes(w, 4) * h, '\0');
    QByteArray mask(rowBytes(w, 1) * h, '\0');
    for (int y = 0; y < h; ++y) {
        const int row = h - 1 - y;
        for (int x = 0; x < w; ++x) {
            const QRgb pixel = art.pixel(x, y);
            if (qAlpha(pixel) == 0) {
                mask[row * rowBytes(w, 1) + x / 8] |= char(0x80 >> (x % 8));
                continue;
            }
            const auto it = std::find(Palette.begin(), Palette.end(), pixel & 0xFFFFFF);
            if (qAlpha(pixel) != 255 || it == Palette.end()) {
                error = QStringLiteral("pixel (%1,%2) is not one of the 16 colours").arg(x).arg(y);
                return std::nullopt;
            }
            const int index = int(it - Palette.begin());
            colour[row * rowBytes(w, 4) + x / 2] |= char(x % 2 ? index : index << 4);
        }
    }
    QByteArray out;
    put32(out, 40);    // biSize
    put32(out, w);     // biWidth
    put32(out, h * 2); // biHeight: colour rows and mask rows together
    put16(out, 1);     // biPlanes
    put16(out, 4);     // biBitCount
    put32(out, 0);     // biCompression: BI_RGB
    put32(out, quint32(colour.size() + mask.size()));
    for (int i = 0; i < 4; ++i)
        put32(out, 0); // resolution and colour counts: the defaults
    for (const QRgb c : Palette) {
        out.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    }
    return out + colour + mask;
}

int makeIco(const QString &out, const QStringList &inputs)
{
    QList<QImage> arts;
    QList<QByteArray> images;
    for (const QString &in : inputs) {
        const auto art = readArt(in);
        if (!art) return fail(QStringLiteral("cannot read %1").arg(in));
        if (art->width() > 256 || art->height() > 256)
            return fail(QStringLiteral("%1 is larger than an icon can be").arg(in));
        QString error;
        const auto image = iconImage(*art, error);
        if (!image) return fail(in + QStringLiteral(": ") + error);
        arts.append(*art);
        images.append(*image);
    }
    QByteArray file;
    put16(file, 0);                      // reserved
    put16(file, 1);                      // type: icon
    put16(file, quint16(images.size())); // image count
    quint32 offset = 6 + 16 * quint32(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        file.append(char(arts[i].width() & 0xFF)); // 256 is written as 0
        file.append(char(arts[i].height() & 0xFF));
        file.append(char(16)); // colours in the palette
        file.append('\0');
        put16(file, 1); // planes
        put16(file, 4); // bits per pixel
        put32(file, quint32(images[i].size()));
        put32(file, offset);
        offset += quint32(images[i].size());
    }
    for (const QByteArray &image : images)
        file += image;
    if (!writeFile(out, file)) return fail(QStringLiteral("cannot write %1").arg(out));
    return 0;
}

// ---- cp932 ----

std::optional<QByteArray> toCp932(const QString &text)
{
    // Qt reaches code page 932 through ICU where it has it (the Linux builds) ...
    QStringEncoder encoder("windows-31j");
    if (encoder.isValid()) {
        QByteArray bytes = encoder.encode(text);
        // Characters 932 lacks come out as substitutes: a round trip shows them.
        QStringDecoder decoder("windows-31j");
        if (encoder.hasError() || QString(decoder.decode(bytes)) != text) return std::nullopt;
        return bytes;
    }
#ifdef Q_OS_WIN
    // ... and through the system's own converter on Windows, whose Qt comes without ICU.
    const std::wstring wide = text.toStdWString();
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()),
                                      nullptr, 0, nullptr, &lossy);
    QByteArray bytes(n, '\0');
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), bytes.data(), n,
                        nullptr, &lossy);
    if (lossy) return std::nullopt;
    return bytes;
#else
    return std::nullopt;
#endif
}

int makeCp932(const QString &in, const QString &out)
{
    QFile file(in);
    if (!file.open(QIODevice::ReadOnly)) return fail(QStringLiteral("cannot read %1").arg(in));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(file.readAll());
    if (utf8.hasError()) return fail(QStringLiteral("%1 is not UTF-8").arg(in));
    const auto bytes = toCp932(text);
    if (!bytes) return fail(QStringLiteral("%1 has text that code page 932 cannot hold").arg(in));
    if (!writeFile(out, *bytes)) return fail(QStringLiteral("cannot write %1").arg(out));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const QString mode = args.value(0);
    if (mode == QLatin1String("png") && args.size() == 4) return makePng(args[1], args[2], args[3]);
    if (mode == QLatin1String("ico") && args.size() >= 3) return makeIco(args[1], args.mid(2));
    if (mode == QLatin1String("cp932") && args.size() == 3) return makeCp932(args[1], args[2]);
    return fail(QStringLiteral("usage: iconkit png IN.xpm SIZE OUT.png | ico OUT.ico IN.xpm... | "
                               "cp932 IN OUT"));
}
