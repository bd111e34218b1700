// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Session.h"

#include "shell/Forms.h"
#include "shell/Runtime.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QWidget>

#include <X11/XKBlib.h>
#include <xcb/xcb.h>

namespace
{

// A window of the game destroyed from outside is gone for the player: its form is unloaded (the
// registry forgets it; the game ends with the last one), another window, a message box, closed
// as its title-bar button would. Qt then hides and destroys a window X no longer has; X answers
// with errors, which Qt only reports as debug output (qt.qpa.xcb).
void windowGone(QWidget *window)
{
    if (auto *form = qobject_cast<Form *>(window))
        Forms::unload(form);
    else
        window->close();
}

class DestroyedWindows final : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t") return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY) return false;
        const WId gone = static_cast<const xcb_destroy_notify_event_t *>(message)->window;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->internalWinId() == gone) // handled once Qt is done with the event
                QMetaObject::invokeMethod(window, rt::handler([window] { windowGone(window); }),
                                          Qt::QueuedConnection);
        return false;
    }
};

} // namespace

namespace platform::session
{

void attach()
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) return; // not on X11
    // X reports a held key as release/press pairs, which Qt matches by looking ahead in its
    // queue; a release read before its press has arrived passes as real, and the bin would
    // leave its column for a moment. Asked for detectable auto-repeat, the server sends
    // presses only, and a release when the key really goes up.
    if (Display *display = x11->display()) {
        Bool supported = False;
        XkbSetDetectableAutoRepeat(display, True, &supported);
    }
    static DestroyedWindows destroyed;
    qApp->installNativeEventFilter(&destroyed);
}

void setInTaskbar(QWidget *window, bool inTaskbar)
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return;
    xcb_connection_t *c = x11->connection();
    const auto atom = [c](const char *name) {
        auto cookie = xcb_intern_atom(c, false, uint16_t(qstrlen(name)), name);
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookie, nullptr);
        const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return found;
    };
    const xcb_atom_t state = atom("_NET_WM_STATE"), skip = atom("_NET_WM_STATE_SKIP_TASKBAR");
    const auto id = xcb_window_t(window->winId());
    // The window's own list of states, which Qt keeps when it maps the window (and which a
    // window manager reads then) ...
    auto cookie = xcb_get_property(c, false, id, state, XCB_ATOM_ATOM, 0, 32);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(c, cookie, nullptr);
    QList<xcb_atom_t> states;
    if (reply) {
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        states = QList<xcb_atom_t>(atoms, atoms + xcb_get_property_value_length(reply) / 4);
        free(reply);
    }
    states.removeAll(skip);
    if (!inTaskbar) states << skip;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.constData());
    if (!window->isVisible()) return;
    // ... and, once it is mapped, the window manager's, which is changed by asking it.
    xcb_client_message_event_t ask = {};
    ask.response_type = XCB_CLIENT_MESSAGE;
    ask.format = 32;
    ask.window = id;
    ask.type = state;
    ask.data.data32[0] = inTaskbar ? 0 : 1; // _NET_WM_STATE_REMOVE, _NET_WM_STATE_ADD
    ask.data.data32[1] = skip;
    ask.data.data32[3] = 1; // from an application
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_send_event(c, false, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&ask));
    xcb_flush(c);
}

} // namespace platform::session
