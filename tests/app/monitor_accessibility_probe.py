"""Reads the monitor's window through the accessibility bus.

Usage: monitor_accessibility_probe.py EXPECTED ACTIVE_WORD INACTIVE_WORD
       monitor_accessibility_probe.py texts STATUS MENU_ITEM...
       monitor_accessibility_probe.py tooltip FIRST_LINE NAME
       monitor_accessibility_probe.py tooltip-text SECONDS
EXPECTED holds one line per profile, "+ name" (active) or "- name"
(inactive). Waits for the list named "Profiles" to show every profile as a
row whose description is ACTIVE_WORD or INACTIVE_WORD as the line says.
With "texts", waits for the window "Velmar - Active Profiles" whose status
line starts with STATUS and whose menu bar holds every MENU_ITEM (the tray
menu's commands, without their "&"), and prints what it read.
With "tooltip", waits for the tray icon's tooltip (shown while the pointer
rests on the icon) to start with FIRST_LINE and to name NAME.
With "tooltip-text", prints the tooltip's text with its line breaks as "\\n"
as soon as it shows; status 1 when it has not shown within SECONDS."""

import sys
import time

import pyatspi


def walk(node, depth=0):
    if node is None or depth > 30:
        return
    yield node
    try:
        children = list(node)
    except Exception:  # a node that went away while it was read
        return
    for child in children:
        yield from walk(child, depth + 1)


def rows_of(desktop):
    for app in desktop:
        if app is None or "velmar" not in (app.name or "").lower():
            continue
        for node in walk(app):
            if node.name == "Profiles" and node.getRoleName() in ("tree", "tree table", "list", "table"):
                return {child.name: child.description for child in walk(node)
                        if child is not node and child.name}
    return None


def texts_of(desktop):
    """The window's caption, its status line and its menu items, or None."""
    for app in desktop:
        if app is None or "velmar" not in (app.name or "").lower():
            continue
        captions = [window.name for window in app if window is not None and window.name]
        caption = captions[0] if captions else None
        status, items = None, []
        for node in walk(app):
            role = node.getRoleName()
            if role == "label" and node.name:
                status = node.name
            elif role == "menu item" and node.name:
                items.append(node.name)
        return caption, status, items
    return None


def check_texts(status, menu):
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.monotonic() + 20
    found = None
    while time.monotonic() < deadline:
        found = texts_of(desktop)
        if found is not None:
            caption, line, items = found
            if (caption == "Velmar - Active Profiles" and line is not None and line.startswith(status)
                    and all(item in items for item in menu)):
                print(f"caption: {caption}\nstatus: {line}\nmenu: {', '.join(items)}")
                sys.exit(0)
        time.sleep(0.3)
    sys.exit(f"FAIL: expected the status line to start with {status!r} and the menu to hold {menu}; "
             f"the bus says (caption, status, menu items) {found}")


def tooltips_of(desktop):
    return [node.name for app in desktop if app is not None and "velmar" in (app.name or "").lower()
            for node in walk(app) if node.getRoleName() == "tool tip" and node.name]


def print_tooltip(seconds):
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for tip in tooltips_of(desktop):
            print(tip.replace("\r\n", "\n").replace("\n", "\\n"))
            sys.exit(0)
        time.sleep(0.2)
    sys.exit(1)


def check_tooltip(first_line, name):
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.monotonic() + 20
    tips = []
    while time.monotonic() < deadline:
        tips = tooltips_of(desktop)
        for tip in tips:
            lines = tip.splitlines()
            if lines and lines[0] == first_line and any(name in line for line in lines[1:]):
                print("tooltip: " + " | ".join(lines))
                sys.exit(0)
        time.sleep(0.3)
    sys.exit(f"FAIL: no tooltip starting with {first_line!r} and naming {name!r}; the bus says {tips}")


if sys.argv[1] == "tooltip-text":
    print_tooltip(float(sys.argv[2]))
if sys.argv[1] == "tooltip":
    check_tooltip(sys.argv[2], sys.argv[3])
if sys.argv[1] == "texts":
    check_texts(sys.argv[2], sys.argv[3:])

expected_path, active, inactive = sys.argv[1:4]
with open(expected_path, encoding="utf-8") as lines:
    expected = {line[2:].rstrip("\n"): (active if line.startswith("+") else inactive) for line in lines}
if not expected:
    sys.exit("FAIL: no profiles expected")

desktop = pyatspi.Registry.getDesktop(0)
deadline = time.monotonic() + 20
rows = None
while time.monotonic() < deadline:
    rows = rows_of(desktop)
    if rows is not None and all(rows.get(name) == state for name, state in expected.items()):
        for name, state in sorted(expected.items()):
            print(f"{name}: {rows[name]}")
        sys.exit(0)
    time.sleep(0.3)
sys.exit(f"FAIL: expected {expected}, the bus says {rows}")
