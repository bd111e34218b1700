// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "shell/Form.h"

// Version information: the title, the version and the notice, and a button that starts the
// system's own information tool.
class frmAbout final : public Form
{
    Q_OBJECT
public:
    frmAbout();

    void Form_Load() override;
    void cmdOK_Click();
    static void cmdSysInfo_Click(); // needs nothing of the window
};
