// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Application.h"

#include "AppInfo.h"
#include "platform/Session.h"

#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

int &Application::platformDefaults(int &argc)
{
    // The windows are small and repainted often; handing each frame to the X server through
    // shared memory costs an extra wake-up and round trip per paint, which measured here as
    // most of the game's processor use. A plain image transfer is cheaper at this size.
    // Only for X11, the platform chosen as Qt chooses it: QT_QPA_PLATFORM, else the session
    // type. The programs the game starts do not get it (environmentForPrograms).
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool xcb =
        platform.isEmpty() ? qgetenv("XDG_SESSION_TYPE") != "wayland" : platform.startsWith("xcb");
    if (xcb && !qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
        s_ownVariables << QStringLiteral("QT_XCB_NO_MITSHM");
    }
    return argc;
}

QProcessEnvironment Application::environmentForPrograms()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : s_ownVariables)
        environment.remove(name);
    return environment;
}

Application::Application(int &argc, char **argv) : QApplication(platformDefaults(argc), argv)
{
    // Qt names the windows' class after the application (WM_CLASS on X11), which must be plain
    // ASCII; the captions carry the title. No display name: Qt would append it to every caption.
    setApplicationName(QString::fromLatin1(AppInfo::WindowClass));
    setApplicationVersion(QString::fromLatin1(AppInfo::VersionText));
    // Ties the windows to the desktop entry (Wayland has no other way to match them).
    setDesktopFileName(QString::fromLatin1(AppInfo::AppId));
    setQuitOnLastWindowClosed(false); // the window registry decides when the game ends
    registerFontSubstitutions();

    // The message boxes speak Japanese like the rest of the game.
    auto *translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    platform::session::attach();
}

void Application::registerFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"),
                               {QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP")});
}
