#!/usr/bin/python3
# A RemoteDesktop portal for the tests, on a private session bus: it answers
# as the desktop's portal does (every request by a Response signal on its
# request object) and writes the conversation into a file, one line a call.
#   fake_portal.py LOG grant|refuse
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

DBusGMainLoop(set_as_default=True)
log_path, mode = sys.argv[1], sys.argv[2]
bus = dbus.SessionBus()
IFACE = "org.freedesktop.portal.RemoteDesktop"
starts = 0


def log(line):
    with open(log_path, "a", encoding="utf-8") as f:
        f.write(line + "\n")


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, code, results):
        pass


class Portal(dbus.service.Object):
    def answer(self, sender, options, code, results):
        path = "/org/freedesktop/portal/desktop/request/%s/%s" % (sender[1:].replace(".", "_"), options["handle_token"])
        request = Request(bus, path)

        def respond():
            request.Response(dbus.UInt32(code), dbus.Dictionary(results, signature="sv"))
            request.remove_from_connection()
            return False

        GLib.idle_add(respond)
        return dbus.ObjectPath(path)

    @dbus.service.method(IFACE, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        log("CreateSession")
        return self.answer(sender, options, 0, {"session_handle": "/org/freedesktop/portal/desktop/session/1/vorlin"})

    @dbus.service.method(IFACE, in_signature="oa{sv}", out_signature="o", sender_keyword="sender")
    def SelectDevices(self, session, options, sender=None):
        log("SelectDevices types=%d persist_mode=%d restore_token=%s"
            % (options["types"], options["persist_mode"], options.get("restore_token", "")))
        return self.answer(sender, options, 0, {})

    @dbus.service.method(IFACE, in_signature="osa{sv}", out_signature="o", sender_keyword="sender")
    def Start(self, session, parent, options, sender=None):
        global starts
        starts += 1
        log("Start")
        if mode == "refuse":
            return self.answer(sender, options, 1, {})
        return self.answer(sender, options, 0, {"devices": dbus.UInt32(1), "restore_token": "token-%d" % starts})

    @dbus.service.method(IFACE, in_signature="oa{sv}iu")
    def NotifyKeyboardKeysym(self, session, options, keysym, state):
        log("Key %d %s" % (keysym, "down" if state else "up"))

    @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return dbus.UInt32(7)


Portal(bus, "/org/freedesktop/portal/desktop")
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
log("ready")
GLib.MainLoop().run()
