"""Reads the editor through the accessibility bus: finds the schedule grid by
its accessible name, gives it the keyboard, types Down and Insert with
xdotool and waits for its description to say the new period."""

import re
import subprocess
import sys
import time

import pyatspi


def find(node, predicate, depth=0):
    if node is None or depth > 30:
        return None
    try:
        if predicate(node):
            return node
        children = list(node)
    except Exception:  # a node that went away while it was read
        return None
    for child in children:
        found = find(child, predicate, depth + 1)
        if found is not None:
            return found
    return None


def wait(what, seconds, probe):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = probe()
        if value:
            return value
        time.sleep(0.2)
    sys.exit(f"FAIL: {what}")


desktop = pyatspi.Registry.getDesktop(0)
app = wait("the editor never showed on the accessibility bus", 20,
           lambda: find(desktop, lambda n: n.getRoleName() == "application" and "velmar" in n.name.lower()))
grid = wait("no accessible named \"Schedule grid\"", 10, lambda: find(app, lambda n: n.name == "Schedule grid"))
print(f"grid: role {grid.getRoleName()}, description {grid.description!r}")
if grid.description != "No day chosen":
    sys.exit(f"FAIL: before any key the grid says {grid.description!r}")

grid.queryComponent().grabFocus()
time.sleep(0.5)
subprocess.run(["xdotool", "key", "--delay", "100", "Down", "Insert"], check=True)
said = re.compile(r"^Monday, \d\d:\d\d to \d\d:\d\d, selected; \d+ periods?$")
wait(f"the grid's description after Down and Insert is {grid.description!r}", 10,
     lambda: said.match(grid.description or ""))
print(f"after Down and Insert: {grid.description!r}")

names = []
def unnamed_control(node):
    if node.getRoleName() in ("push button", "check box", "text", "combo box") and not node.name:
        names.append(node.getRoleName())
    return False
find(app, unnamed_control)
if names:
    sys.exit(f"FAIL: controls without an accessible name: {names}")
