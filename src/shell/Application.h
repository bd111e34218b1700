#pragma once

#include <QApplication>

// The game's application object: fonts, translations, and the one place where an error that
// escapes a handler is reported before the program ends.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // The Japanese fonts the windows ask for by name, mapped to the ones this system has.
    static void registerFontSubstitutions();

private:
    // Settings that must be made before the platform starts; returns argc unchanged.
    static int &platformDefaults(int &argc);
    void fail(const QString &message);
    bool m_failed = false;
};
