# What the stand-in portals of the tests share: the private session bus, the
# log of calls (one line a call), and answering a request as the desktop's
# portal does, by a Response signal on the request's own object.
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

DBusGMainLoop(set_as_default=True)
log_path, mode = sys.argv[1], sys.argv[2]
bus = dbus.SessionBus()


def log(line):
    with open(log_path, "a", encoding="utf-8") as f:
        f.write(line + "\n")


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, code, results):
        pass


def answer(sender, options, code, results):
    path = "/org/freedesktop/portal/desktop/request/%s/%s" % (sender[1:].replace(".", "_"), options["handle_token"])
    request = Request(bus, path)

    def respond():
        request.Response(dbus.UInt32(code), dbus.Dictionary(results, signature="sv"))
        request.remove_from_connection()
        return False

    GLib.idle_add(respond)
    return dbus.ObjectPath(path)


def serve(portal_class):
    portal_class(bus, "/org/freedesktop/portal/desktop")
    _name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
    log("ready")
    GLib.MainLoop().run()
