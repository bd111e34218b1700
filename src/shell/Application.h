// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QProcessEnvironment>
#include <QStringList>

// The game's application object: platform settings, fonts and translations.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv);

    // The Japanese fonts the windows ask for by name, mapped to the ones this system has.
    static void registerFontSubstitutions();

    // The environment for the programs the game starts: the one it was given, without what it
    // set for itself.
    static QProcessEnvironment environmentForPrograms();

private:
    static inline QStringList s_ownVariables; // set by the game for itself
    // Settings that must be made before the platform starts; returns argc unchanged.
    static int &platformDefaults(int &argc);
};
