// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "QtFileTest.h"

#include "shell/RuntimeError.h"

#include <QFileInfo>

namespace platform
{

QString pathFromUtf8(const std::string &path)
{
    if (path.find('\0') != std::string::npos) throw RuntimeError::invalidArgument();
    return QString::fromUtf8(path.data(), qsizetype(path.size()));
}

std::string QtFileTest::dir(const std::string &path)
{
    const QFileInfo info(pathFromUtf8(path));
    if (path.empty() || !info.isFile()) return {};
    return info.fileName().toStdString();
}

} // namespace platform
