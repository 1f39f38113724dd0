# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""FeedbackErrorStub.py LOG: a haptics service (org.sigxcpu.Feedback) that answers
every TriggerFeedback with an error and writes each call to LOG. Run it under
dbus-run-session."""

import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib


class Refused(dbus.exceptions.DBusException):
    _dbus_error_name = "org.sigxcpu.Feedback.Error.Refused"


class Feedback(dbus.service.Object):
    @dbus.service.method("org.sigxcpu.Feedback", in_signature="ssa{sv}i", out_signature="u")
    def TriggerFeedback(self, app_id, event, hints, timeout):
        with open(sys.argv[1], "a", encoding="utf-8") as log:
            log.write(f"TriggerFeedback {app_id} {event}\n")
        raise Refused("vibrations are refused here")


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
feedback = Feedback(bus, "/org/sigxcpu/Feedback")
name = dbus.service.BusName("org.sigxcpu.Feedback", bus, do_not_queue=True)
GLib.MainLoop().run()
