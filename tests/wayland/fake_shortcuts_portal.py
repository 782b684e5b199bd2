#!/usr/bin/python3
# A GlobalShortcuts portal for the tests, on a private session bus: it
# answers as the desktop's portal does (every request by a Response signal on
# its request object), writes the conversation into a file, one line a call,
# and presses the bound shortcut when asked through org.vorlin.Test.Press.
#   fake_shortcuts_portal.py LOG grant|refuse
import dbus
import dbus.service

from portal_stub import answer, bus, log, mode, serve

IFACE = "org.freedesktop.portal.GlobalShortcuts"
sessions = {}  # path -> bound shortcut ids
counter = 0


class Session(dbus.service.Object):
    @dbus.service.method("org.freedesktop.portal.Session")
    def Close(self):
        log("Close %s" % self.__dbus_object_path__.rsplit("/", 1)[1])
        sessions.pop(self.__dbus_object_path__, None)
        self.remove_from_connection()


class Portal(dbus.service.Object):
    @dbus.service.method(IFACE, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        global counter
        counter += 1
        path = "/org/freedesktop/portal/desktop/session/%s/s%d" % (sender[1:].replace(".", "_"), counter)
        Session(bus, path)
        sessions[path] = []
        log("CreateSession s%d" % counter)
        return answer(sender, options, 0, {"session_handle": path})

    @dbus.service.method(IFACE, in_signature="oa(sa{sv})sa{sv}", out_signature="o", sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent, options, sender=None):
        log("BindShortcuts %s %s" % (session.rsplit("/", 1)[1],
                                     " ".join("%s=%s" % (i, p.get("preferred_trigger", "")) for i, p in shortcuts)))
        if mode == "refuse":
            return answer(sender, options, 1, {})
        sessions[str(session)] = [str(i) for i, _ in shortcuts]
        bound = dbus.Array([dbus.Struct((i, dbus.Dictionary({"description": p["description"],
                                                             "trigger_description": "Ctrl+Alt+V (test)"},
                                                            signature="sv")))
                            for i, p in shortcuts], signature="(sa{sv})")
        return answer(sender, options, 0, {"shortcuts": bound})

    @dbus.service.signal(IFACE, signature="osta{sv}")
    def Activated(self, session, shortcut, timestamp, options):
        pass

    @dbus.service.method("org.vorlin.Test")
    def Press(self):
        for path, ids in sessions.items():
            for i in ids:
                self.Activated(dbus.ObjectPath(path), i, dbus.UInt64(0), dbus.Dictionary({}, signature="sv"))

    @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return dbus.UInt32(1)


serve(Portal)
