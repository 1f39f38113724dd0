# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""A stand-in for the session's screen saver, for tests.

Usage: ScreenSaverStub.py LOG COMMAND [ARGUMENT...]

Takes the name org.freedesktop.ScreenSaver on the session bus, then runs COMMAND
and ends with its exit status once it has ended. Every Inhibit and UnInhibit call
is written to LOG as a line of its own, at once:

    Inhibit <cookie> <application name>\t<reason>
    UnInhibit <cookie>

Run it under dbus-run-session, so the bus is the test's own.
"""

import subprocess
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NAME = "org.freedesktop.ScreenSaver"
PATH = "/org/freedesktop/ScreenSaver"


class ScreenSaver(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, PATH)
        self.log = log
        self.last_cookie = 0

    def record(self, line):
        self.log.write(line + "\n")
        self.log.flush()

    @dbus.service.method(NAME, in_signature="ss", out_signature="u")
    def Inhibit(self, application, reason):
        self.last_cookie += 1
        self.record(f"Inhibit {self.last_cookie} {application}\t{reason}")
        return self.last_cookie

    @dbus.service.method(NAME, in_signature="u", out_signature="")
    def UnInhibit(self, cookie):
        self.record(f"UnInhibit {cookie}")

    @dbus.service.method(NAME, in_signature="", out_signature="")
    def SimulateUserActivity(self):
        pass


def main():
    if len(sys.argv) < 3:
        sys.stderr.write("usage: ScreenSaverStub.py LOG COMMAND [ARGUMENT...]\n")
        return 2
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    with open(sys.argv[1], "a", encoding="utf-8") as log:
        name = dbus.service.BusName(NAME, bus, do_not_queue=True)
        service = ScreenSaver(bus, log)
        loop = GLib.MainLoop()
        child = subprocess.Popen(sys.argv[2:])
        status = []

        def ended(pid, wait_status):
            status.append(wait_status)
            # A call the command sent just before it ended may still be on its way:
            # one round trip through the bus brings it in, then the loop drains it.
            bus.list_names()
            GLib.timeout_add(200, loop.quit)

        GLib.child_watch_add(GLib.PRIORITY_DEFAULT, child.pid, ended)
        loop.run()
        del name, service
    code = status[0] if status else 1
    if code & 0x7F:
        return 128 + (code & 0x7F)
    return (code >> 8) & 0xFF


if __name__ == "__main__":
    sys.exit(main())
