// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "shell/Application.h"
#include "shell/Forms.h"
#include "windows/frmOpening.h"

int main(int argc, char **argv)
{
    Application app(argc, argv);
    Forms::show<frmOpening>();
    return app.exec();
}
