#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
"""portal.py true|false: a stand-in for the desktop portal's settings on the session bus
(DBUS_SESSION_BUS_ADDRESS) answering org.gnome.desktop.interface enable-animations, as Debian
12's portal does: Read alone (no ReadOne), a variant within a variant. Says READY when named."""

import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib


class Settings(dbus.service.Object):
    @dbus.service.method("org.freedesktop.portal.Settings", in_signature="ss", out_signature="v")
    def Read(self, namespace, key):
        if (namespace, key) != ("org.gnome.desktop.interface", "enable-animations"):
            raise dbus.exceptions.DBusException("not found", name="org.freedesktop.portal.Error.NotFound")
        return dbus.Boolean(sys.argv[1] == "true", variant_level=2)


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
Settings(bus, "/org/freedesktop/portal/desktop")
print("READY", flush=True)
GLib.MainLoop().run()
