#!/usr/bin/python3
# A native Wayland window with one text view, as a mail composer would be:
# whatever arrives in it is written to the file named on the command line.
import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gtk

out = sys.argv[1]
window = Gtk.Window(title="Prijemce")
view = Gtk.TextView()
window.add(view)


def save(buffer):
    with open(out + ".part", "w", encoding="utf-8") as f:
        f.write(buffer.get_text(buffer.get_start_iter(), buffer.get_end_iter(), True))
    import os
    os.replace(out + ".part", out)


view.get_buffer().connect("changed", save)
window.connect("destroy", Gtk.main_quit)
window.show_all()
view.grab_focus()
Gtk.main()
