// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "frmGameOver.h"

#include "shell/Accessible.h"
#include "shell/Convert.h"
#include "shell/Forms.h"
#include "shell/Random.h"
#include "shell/Runtime.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace
{

using layout::Control;
using layout::Kind;

// One control a row, in the window's own order, as the layout table gives them.
// clang-format off
constexpr Control Table[] = {
    {.name = "tmrTimer1", .kind = Kind::Timer, .interval = 20, .enabled = true},
    {.name = "cmdOKButton", .kind = Kind::CommandButton, .left = 2400, .top = 2520, .width = 1215,
     .height = 375, .caption = "OK", .tabIndex = 0},
    {.name = "lblTitle", .kind = Kind::Label, .left = 600, .top = 120, .width = 5055, .height = 735,
     .caption = "ルミナク事故発生!!", .backColor = layout::SystemButtonFace, .foreColor = 0x000000FF,
     .font = layout::Font{"ＭＳ Ｐ明朝", 36, true}},
    {.name = "lblGameOver", .kind = Kind::Label, .left = 1800, .top = 1080, .width = 2415,
     .height = 375, .caption = "GAME OVER", .backColor = layout::SystemButtonFace,
     .font = layout::Font{"ＭＳ Ｐゴシック", 20.25, true}},
    {.name = "lblTryAgain", .kind = Kind::Label, .left = 2400, .top = 1800, .width = 1215,
     .height = 375, .caption = "Try Again!", .backColor = layout::SystemButtonFace,
     .font = layout::Font{"ＭＳ Ｐゴシック", 14.25, false}},
};
// clang-format on

} // namespace

frmGameOver::frmGameOver()
    : Form({.clientWidth = 6030,
            .clientHeight = 3195,
            .border = Border::FixedDialog,
            .dialog = true},
           Table),
      m_tmrTimer1(m_controls.timer("tmrTimer1"))
{
    if (s_calm) m_tmrTimer1->setInterval(CalmInterval);
    accessible::describe(this); // a screen reader says the round is over
    // The flash colours the window and its labels; the OK button keeps its own colours, so it
    // must not take the window's as a child otherwise would.
    QPushButton *ok = m_controls.button("cmdOKButton");
    QPalette own = ok->palette();
    own.setResolveMask(~QPalette::ResolveMask(0));
    ok->setPalette(own);

    connect(m_tmrTimer1, &QTimer::timeout, this, rt::handler([this] { tmrTimer1_Timer(); }));
    connect(ok, &QPushButton::clicked, this, rt::handler([this] { cmdOKButton_Click(); }));
}

void frmGameOver::Form_Load()
{
    rt::random().randomize();
    m_tmrTimer1->start();
}

std::uint32_t frmGameOver::flashColor(float r)
{
    return std::uint32_t(convert::clng(double(r) * 16777216.0));
}

void frmGameOver::tmrTimer1_Timer()
{
    const std::uint32_t color = flashColor(rt::random().next());
    setBackColor(client(), color);
    setBackColor(m_controls.label("lblGameOver"), color);
    setBackColor(m_controls.label("lblTitle"), color);
    setBackColor(m_controls.label("lblTryAgain"), color);
}

void frmGameOver::setBackColor(QWidget *widget, std::uint32_t color)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, layout::color(color));
    widget->setPalette(pal);
}

void frmGameOver::cmdOKButton_Click()
{
    Forms::unload(this);
}

void frmGameOver::Form_Unload()
{
    // However the window goes (OK, its close button, destroyed from outside), the flashing
    // stops first.
    m_tmrTimer1->stop();
}

void frmGameOver::closeRequested()
{
    cmdOKButton_Click();
}
