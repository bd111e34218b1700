// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "frmOpening.h"

#include "game/frmMain.h"
#include "shell/Forms.h"
#include "shell/Runtime.h"

#include <QPushButton>

namespace
{

using layout::Control;
using layout::Kind;

// One control a row, in the window's own order, as the layout table gives them.
// clang-format off
constexpr Control Table[] = {
    {.name = "cmdStartButton", .kind = Kind::CommandButton, .left = 2400, .top = 2520,
     .width = 1215, .height = 375, .caption = "START!", .tabIndex = 0},
    {.name = "lblCopyRight", .kind = Kind::Label, .left = 720, .top = 1920, .width = 4335,
     .height = 375, .caption = "(C) 2026 The Luminaku developers",
     .font = layout::Font{"ＭＳ Ｐゴシック", 14.25, false}},
    {.name = "lblSubTitle", .kind = Kind::Label, .left = 720, .top = 1200, .width = 4335,
     .height = 375, .caption = "ホロワ村放射能汚染事故ゲーム", .font = layout::Font{"ＭＳ Ｐゴシック", 15.75, true}},
    {.name = "lblTitle", .kind = Kind::Label, .left = 1320, .top = 240, .width = 3015,
     .height = 735, .caption = "～ルミナク～", .font = layout::Font{"ＭＳ Ｐ明朝", 36, true}},
};
// clang-format on

} // namespace

frmOpening::frmOpening()
    : Form({.clientWidth = 6030,
            .clientHeight = 3195,
            .border = Border::FixedDialog,
            .icon = layout::Picture::Trefoil},
           Table)
{
    connect(m_controls.button("cmdStartButton"), &QPushButton::clicked, this,
            rt::handler([this] { cmdStartButton_Click(); }));
}

void frmOpening::cmdStartButton_Click()
{
    // The playfield is loaded before the title goes, so a window is open at every moment.
    Forms::show<frmMain>();
    Forms::unload(this);
}
