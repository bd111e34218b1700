// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "WebPlatform.h"

#include "Platform.h"
#include "QtFileTest.h"
#include "Services.h"
#include "shell/Runtime.h"
#include "shell/RuntimeError.h"

#include <QApplication>
#include <QBackingStore>
#include <QDirIterator>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QList>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <private/qhighdpiscaling_p.h>
#include <qpa/qplatformscreen.h>
#include <qpa/qplatformwindow.h>

#include <algorithm>
#include <utility>

#include <emscripten.h>

EM_JS(void, luminaku_tell_page_ended, (const char *error), {
    if (Module.luminakuEnded) Module.luminakuEnded(error ? UTF8ToString(error) : undefined);
});

// Qt 6.4 keeps a touch the browser cancels (a system gesture took it over) as still down: the
// next finger given the same number (Chromium numbers them from 0 again) counts as that one
// moving, and Qt drops its events until it lifts. Lifting the cancelled fingers after the cancel,
// which Qt takes as the end of a touch already cancelled, lets go of them.
EM_JS(void, luminaku_lift_cancelled_touches, (), {
    for (const canvas of Module.qtContainerElements || []) {
        canvas.addEventListener(
            'touchcancel', function(e) {
                try {
                    canvas.dispatchEvent(new TouchEvent('touchend', {
                        changedTouches : Array.from(e.changedTouches),
                        touches : [],
                        targetTouches : [],
                        bubbles : true,
                        cancelable : true
                    }));
                } catch (error) {
                    // Without the TouchEvent constructor the cancelled touch stays as Qt keeps it.
                }
            });
    }
});

namespace
{

using namespace platform;

// Every key is missing.
class NoRegistry final : public Registry
{
public:
    std::int32_t openKey(std::uint32_t, const std::string &, std::uint32_t, KeyHandle &key) override
    {
        key = 0;
        return reg::FileNotFound;
    }
    std::int32_t queryValue(KeyHandle, const std::string &, std::uint32_t &, unsigned char *,
                            std::uint32_t &) override
    {
        return reg::InvalidHandle;
    }
    void closeKey(KeyHandle) override {}
};

class NoLauncher final : public Launcher
{
public:
    void start(const std::string &) override { throw RuntimeError::invalidArgument(); }
};

// The browser's "reduce motion" preference, which it takes from the desktop or its own settings.
class WebDesktopMotion final : public DesktopMotion
{
public:
    void ask(std::function<void(bool reduced)> answer) override
    {
        answer(EM_ASM_INT({
                   return typeof matchMedia == 'function' &&
                          matchMedia('(prefers-reduced-motion: reduce)').matches;
               }) != 0);
    }
};

// Tells the page once that the game has ended (in a browser the program keeps running after its
// last window has gone), with the message the player saw when an error ended it, so that it can
// say so and offer another game: Module.luminakuEnded(message or undefined).
void tellEnded(const QString &error = {})
{
    static bool told = false;
    if (std::exchange(told, true)) return;
    luminaku_tell_page_ended(error.isNull() ? nullptr : error.toUtf8().constData());
}

// The largest windows, in device-independent pixels without their frames: the playfield below its
// menu bar, and the dialogs that open over it (the game-over and version windows, message boxes).
// The title window (402 x 213) is as wide as a dialog and never shares the screen.
constexpr QSize Playfield(312, 232);
constexpr QSize Dialog(402, 237);

// How the windows share a screen the game fills: one factor for all, the playfield with a dialog
// above the other one (portrait) or beside it (landscape), whichever lets them be larger.
struct Fit {
    qreal factor = 1;
    bool fills = false;
    Qt::Orientation parts = Qt::Vertical;
};

Fit fitTo(QSizeF screen, QMargins frame)
{
    // A pixel each way for Qt's rounding of a scaled window to the page's pixels.
    const QSizeF frames(frame.left() + frame.right() + 2, frame.top() + frame.bottom() + 2);
    const qreal stacked =
        std::min((screen.width() - frames.width()) / std::max(Playfield.width(), Dialog.width()),
                 (screen.height() - 2 * frames.height()) / (Playfield.height() + Dialog.height()));
    const qreal beside = std::min(
        (screen.width() - 2 * frames.width()) / (Playfield.width() + Dialog.width()),
        (screen.height() - frames.height()) / std::max(Playfield.height(), Dialog.height()));
    // A screen that holds every window at its design size keeps them so, as a desktop does; a
    // touch screen (a phone, a tablet) is one the game fills.
    const bool touch = EM_ASM_INT(
        { return typeof matchMedia == 'function' && matchMedia('(pointer: coarse)').matches; });
    const qreal best = std::max(stacked, beside);
    if (!touch && best >= 1) return {};
    return {best, true, stacked >= beside ? Qt::Vertical : Qt::Horizontal};
}

// What a desktop's window manager would do, done for the page: tells the page once the game has
// ended; gives the keys back to the window that had them when one closes; and opens each window
// where the page's screen shows it whole (Qt for WebAssembly leaves it at the top left of the
// page). On a screen that holds every window at its design size (a desktop browser), each opens
// in the middle. A screen the game fills (a phone's, or any too small) is shared: Qt's high-DPI
// scaling sizes every window by one factor, sharp at the screen's pixel ratio, for the playfield
// and a dialog over it to be seen whole at once; the frames (the title window, the playfield) open
// in the first part of the screen, the dialogs in the second, so that the playfield and its
// boards stay in view when the game-over window opens.
class PageWatcher final : public QObject
{
public:
    explicit PageWatcher(QObject *parent) : QObject(parent)
    {
        QScreen *screen = QGuiApplication::primaryScreen();
        // The canvas resized (a phone turned round): fitted again once Qt has taken it in.
        connect(screen, &QScreen::geometryChanged, this,
                [this] { QTimer::singleShot(0, this, [this] { refit(); }); });
    }
    // The program ended without a Quit, before its event loop ran (a bad option).
    ~PageWatcher() override { tellEnded(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == qApp && event->type() == QEvent::Quit) {
            tellEnded();
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
            if (!refit(window)) place(window);
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

    static QList<QWidget *> shownWindows()
    {
        QList<QWidget *> shown;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (isGameWindow(window) && window->isVisible() && window->windowHandle())
                shown << window;
        return shown;
    }

    // The factor for the screen as it is now; when it changed, every window shown is sized and
    // placed again. `showing`, a window being shown, counts as shown. True if it placed them.
    bool refit(QWidget *showing = nullptr)
    {
        QList<QWidget *> windows = shownWindows();
        if (showing && !windows.contains(showing)) windows << showing;
        if (windows.isEmpty()) return false; // the frame is measured on a window
        QScreen *screen = QGuiApplication::primaryScreen();
        const Fit fit = fitTo(screen->handle()->geometry().size(),
                              windows[0]->windowHandle()->handle()->frameMargins());
        const bool changed = !qFuzzyCompare(fit.factor, m_fit.factor);
        m_fit = fit;
        // A desktop's windows stay where they are (the player may have moved them); a screen the
        // game fills is shared out again as it turns.
        if (!changed && (showing || !fit.fills)) return false;
        if (changed) QHighDpiScaling::setScreenFactor(screen, fit.factor);
        for (QWidget *window : std::as_const(windows)) {
            place(window);
            // Drawn again at the new pixel ratio, into a picture of the new size: Qt 6.4 for
            // WebAssembly would keep the old one and draw the window garbled.
            window->backingStore()->resize(window->size());
            for (QWidget *part : window->findChildren<QWidget *>())
                part->update();
            window->repaint();
        }
        return true;
    }

    void place(QWidget *window) const
    {
        QWindow *handle = window->windowHandle();
        const QRect screen = handle->screen()->availableGeometry();
        const QMargins frame = handle->frameMargins();
        const QSize size = window->size().grownBy(frame);
        QRect part = screen;
        if (m_fit.fills) {
            // Each part as large as its window needs, and half of what is left over.
            const bool frames = window->windowType() == Qt::Window;
            const auto length = [&](QSize s) {
                return m_fit.parts == Qt::Vertical ? s.grownBy(frame).height()
                                                   : s.grownBy(frame).width();
            };
            const int total = m_fit.parts == Qt::Vertical ? screen.height() : screen.width();
            const int first = length(Playfield) + (total - length(Playfield) - length(Dialog)) / 2;
            if (m_fit.parts == Qt::Vertical)
                part = frames ? screen.adjusted(0, 0, 0, first - total)
                              : screen.adjusted(0, first, 0, 0);
            else
                part = frames ? screen.adjusted(0, 0, first - total, 0)
                              : screen.adjusted(first, 0, 0, 0);
        }
        QRect at = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, part);
        // Whole on the screen, even where its part is smaller than it.
        at.moveLeft(std::clamp(at.left(), screen.left(),
                               std::max(screen.left(), screen.right() - at.width() + 1)));
        at.moveTop(std::clamp(at.top(), screen.top(),
                              std::max(screen.top(), screen.bottom() - at.height() + 1)));
        handle->setGeometry(at.marginsRemoved(frame));
        // The widget told at once too: a message box fits itself to its text after it shows, and
        // would go back where Qt first put it.
        window->move(at.topLeft());
    }

    Fit m_fit;
    QList<QPointer<QWidget>> m_recent; // the windows that had the keys, the latest first
};

} // namespace

namespace platform
{

Registry &nativeRegistry()
{
    static NoRegistry registry;
    return registry;
}

FileTest &nativeFileTest()
{
    static QtFileTest fileTest; // the page's own in-memory file system, which holds no programs
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
    luminaku_lift_cancelled_touches();
    rt::setOnFailure([](const QString &message) { tellEnded(message); });
}

} // namespace platform::web
