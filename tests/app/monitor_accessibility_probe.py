"""Reads the monitor's list through the accessibility bus.

Usage: monitor_accessibility_probe.py EXPECTED ACTIVE_WORD INACTIVE_WORD
EXPECTED holds one line per profile, "+ name" (active) or "- name"
(inactive). Waits for the list named "Profiles" to show every profile as a
row whose description is ACTIVE_WORD or INACTIVE_WORD as the line says."""

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
