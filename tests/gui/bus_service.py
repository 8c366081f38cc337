"""The part every stand-in desktop service of the tests shares: owning its name on the
session bus, serving one object, saying "ready" once the name is owned, ending on SIGTERM.
"""
import signal
import sys

from gi.repository import Gio, GLib


class BusService:
    """Subclasses give NAME, PATH, INTERFACE_XML and on_call (and on_property if they
    have properties)."""
    NAME = PATH = INTERFACE_XML = None

    def __init__(self):
        self.loop = GLib.MainLoop()
        self.interface = Gio.DBusNodeInfo.new_for_xml(self.INTERFACE_XML).interfaces[0]
        self.owned = False

    def on_property(self, connection, sender, path, interface, name):
        return None

    def on_bus(self, connection, name):
        connection.register_object(self.PATH, self.interface, self.on_call, self.on_property,
                                   None)

    def on_name(self, connection, name):
        self.owned = True
        print("ready", flush=True)

    def on_lost(self, connection, name):
        if not self.owned:
            print("could not own %s" % self.NAME, file=sys.stderr, flush=True)
        self.loop.quit()

    def run(self):
        Gio.bus_own_name(Gio.BusType.SESSION, self.NAME, Gio.BusNameOwnerFlags.NONE,
                         self.on_bus, self.on_name, self.on_lost)
        GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, self.loop.quit)
        self.loop.run()
