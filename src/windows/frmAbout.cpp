// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "frmAbout.h"

#include "AppInfo.h"
#include "shell/Accessible.h"
#include "shell/Convert.h"
#include "shell/Forms.h"
#include "shell/Runtime.h"
#include "shell/platform/Services.h"
#include "windows/SysInfo.h"

#include <QLabel>
#include <QPushButton>

namespace
{

using layout::Control;
using layout::Kind;

// One control a row, in the window's own order, as the layout table gives them.
// clang-format off
constexpr Control Table[] = {
    {.name = "picIcon", .kind = Kind::PictureBox, .left = 240, .top = 240, .width = 540,
     .height = 540, .picture = layout::Picture::Trefoil, .tabIndex = 1},
    {.name = "cmdOK", .kind = Kind::CommandButton, .left = 4245, .top = 2625, .width = 1380,
     .height = 345, .caption = "OK", .tabIndex = 0, .isDefault = true, .isCancel = true},
    {.name = "cmdSysInfo", .kind = Kind::CommandButton, .left = 4260, .top = 3075, .width = 1380,
     .height = 345, .caption = "ｼｽﾃﾑ情報(&S)...", .tabIndex = 2},
    {.name = "Line1", .kind = Kind::Line, .index = 1, .left = 90, .top = 2445,
     .foreColor = 0x808080, .x2 = 5654, .y2 = 2445, .lineWidth = 1},
    {.name = "lblDescription", .kind = Kind::Label, .left = 1050, .top = 1125, .width = 3885,
     .height = 1170,
     .caption = "(C) 2026 The Luminaku developers. A small arcade game: catch the falling "
                "drops in the bin before three of them get past.",
     .foreColor = 0x000000},
    {.name = "lblTitle", .kind = Kind::Label, .left = 1050, .top = 240, .width = 3885,
     .height = 480, .caption = "ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ", .foreColor = 0x000000,
     .font = layout::Font{"ＭＳ Ｐゴシック", 9.75, false}},
    {.name = "Line1", .kind = Kind::Line, .index = 0, .left = 105, .top = 2460,
     .foreColor = 0xFFFFFF, .x2 = 5654, .y2 = 2460, .lineWidth = 2},
    {.name = "lblVersion", .kind = Kind::Label, .left = 1050, .top = 780, .width = 3885,
     .height = 225, .caption = "ﾊﾞｰｼﾞｮﾝ"},
    {.name = "lblDisclaimer", .kind = Kind::Label, .left = 255, .top = 2625, .width = 3870,
     .height = 825, .caption = "", .foreColor = 0x000000},
};
// clang-format on

QString number(int n)
{
    return QString::fromStdString(convert::strI2(std::int16_t(n)));
}

} // namespace

frmAbout::frmAbout()
    : Form({.clientWidth = 5730,
            .clientHeight = 3555,
            .border = Border::FixedDialog,
            .caption = "ﾊﾞｰｼﾞｮﾝ情報",
            .dialog = true},
           Table)
{
    m_controls.widget("picIcon")->setAccessibleName(QStringLiteral("放射能マーク"));
    accessible::hide(m_controls.widget("lblDisclaimer")); // empty: nothing to read
    accessible::describe(this); // the version and the notice heard with the title

    connect(m_controls.button("cmdOK"), &QPushButton::clicked, this,
            rt::handler([this] { cmdOK_Click(); }));
    connect(m_controls.button("cmdSysInfo"), &QPushButton::clicked, this,
            rt::handler(&frmAbout::cmdSysInfo_Click));
}

void frmAbout::Form_Load()
{
    const QString title = QString::fromUtf8(AppInfo::Title);
    setWindowTitle(title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    layout::setCaption(m_controls.label("lblVersion"),
                       QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + number(AppInfo::Major) + QLatin1Char('.') +
                           number(AppInfo::Minor) + QLatin1Char('.') + number(AppInfo::Revision));
    layout::setCaption(m_controls.label("lblTitle"), title);
}

void frmAbout::cmdOK_Click()
{
    Forms::unload(this);
}

void frmAbout::cmdSysInfo_Click()
{
    // The launcher on this platform's services, telling the player through the game's box.
    StartSysInfo(SysInfoServices{
        platform::registry(), platform::fileTest(), platform::launcher(),
        [](const std::string &text, int style) {
            rt::msgBox(QString::fromUtf8(text.data(), qsizetype(text.size())), style);
        }});
}
