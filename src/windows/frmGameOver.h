// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "shell/Form.h"

#include <cstdint>

class QTimer;

// Announces the end of a round, flashing in a random colour until OK is pressed.
class frmGameOver final : public Form
{
    Q_OBJECT
public:
    frmGameOver();

    void Form_Load() override;
    void Form_Unload() override;
    void tmrTimer1_Timer();
    void cmdOKButton_Click();

    // Calm flashing, for photosensitive players: the colour changes at most three times in any
    // second. A timer that runs late keeps its next tick on schedule, so two ticks can fall
    // closer together than the interval; only half a second or more guarantees three.
    static constexpr int CalmInterval = 500;
    static void setCalm(bool calm) { s_calm = calm; }

    // The colour (0x00BBGGRR) a random value in [0, 1) turns into.
    static std::uint32_t flashColor(float r);

protected:
    void closeRequested() override;

private:
    void setBackColor(QWidget *widget, std::uint32_t color);
    QTimer *m_tmrTimer1;
    static inline bool s_calm = false;
};
