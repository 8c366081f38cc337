#!/usr/bin/python3
"""A desktop notification server of the tests' own on the session bus.

usage: notification_server.py LOG

Owns org.freedesktop.Notifications, answers Notify like a real server, and appends each
notification to LOG as one JSON line ({"app", "summary", "body", "urgency", "icon"}).
Prints "ready" once the name is owned. Ends on SIGTERM.
"""
import json
import os
import sys

from gi.repository import GLib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bus_service import BusService  # noqa: E402

NAME = "org.freedesktop.Notifications"
PATH = "/org/freedesktop/Notifications"
INTERFACE_XML = """
<node>
  <interface name="org.freedesktop.Notifications">
    <method name="Notify">
      <arg type="s" direction="in"/><arg type="u" direction="in"/>
      <arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="s" direction="in"/><arg type="as" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/>
      <arg type="u" direction="out"/>
    </method>
    <method name="CloseNotification"><arg type="u" direction="in"/></method>
    <method name="GetCapabilities"><arg type="as" direction="out"/></method>
    <method name="GetServerInformation">
      <arg type="s" direction="out"/><arg type="s" direction="out"/>
      <arg type="s" direction="out"/><arg type="s" direction="out"/>
    </method>
  </interface>
</node>
"""


class Server(BusService):
    NAME, PATH, INTERFACE_XML = NAME, PATH, INTERFACE_XML

    def __init__(self, log_path):
        super().__init__()
        self.log_path = log_path
        self.next_id = 1

    def on_call(self, connection, sender, path, interface, method, parameters, invocation):
        if method == "Notify":
            app, _replaces, icon, summary, body, _actions, hints, _timeout = parameters.unpack()
            with open(self.log_path, "a") as log:
                log.write(json.dumps({"app": app, "summary": summary, "body": body,
                                      "urgency": hints.get("urgency"), "icon": icon}) + "\n")
            invocation.return_value(GLib.Variant("(u)", (self.next_id,)))
            self.next_id += 1
        elif method == "GetCapabilities":
            invocation.return_value(GLib.Variant("(as)", (["body"],)))
        elif method == "GetServerInformation":
            invocation.return_value(GLib.Variant("(ssss)", ("test", "corvane", "1", "1.2")))
        else:
            invocation.return_value(None)


if __name__ == "__main__":
    Server(sys.argv[1]).run()
