// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Platform.h"

#include <QStringList>

class QVariant;

// The free desktops' animation setting: KDE Plasma's kdeglobals, then the XDG desktop portal's
// (GNOME's and every desktop with a portal). Either one saying the animations are off is enough.
namespace platform
{

class FreedesktopMotion final : public DesktopMotion
{
public:
    // How long the portal has to answer. The answer counts only when the first round ends, many
    // seconds after the start, and nothing waits for it meanwhile.
    static constexpr int PortalTimeout = 2000;

    void ask(std::function<void(bool reduced)> answer) override;

    // AnimationDurationFactor of the [KDE] group is 0 in the kdeglobals files, the most
    // important first, cascaded as KDE does: a later file gives way to an earlier one, except
    // where the later one locks the entry ([$i]).
    static bool kdeAnimationsOff(const QStringList &files);
    // The portal's enable-animations is false. Its Read answers a variant within a variant.
    static bool portalAnimationsOff(const QVariant &value);
};

} // namespace platform
