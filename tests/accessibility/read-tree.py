#!/usr/bin/env python3
"""Reads the accessible tree of a running program through AT-SPI, as a screen
reader does, and prints one line per object:
    role<TAB>name<TAB>description<TAB>key binding<TAB>states
indented by its depth. Waits until an application named as the first
argument is on the bus (at most 60 s)."""

import sys
import time

import dbus

ACCESSIBLE = "org.a11y.atspi.Accessible"
ACTION = "org.a11y.atspi.Action"
# AT-SPI's state numbers that a person notices.
STATES = {4: "checked", 8: "enabled", 24: "sensitive", 25: "showing", 30: "visible"}


def a11y_bus():
    session = dbus.SessionBus()
    address = session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(dbus_interface="org.a11y.Bus")
    return dbus.bus.BusConnection(address)


def prop(bus, ref, name):
    obj = bus.get_object(ref[0], ref[1])
    return obj.Get(ACCESSIBLE, name, dbus_interface="org.freedesktop.DBus.Properties")


def states(bus, ref):
    words = bus.get_object(ref[0], ref[1]).GetState(dbus_interface=ACCESSIBLE)
    bits = int(words[0]) | (int(words[1]) << 32)
    return ",".join(name for bit, name in sorted(STATES.items()) if bits & (1 << bit))


def key_binding(bus, ref):
    obj = bus.get_object(ref[0], ref[1])
    interfaces = obj.GetInterfaces(dbus_interface=ACCESSIBLE)
    if ACTION not in interfaces:
        return ""
    try:
        return str(obj.GetKeyBinding(0, dbus_interface=ACTION))
    except dbus.DBusException:
        return ""


def walk(bus, ref, depth, out, seen):
    if ref in seen or depth > 40:
        return
    seen.add(ref)
    obj = bus.get_object(ref[0], ref[1])
    role = str(obj.GetRoleName(dbus_interface=ACCESSIBLE))
    name = str(prop(bus, ref, "Name")).replace("\n", "\\n")
    description = str(prop(bus, ref, "Description")).replace("\n", "\\n")
    out.append("  " * depth + "\t".join([role, name, description, key_binding(bus, ref), states(bus, ref)]))
    for child in obj.GetChildren(dbus_interface=ACCESSIBLE):
        walk(bus, (str(child[0]), str(child[1])), depth + 1, out, seen)


def main():
    wanted = sys.argv[1]
    bus = a11y_bus()
    root = ("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
    deadline = time.time() + 60
    while True:
        apps = bus.get_object(*root).GetChildren(dbus_interface=ACCESSIBLE)
        found = [(str(a[0]), str(a[1])) for a in apps if str(prop(bus, (str(a[0]), str(a[1])), "Name")) == wanted]
        if found:
            break
        if time.time() > deadline:
            sys.exit("no application named %s on the accessibility bus" % wanted)
        time.sleep(0.5)
    out = []
    walk(bus, found[0], 0, out, set())
    print("\n".join(out))


if __name__ == "__main__":
    main()
