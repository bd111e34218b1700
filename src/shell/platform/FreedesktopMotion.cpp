// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "FreedesktopMotion.h"

#include "Services.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QFile>
#include <QStandardPaths>

#include <optional>
#include <utility>

namespace
{

using Answer = std::function<void(bool)>;

// One kdeglobals file: the factor, if the file sets it, and whether the file locks it against
// the files after it (the whole file, the [KDE] group or the entry marked [$i]).
struct KdeEntry {
    std::optional<double> factor;
    bool locked = false;
};

KdeEntry readKdeglobals(const QString &path)
{
    KdeEntry entry;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return entry;
    bool first = true, inKde = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        if (std::exchange(first, false) && line == "[$i]") {
            entry.locked = true;
            continue;
        }
        if (line.startsWith('[')) { // [KDE] or [KDE][$i]; [KDE][Sub] is another group
            inKde = line == "[KDE]" || line == "[KDE][$i]";
            entry.locked = entry.locked || line == "[KDE][$i]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inKde || equals < 0) continue;
        const QByteArray key = line.left(equals).trimmed();
        const qsizetype options = key.indexOf("[$"); // [$i] locks, [$e] expands
        if ((options < 0 ? key : key.left(options)) != "AnimationDurationFactor") continue;
        bool ok = false;
        const double factor = line.mid(equals + 1).trimmed().toDouble(&ok);
        if (ok) entry.factor = factor;
        entry.locked = entry.locked || (options >= 0 && key.indexOf('i', options) >= 0);
    }
    return entry;
}

// Asked with Read, which every version of the portal has (ReadOne came with version 2 and
// answers the same).
void askPortal(Answer answer)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return answer(false);
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("Read"));
    call << QStringLiteral("org.gnome.desktop.interface") << QStringLiteral("enable-animations");
    auto *watcher = new QDBusPendingCallWatcher(
        bus.asyncCall(call, platform::FreedesktopMotion::PortalTimeout));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [answer](QDBusPendingCallWatcher *done) {
                         done->deleteLater();
                         const QDBusPendingReply<QDBusVariant> reply = *done;
                         answer(
                             !reply.isError() &&
                             platform::FreedesktopMotion::portalAnimationsOff(reply.argumentAt(0)));
                     });
}

} // namespace

namespace platform
{

bool FreedesktopMotion::kdeAnimationsOff(const QStringList &files)
{
    std::optional<double> factor;
    for (auto file = files.crbegin(); file != files.crend(); ++file) {
        const KdeEntry entry = readKdeglobals(*file);
        if (entry.factor) factor = entry.factor;
        if (entry.locked) break;
    }
    return factor == 0.0;
}

bool FreedesktopMotion::portalAnimationsOff(const QVariant &value)
{
    QVariant inner = value;
    while (inner.userType() == qMetaTypeId<QDBusVariant>())
        inner = inner.value<QDBusVariant>().variant();
    return inner.userType() == QMetaType::Bool && !inner.toBool();
}

void FreedesktopMotion::ask(std::function<void(bool reduced)> answer)
{
    // KDE's own setting, from the files KDE reads: $XDG_CONFIG_HOME (or ~/.config), then
    // $XDG_CONFIG_DIRS (or /etc/xdg).
    if (kdeAnimationsOff(QStandardPaths::locateAll(QStandardPaths::GenericConfigLocation,
                                                   QStringLiteral("kdeglobals"))))
        return answer(true);
    askPortal(std::move(answer));
}

DesktopMotion &nativeDesktopMotion()
{
    static FreedesktopMotion motion;
    return motion;
}

} // namespace platform
