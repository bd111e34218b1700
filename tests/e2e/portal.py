#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
"""portal.py true|false [--delay S] [--read-one]: a stand-in for the desktop portal's settings on
the session bus (DBUS_SESSION_BUS_ADDRESS), answering org.gnome.desktop.interface
enable-animations. Read alone by default, answered as Debian 12's portal does (a variant within
a variant); --read-one adds ReadOne of newer portals. Says READY once it has its name."""

import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

SETTINGS = "org.freedesktop.portal.Settings"
animations = sys.argv[1] == "true"
delay = float(sys.argv[sys.argv.index("--delay") + 1]) if "--delay" in sys.argv else 0


class Settings(dbus.service.Object):
    def answer(self, namespace, key, reply, error, wrap):
        if (namespace, key) != ("org.gnome.desktop.interface", "enable-animations"):
            error(dbus.exceptions.DBusException("not found", name="org.freedesktop.portal.Error.NotFound"))
            return
        value = dbus.Boolean(animations, variant_level=2 if wrap else 1)
        GLib.timeout_add(int(delay * 1000), lambda: reply(value) and False)

    @dbus.service.method(SETTINGS, in_signature="ss", out_signature="v",
                         async_callbacks=("reply", "error"))
    def Read(self, namespace, key, reply, error):
        self.answer(namespace, key, reply, error, True)


class SettingsV2(Settings):
    @dbus.service.method(SETTINGS, in_signature="ss", out_signature="v",
                         async_callbacks=("reply", "error"))
    def ReadOne(self, namespace, key, reply, error):
        self.answer(namespace, key, reply, error, False)


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
(SettingsV2 if "--read-one" in sys.argv else Settings)(bus, "/org/freedesktop/portal/desktop")
print("READY", flush=True)
GLib.MainLoop().run()
