"""Reads the editor through the accessibility bus.

"edit": finds the schedule grid by its accessible name, gives it the
keyboard, types Down and Insert with xdotool and waits for its description to
say the new period; then zooms to 3 (Ctrl+=), drags Wednesday's 09:00 edge by
30 screen pixels with xdotool and waits for "07:30 to 09:50".
"fits WIDTH HEIGHT": the Apply button lies on a screen of that many pixels.
"menus NAME...": the menu bar's menus and their items include every NAME
(without its "&"), the language's own."""

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


mode = sys.argv[1] if len(sys.argv) > 1 else "edit"
desktop = pyatspi.Registry.getDesktop(0)
app = wait("the editor never showed on the accessibility bus", 20,
           lambda: find(desktop, lambda n: n.getRoleName() == "application" and "velmar" in n.name.lower()))
if mode == "menus":
    wanted = sys.argv[2:]

    def menu_names():
        names = set()

        def collect(node, depth=0):
            if node is None or depth > 30:
                return
            try:
                if node.getRoleName() in ("menu", "menu item") and node.name:
                    names.add(node.name)
                children = list(node)
            except Exception:  # a node that went away while it was read
                return
            for child in children:
                collect(child, depth + 1)

        collect(app)
        return names

    deadline = time.monotonic() + 10
    names = menu_names()
    while not all(name in names for name in wanted) and time.monotonic() < deadline:
        time.sleep(0.3)
        names = menu_names()
    missing = [name for name in wanted if name not in names]
    if missing:
        sys.exit(f"FAIL: no menu or menu item {missing}; the menus hold {sorted(names)}")
    print("menus: " + ", ".join(wanted))
    sys.exit(0)
grid = wait("no accessible named \"Schedule grid\"", 10, lambda: find(app, lambda n: n.name == "Schedule grid"))
if mode == "fits":
    width, height = int(sys.argv[2]), int(sys.argv[3])
    apply = wait("no Apply button", 10,
                 lambda: find(app, lambda n: n.getRoleName() == "push button" and n.name.replace("&", "") == "Apply"))
    box = apply.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    print(f"Apply at {box.x},{box.y} {box.width}x{box.height} on {width}x{height}")
    if box.width <= 0 or box.x < 0 or box.y < 0 or box.x + box.width > width or box.y + box.height > height:
        sys.exit("FAIL: the Apply button is off the screen")
    sys.exit(0)

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

# Zoom 3: one grid pixel (five minutes) is three screen pixels.
subprocess.run(["xdotool", "key", "--delay", "150", "ctrl+equal", "ctrl+equal"], check=True)
time.sleep(0.5)
box = grid.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
if box.width < 900:
    sys.exit(f"FAIL: the grid is {box.width} pixels wide at zoom 3")
x = box.x + 3 * (30 + 9 * 12)  # Wednesday's 09:00 edge
y = box.y + 3 * (25 * 2 + 10)
for command in (["mousemove", str(x), str(y)], ["mousedown", "1"], ["mousemove", str(x + 15), str(y)],
                ["mousemove", str(x + 30), str(y)], ["mouseup", "1"]):
    subprocess.run(["xdotool", *command], check=True)
    time.sleep(0.2)
wait(f"after the drag at zoom 3 the grid says {grid.description!r}", 10,
     lambda: (grid.description or "").startswith("Wednesday, 07:30 to 09:50, selected"))
print(f"after the drag at zoom 3: {grid.description!r}")
subprocess.run(["xdotool", "key", "ctrl+s"], check=True)

# Every control, and whatever else Tab stops at, has a name to be read by.
names = []
def unnamed_control(node):
    focusable = node.getState().contains(pyatspi.STATE_FOCUSABLE) and node.getState().contains(pyatspi.STATE_SHOWING)
    if (focusable or node.getRoleName() in ("push button", "check box", "text", "combo box")) and not node.name:
        names.append(f"{node.getRoleName()} in {node.parent.getRoleName()} {node.parent.name!r}")
    return False
find(app, unnamed_control)
if names:
    sys.exit(f"FAIL: controls without an accessible name: {names}")
# The grid is a drawing the user edits, not a filler between controls.
if grid.getRoleName() != "canvas":
    sys.exit(f"FAIL: the grid's role is {grid.getRoleName()!r}")
