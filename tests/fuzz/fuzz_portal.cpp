// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
// The desktop portal's answer: a variant of any shape the input describes (booleans, numbers,
// strings, bytes, lists, maps and D-Bus variants), nested as deeply as the input goes.
#include "shell/platform/FreedesktopMotion.h"

#include <QDBusVariant>
#include <QVariant>

#include <fuzzer/FuzzedDataProvider.h>

namespace
{

QVariant build(FuzzedDataProvider &in, int depth)
{
    switch (depth > 2000 ? 0 : in.ConsumeIntegralInRange(0, 9)) {
    case 0:
        return in.ConsumeBool();
    case 1:
        return in.ConsumeIntegral<int>();
    case 2:
        return in.ConsumeIntegral<qulonglong>();
    case 3:
        return in.ConsumeFloatingPoint<double>();
    case 4:
        return QString::fromUtf8(in.ConsumeRandomLengthString(64));
    case 5: {
        QVariantList list;
        for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
            list << build(in, depth + 1);
        return list;
    }
    case 6: {
        QVariantMap map;
        for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
            map.insert(QString::fromUtf8(in.ConsumeRandomLengthString(8)), build(in, depth + 1));
        return map;
    }
    case 7:
        return QByteArray::fromStdString(in.ConsumeRandomLengthString(64));
    case 8:
        return QVariant();
    default:
        return QVariant::fromValue(QDBusVariant(build(in, depth + 1)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    platform::FreedesktopMotion::portalAnimationsOff(build(in, 0));
    return 0;
}
