// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
// The desktop portal's answer: a variant of the shape the input gives (booleans, numbers,
// strings, bytes, lists, maps, D-Bus variants, nothing), nested as deeply as the input goes.
#include "shell/platform/FreedesktopMotion.h"

#include <QDBusVariant>

#include <fuzzer/FuzzedDataProvider.h>

namespace
{

QVariant build(FuzzedDataProvider &in, int depth = 0)
{
    const auto text = [&] { return in.ConsumeRandomLengthString(64); };
    switch (depth > 2000 ? 0 : in.ConsumeIntegralInRange(0, 8)) {
    case 0:
        return in.ConsumeBool();
    case 1:
        return in.ConsumeIntegral<int>();
    case 2:
        return in.ConsumeFloatingPoint<double>();
    case 3:
        return QString::fromStdString(text());
    case 4:
        return QByteArray::fromStdString(text());
    case 5: {
        QVariantList list;
        while (in.ConsumeBool())
            list << build(in, depth + 1);
        return list;
    }
    case 6: {
        QVariantMap map;
        while (in.ConsumeBool())
            map.insert(QString::fromStdString(text()), build(in, depth + 1));
        return map;
    }
    case 7:
        return {};
    default:
        return QVariant::fromValue(QDBusVariant(build(in, depth + 1)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    platform::FreedesktopMotion::portalAnimationsOff(build(in));
    return 0;
}
