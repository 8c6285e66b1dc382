"""Finds an editor component's picture box on a screenshot and prints the
screen position of its top left corner as "X Y".

Usage: find_picture.py SCREENSHOT.rgb WIDTH HEIGHT schedule|calendar

The schedule grid is found by the separator below its top row, 288 black
pixels from picture x = 30 at y = 24; the calendar month by its bottom grid
line, 280 black pixels from x = 30 at y = 170 (its last pixel is not drawn)."""
import sys

path, width, height, kind = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
data = open(path, "rb").read()
colour, run, grid_x, grid_y = {
    "schedule": ((0, 0, 0), 288, 30, 24),
    "calendar": ((0, 0, 0), 280, 30, 170),
}[kind]
target = bytes(colour)
found = None
for y in range(height):
    row = data[y * width * 3:(y + 1) * width * 3]
    x = 0
    while x < width:
        if row[x * 3:x * 3 + 3] == target:
            start = x
            while x < width and row[x * 3:x * 3 + 3] == target:
                x += 1
            if x - start == run:
                found = (start - grid_x, y - grid_y)
                if kind == "schedule":
                    print(*found)
                    sys.exit(0)
        else:
            x += 1
if found is None:
    sys.exit("no %s picture on the screenshot" % kind)
print(*found)  # the calendar: the last (lowest) such line is its bottom
