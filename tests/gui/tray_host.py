#!/usr/bin/python3
"""A notification-area host of the tests' own on the session bus, as a desktop with a
tray (KDE) offers one.

usage: tray_host.py LOG

Owns org.kde.StatusNotifierWatcher, says that a host is registered, and appends the
service of each item that registers to LOG, one a line. Prints "ready" once the name is
owned. Ends on SIGTERM.
"""
import os
import sys

from gi.repository import GLib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bus_service import BusService  # noqa: E402

NAME = "org.kde.StatusNotifierWatcher"
PATH = "/StatusNotifierWatcher"
INTERFACE_XML = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
</node>
"""


class Host(BusService):
    NAME, PATH, INTERFACE_XML = NAME, PATH, INTERFACE_XML

    def __init__(self, log_path):
        super().__init__()
        self.log_path = log_path
        self.items = []

    def on_call(self, connection, sender, path, interface, method, parameters, invocation):
        if method == "RegisterStatusNotifierItem":
            (service,) = parameters.unpack()
            # An item may give only its object path; the caller's bus name is the service.
            item = service if not service.startswith("/") else sender + service
            self.items.append(item)
            with open(self.log_path, "a") as log:
                log.write(item + "\n")
            connection.emit_signal(None, PATH, NAME, "StatusNotifierItemRegistered",
                                   GLib.Variant("(s)", (item,)))
        invocation.return_value(None)

    def on_property(self, connection, sender, path, interface, name):
        if name == "RegisteredStatusNotifierItems":
            return GLib.Variant("as", self.items)
        if name == "IsStatusNotifierHostRegistered":
            return GLib.Variant("b", True)
        return GLib.Variant("i", 0)


if __name__ == "__main__":
    Host(sys.argv[1]).run()
