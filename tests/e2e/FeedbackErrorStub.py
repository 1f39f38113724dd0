# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""FeedbackErrorStub.py LOG RELEASE: a haptics service (org.sigxcpu.Feedback) that
answers every TriggerFeedback with an error, the first only once the file RELEASE
exists, and writes each call to LOG. Run it under dbus-run-session."""

import os
import sys

import dbus
import dbus.exceptions
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NAME = "org.sigxcpu.Feedback"
PATH = "/org/sigxcpu/Feedback"


class Refused(dbus.exceptions.DBusException):
    _dbus_error_name = "org.sigxcpu.Feedback.Error.Refused"


class Feedback(dbus.service.Object):
    def __init__(self, bus, log, release):
        super().__init__(bus, PATH)
        self.log = log
        self.release = release
        self.calls = 0

    @dbus.service.method(NAME, in_signature="ssa{sv}i", out_signature="u",
                         async_callbacks=("reply", "error"))
    def TriggerFeedback(self, app_id, event, hints, timeout, reply, error):
        self.calls += 1
        self.log.write(f"TriggerFeedback {app_id} {event}\n")
        self.log.flush()
        refuse = lambda: error(Refused("vibrations are refused here"))
        if self.calls > 1:
            refuse()
            return

        def when_released():
            if not os.path.exists(self.release):
                return True
            refuse()
            return False

        GLib.timeout_add(20, when_released)


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    with open(sys.argv[1], "a", encoding="utf-8") as log:
        feedback = Feedback(bus, log, sys.argv[2])
        name = dbus.service.BusName(NAME, bus, do_not_queue=True)
        GLib.MainLoop().run()
        del name, feedback
    return 0


if __name__ == "__main__":
    sys.exit(main())
