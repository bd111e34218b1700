// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include "AppInfo.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

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
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) {
        result.action = Action::Help;
        // Without an application object Qt cannot name the program in the usage line.
        result.text = parser.helpText().replace(QStringLiteral("<executable_name>"), program);
    } else if (parser.isSet(version)) {
        result.action = Action::Version;
        result.text = program + QLatin1Char(' ') + QLatin1String(AppInfo::VersionText) + '\n';
    } else if (pass == Pass::AfterQt && (!parsed || !parser.positionalArguments().isEmpty())) {
        result.action = Action::Error;
        // Our own words: Qt's error texts would come translated, the help does not.
        const QStringList given = parser.positionalArguments();
        const QString what =
            !given.isEmpty() ? QStringLiteral("unexpected argument '%1'").arg(given.first())
            : !parser.unknownOptionNames().isEmpty()
                ? QStringLiteral("unknown option '%1'").arg(parser.unknownOptionNames().first())
                : QStringLiteral("an option given a value it does not take");
        result.text = QStringLiteral("%1: %2 (%1 --help lists the options)\n").arg(program, what);
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
    std::fputs(text.toLocal8Bit().constData(), action == Action::Error ? stderr : stdout);
    return action == Action::Error ? 2 : 0;
}
