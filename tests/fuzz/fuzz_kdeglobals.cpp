// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
// KDE's kdeglobals files as the game cascades them: the input split at each form feed is the
// list of files (four at most), the most important first; an empty part is a file that is
// not there.
#include "shell/platform/FreedesktopMotion.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QTemporaryDir dir;
    const QList<QByteArray> parts =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)).split('\f');
    QStringList files;
    for (const QByteArray &part : parts.mid(0, 4)) {
        QFile file(files.emplace_back(dir.filePath(QString::number(files.size()))));
        file.remove();
        if (!part.isEmpty() && file.open(QIODevice::WriteOnly)) file.write(part);
    }
    platform::FreedesktopMotion::kdeAnimationsOff(files);
    return 0;
}
