#!/usr/bin/python3
"""portal_share.py PATH [--folder]: shares PATH through the document portal on
the session bus, as a sandboxed program's file chooser does, and prints the
document's ID. --folder shares a folder whole."""
import os
import sys

from gi.repository import Gio, GLib

REUSE, PERSISTENT, FOLDER = 1, 2, 8

path = sys.argv[1]
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
fds = Gio.UnixFDList.new()
index = fds.append(os.open(path, os.O_PATH | os.O_CLOEXEC))
flags = REUSE | PERSISTENT | (FOLDER if "--folder" in sys.argv else 0)
reply, _ = bus.call_with_unix_fd_list_sync(
    "org.freedesktop.portal.Documents", "/org/freedesktop/portal/documents",
    "org.freedesktop.portal.Documents", "AddFull",
    GLib.Variant("(ahusas)", ([index], flags, "", [])),
    None, Gio.DBusCallFlags.NONE, -1, fds, None)
print(reply.unpack()[0][0])
