#!/usr/bin/python3
# Presses a button of a running program through the accessibility bus, as a
# screen reader or a dictation tool does: no key or pointer event reaches
# the program.
#   press_button.py "BUTTON'S NAME"
import sys
import time

import dbus

ACCESSIBLE = "org.a11y.atspi.Accessible"
name = sys.argv[1]
session = dbus.SessionBus()
address = session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(dbus_interface="org.a11y.Bus")
a11y = dbus.bus.BusConnection(address)


def find(bus_name, path, depth=0):
    node = a11y.get_object(bus_name, path)
    if node.Get(ACCESSIBLE, "Name", dbus_interface="org.freedesktop.DBus.Properties") == name:
        return node
    if depth > 40:
        return None
    for child_bus, child_path in node.GetChildren(dbus_interface=ACCESSIBLE):
        found = find(child_bus, child_path, depth + 1)
        if found is not None:
            return found
    return None


root = a11y.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
for _ in range(100):
    for app_bus, app_path in root.GetChildren(dbus_interface=ACCESSIBLE):
        try:
            button = find(app_bus, app_path)
        except dbus.DBusException:
            continue
        if button is not None:
            button.DoAction(0, dbus_interface="org.a11y.atspi.Action")
            sys.exit(0)
    time.sleep(0.1)
print("no button named %r" % name, file=sys.stderr)
sys.exit(1)
