// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "shell/Form.h"

// The title window: the game's name, the copyright line and the button that opens the playfield.
class frmOpening final : public Form
{
    Q_OBJECT
public:
    frmOpening();
    void cmdStartButton_Click();
};
