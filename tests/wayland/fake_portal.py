#!/usr/bin/python3
# A RemoteDesktop portal for the tests, on a private session bus: it answers
# as the desktop's portal does (every request by a Response signal on its
# request object) and writes the conversation into a file, one line a call.
#   fake_portal.py LOG grant|refuse
import dbus
import dbus.service

from portal_stub import answer, bus, log, mode, serve

IFACE = "org.freedesktop.portal.RemoteDesktop"
starts = 0


class Portal(dbus.service.Object):
    @dbus.service.method(IFACE, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        log("CreateSession")
        return answer(sender, options, 0, {"session_handle": "/org/freedesktop/portal/desktop/session/1/vorlin"})

    @dbus.service.method(IFACE, in_signature="oa{sv}", out_signature="o", sender_keyword="sender")
    def SelectDevices(self, session, options, sender=None):
        log("SelectDevices types=%d persist_mode=%d restore_token=%s"
            % (options["types"], options["persist_mode"], options.get("restore_token", "")))
        return answer(sender, options, 0, {})

    @dbus.service.method(IFACE, in_signature="osa{sv}", out_signature="o", sender_keyword="sender")
    def Start(self, session, parent, options, sender=None):
        global starts
        starts += 1
        log("Start")
        if mode == "refuse":
            return answer(sender, options, 1, {})
        return answer(sender, options, 0, {"devices": dbus.UInt32(1), "restore_token": "token-%d" % starts})

    @dbus.service.method(IFACE, in_signature="oa{sv}iu")
    def NotifyKeyboardKeysym(self, session, options, keysym, state):
        log("Key %d %s" % (keysym, "down" if state else "up"))

    @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return dbus.UInt32(7)


serve(Portal)
