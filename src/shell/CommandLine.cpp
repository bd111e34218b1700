// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include "AppInfo.h"
#include "platform/Console.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace
{

// The options Qt 6.4 takes out of the command line for itself: QCoreApplication,
// QGuiApplication, QApplication and the xcb plugin read them, with "-" or "--". They are passed
// over before Qt runs, so that what is certainly not Qt's is refused there, display or none.
struct QtOption {
    const char *name;
    bool value = false;  // takes the next argument
    bool equals = false; // also written -name=value
};
constexpr QtOption QtOptions[] = {
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"qwindowgeometry", true},
    {"qwindowtitle", true},
    {"qwindowicon", true},
    {"geometry", true},
    {"title", true},
    {"icon", true},
    {"plugin", true},
    {"session", true},
    {"style", true, true},
    {"stylesheet", true, true},
    {"qmljsdebugger", true, true},
    {"display", true},
    {"name", true},
    {"visual", true},
    {"reverse"},
    {"testability"},
    {"qdevel"},
    {"qdebug"},
    {"widgetcount"},
    {"nograb"},
    {"dograb"},
};

QStringList withoutQtOptions(const QStringList &arguments)
{
    QStringList rest = arguments.mid(0, 1);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const auto qt = std::find_if(std::begin(QtOptions), std::end(QtOptions), [&](auto &o) {
            return name == QLatin1String(o.name) ||
                   (o.equals && name.startsWith(QLatin1String(o.name) + QLatin1Char('=')));
        });
        if (!argument.startsWith(QLatin1Char('-')) || qt == std::end(QtOptions))
            rest << argument;
        else if (qt->value && name == QLatin1String(qt->name))
            ++i; // its value goes with it
    }
    return rest;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments, Pass pass)
{
    const QString program = QStringLiteral("luminaku");
    QCommandLineParser parser;
    // Qt's own options are single-dash words; ours read the same way (-calm is --calm).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("A small arcade game in Japanese: catch the falling drops in the bin.\n"
                       "Qt's own options, such as -platform and -style, are taken as well."));
    const QCommandLineOption calm(
        QStringLiteral("calm"),
        QStringLiteral("Flash the game-over window slowly, changing its colour at most three "
                       "times a second instead of fifty (for photosensitive players). This is "
                       "also the default where the desktop's animations are turned off."));
    const QCommandLineOption noCalm(
        QStringLiteral("no-calm"),
        QStringLiteral("Flash the game-over window fifty times a second, even where the "
                       "desktop's animations are turned off."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOptions({calm, noCalm, help, version});

    CommandLine result;
    const bool parsed =
        parser.parse(pass == Pass::BeforeQt ? withoutQtOptions(arguments) : arguments);
    if (parser.isSet(help)) {
        result.action = Action::Help;
        // Without an application object Qt cannot name the program in the usage line.
        result.text = parser.helpText().replace(QStringLiteral("<executable_name>"), program);
    } else if (parser.isSet(version)) {
        result.action = Action::Version;
        result.text = program + QLatin1Char(' ') + QLatin1String(AppInfo::VersionText) + '\n';
    } else if (!parsed) {
        result.action = Action::Error;
        // Our own words: Qt's error texts would come translated, the help does not.
        const QString what =
            !parser.unknownOptionNames().isEmpty()
                ? QStringLiteral("unknown option '%1'").arg(parser.unknownOptionNames().first())
                : QStringLiteral("an option given a value it does not take");
        result.text = QStringLiteral("%1: %2 (%1 --help lists the options)\n").arg(program, what);
    } else if (pass == Pass::AfterQt && !parser.positionalArguments().isEmpty()) {
        // A file dropped on the program, a path a launcher appends: the game reads none, and
        // starts all the same.
        result.text = QStringLiteral("%1: ignoring '%2' (the game opens no files)\n")
                          .arg(program, parser.positionalArguments().join(QStringLiteral("' '")));
    }
    for (const QString &name : parser.optionNames())
        if (name == calm.names().first() || name == noCalm.names().first())
            result.calm = name == calm.names().first();
    return result;
}

QStringList CommandLine::arguments(int argc, const char *const *argv)
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

int CommandLine::answer() const
{
    // A warning goes to standard error alone: nothing stands between the player and the game.
    if (action == Action::Play) {
        std::fputs(text.toLocal8Bit().constData(), stderr);
        std::fflush(stderr); // Windows buffers it when redirected, and the game runs on
    } else {
        platform::tell(text, action == Action::Error);
    }
    return action == Action::Error ? 2 : 0;
}
