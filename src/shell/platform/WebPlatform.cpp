// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "WebPlatform.h"

#include "Services.h"
#include "shell/RuntimeError.h"

#include <QApplication>
#include <QDirIterator>
#include <QEvent>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QList>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

#include <emscripten.h>

namespace
{

// What a desktop's window manager would do, done for the page: tells the page once the game has
// ended, so that it can offer another one (in a browser the program keeps running after its
// last window has gone); gives the keys back to the window that had them when one closes; and
// opens each window in the middle of the page's screen (Qt for WebAssembly leaves it at the top
// left of the whole page).
class PageWatcher final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == qApp && event->type() == QEvent::Quit) {
            EM_ASM({
                if (Module.luminakuEnded) Module.luminakuEnded();
            });
        } else if (isGameWindow(watched) && event->type() == QEvent::WindowActivate) {
            m_recent.removeAll(static_cast<QWidget *>(watched));
            m_recent.prepend(static_cast<QWidget *>(watched));
        } else if (isGameWindow(watched) && event->type() == QEvent::Hide) {
            // Qt for WebAssembly gives the keys to no window when one closes; a desktop gives
            // them back to the window that had them before.
            QTimer::singleShot(0, this, [this] {
                for (const QPointer<QWidget> &window : std::as_const(m_recent)) {
                    if (window && window->isVisible()) {
                        window->activateWindow();
                        break;
                    }
                }
            });
        } else if (isGameWindow(watched) && event->type() == QEvent::Show) {
            auto *window = static_cast<QWidget *>(watched);
            if (window->screen()) {
                const QRect area = window->screen()->availableGeometry();
                const QSize frame = window->frameGeometry().size();
                window->move(area.x() + std::max(0, (area.width() - frame.width()) / 2),
                             area.y() + std::max(0, (area.height() - frame.height()) / 2));
            }
        }
        return false;
    }

private:
    static bool isGameWindow(QObject *object)
    {
        if (!object->isWidgetType()) return false;
        const Qt::WindowType type = static_cast<QWidget *>(object)->windowType();
        return type == Qt::Window || type == Qt::Dialog;
    }

    QList<QPointer<QWidget>> m_recent; // the windows that had the keys, the latest first
};

} // namespace

namespace platform
{

std::int32_t NoRegistry::openKey(std::uint32_t, const std::string &, std::uint32_t, KeyHandle &key)
{
    key = 0;
    return reg::FileNotFound;
}

std::int32_t NoRegistry::queryValue(KeyHandle, const std::string &, std::uint32_t &,
                                    unsigned char *, std::uint32_t &)
{
    return reg::InvalidHandle;
}

void NoRegistry::closeKey(KeyHandle) {}

std::string WebFileTest::dir(const std::string &path)
{
    const QFileInfo info(QString::fromUtf8(path.data(), qsizetype(path.size())));
    if (path.empty() || !info.isFile()) return {};
    return info.fileName().toStdString();
}

void NoLauncher::start(const std::string &)
{
    throw RuntimeError::invalidArgument();
}

void WebDesktopMotion::ask(std::function<void(bool reduced)> answer)
{
    const int reduced = EM_ASM_INT({
        return typeof matchMedia == 'function' &&
               matchMedia('(prefers-reduced-motion: reduce)').matches;
    });
    answer(reduced != 0);
}

Registry &nativeRegistry()
{
    static NoRegistry registry;
    return registry;
}

FileTest &nativeFileTest()
{
    static WebFileTest fileTest;
    return fileTest;
}

Launcher &nativeLauncher()
{
    static NoLauncher launcher;
    return launcher;
}

DesktopMotion &nativeDesktopMotion()
{
    static WebDesktopMotion motion;
    return motion;
}

} // namespace platform

namespace platform::web
{

void attach()
{
    // Subsets of the IPA fonts, with the very names the desktop finds installed.
    QDirIterator fonts(QStringLiteral(":/luminaku/fonts"));
    while (fonts.hasNext())
        QFontDatabase::addApplicationFont(fonts.next());
    // The font Qt uses on a Linux desktop where nothing sets one (Qt for WebAssembly would
    // take a larger Vera), with the Japanese fallback that desktop's fontconfig picks.
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QFont::insertSubstitution(QStringLiteral("DejaVu Sans"), QStringLiteral("IPAGothic"));
    qApp->installEventFilter(new PageWatcher(qApp));
}

} // namespace platform::web
