// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "shell/Application.h"
#include "shell/Calm.h"
#include "shell/CommandLine.h"
#include "shell/Forms.h"
#include "shell/platform/Services.h"
#include "windows/frmGameOver.h"
#include "windows/frmOpening.h"

int main(int argc, char **argv)
{
    // --help, --version and unknown options are answered before Qt looks for a display: a
    // terminal may have none.
    const CommandLine early =
        CommandLine::parse(CommandLine::arguments(argc, argv), CommandLine::Pass::BeforeQt);
    if (early.action != CommandLine::Action::Play) return early.answer();

    Application app(argc, argv); // takes Qt's own options out of the arguments
    // Qt's reading of them, in Unicode on Windows too (argv holds them in the ANSI code page).
    const CommandLine options =
        CommandLine::parse(QCoreApplication::arguments(), CommandLine::Pass::AfterQt);
    if (options.action != CommandLine::Action::Play) return options.answer();
    options.answer(); // a warning, if the game was given arguments it does not read

    Forms::show<frmOpening>();
    // After the first window: the desktop may take its time to answer.
    decideCalm(options.calm, platform::desktopMotion(), frmGameOver::setCalm);
    return app.exec();
}
