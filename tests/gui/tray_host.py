#!/usr/bin/python3
"""A notification-area host of the tests' own on the session bus, as a desktop with a
tray (KDE) offers one.

usage: tray_host.py LOG

Owns org.kde.StatusNotifierWatcher, says that a host is registered, and appends the
service of each item that registers to LOG, one a line. Prints "ready" once the name is
owned. Ends on SIGTERM.
"""
import signal
import sys

from gi.repository import Gio, GLib

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


class Host:
    def __init__(self, log_path):
        self.log_path = log_path
        self.items = []
        self.loop = GLib.MainLoop()
        self.interface = Gio.DBusNodeInfo.new_for_xml(INTERFACE_XML).interfaces[0]
        self.owned = False

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

    def on_bus(self, connection, name):
        connection.register_object(PATH, self.interface, self.on_call, self.on_property, None)

    def on_name(self, connection, name):
        self.owned = True
        print("ready", flush=True)

    def on_lost(self, connection, name):
        if not self.owned:
            print("could not own %s" % NAME, file=sys.stderr, flush=True)
        self.loop.quit()

    def run(self):
        Gio.bus_own_name(Gio.BusType.SESSION, NAME, Gio.BusNameOwnerFlags.NONE,
                         self.on_bus, self.on_name, self.on_lost)
        GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, self.loop.quit)
        self.loop.run()


if __name__ == "__main__":
    Host(sys.argv[1]).run()
