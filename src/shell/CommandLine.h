// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The options the game answers on its command line. It is read twice: before QApplication,
// where --help, --version and an option that is neither the game's nor Qt's are answered (they
// need no window system), and after it, once Qt has taken its own options (-platform, -style,
// ...) out of the arguments.
struct CommandLine {
    enum class Action { Play, Help, Version, Error };
    enum class Pass { BeforeQt, AfterQt };

    Action action = Action::Play;
    QString text; // the help or version text, the one-line error, or a warning (Play)
    // --calm true, --no-calm false, the last of them given; neither: as the desktop asks.
    std::optional<bool> calm;

    static CommandLine parse(const QStringList &arguments, Pass pass);
    static QStringList arguments(int argc, const char *const *argv);

    // Shows the text (errors and warnings on standard error) and returns the exit status: 0,
    // or 2 for a command line the game does not understand.
    int answer() const;
};
