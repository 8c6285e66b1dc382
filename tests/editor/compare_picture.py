"""Checks that a screenshot shows a component's picture drawn sharp at a scale:
the picture rendered at that scale (render-schedule --scale) is on the screen,
and the picture rendered at scale 1 and enlarged pixel for pixel (blocky) is
not. Prints where it was found and how many pixels differ.

Usage: compare_picture.py SCREEN.rgb WIDTH HEIGHT SHARP.rgb SHARP_WIDTH SHARP_HEIGHT
                          PLAIN.rgb PLAIN_WIDTH PLAIN_HEIGHT

The .rgb files hold 8-bit RGB pixels, row by row (convert FILE.png rgb:FILE.rgb).
The sharp picture must be a whole multiple of the plain one. The picture is
found by a row that both pictures share (a grid line), wherever it is; the
sharp one must then match all its pixels but a few (TOLERANCE of them, and
no more than a quarter of those that tell the two pictures apart), while the
blocky one must differ in at least half the pixels that tell them apart."""
import sys

TOLERANCE = 0.001  # of the picture's pixels


def load(path, width, height):
    data = open(path, "rb").read()
    if len(data) != width * height * 3:
        sys.exit(f"FAIL: {path} holds {len(data)} bytes, not {width} x {height} RGB pixels")
    return [data[y * width * 3:(y + 1) * width * 3] for y in range(height)]


def enlarged(rows, factor):
    out = []
    for row in rows:
        wide = b"".join(row[x:x + 3] * factor for x in range(0, len(row), 3))
        out.extend([wide] * factor)
    return out


def differing(screen, left, top, picture):
    """Pixels of the picture that differ from the screen at (left, top)."""
    count = 0
    for y, row in enumerate(picture):
        shown = screen[top + y][left * 3:left * 3 + len(row)]
        if shown != row:
            count += sum(1 for x in range(0, len(row), 3) if shown[x:x + 3] != row[x:x + 3])
    return count


def candidates(screen, row, width):
    """(x, y) of every place on the screen that holds the row exactly."""
    for y, line in enumerate(screen):
        at = line.find(row)
        while at >= 0:
            if at % 3 == 0 and at // 3 + len(row) // 3 <= width:
                yield at // 3, y
            at = line.find(row, at + 1)


def main():
    a = sys.argv[1:]
    if len(a) != 9:
        sys.exit(__doc__)
    sw, sh, pw, ph, qw, qh = (int(v) for v in (a[1], a[2], a[4], a[5], a[7], a[8]))
    screen = load(a[0], sw, sh)
    sharp = load(a[3], pw, ph)
    plain = load(a[6], qw, qh)
    factor = pw // qw
    if factor < 1 or pw != qw * factor or ph != qh * factor:
        sys.exit(f"FAIL: {pw} x {ph} is no whole multiple of {qw} x {qh}")
    blocky = enlarged(plain, factor)
    telling = sum(1 for y in range(ph) for x in range(0, pw * 3, 3) if sharp[y][x:x + 3] != blocky[y][x:x + 3])
    if telling == 0:
        sys.exit("FAIL: the sharp and the blocky picture are the same; nothing to tell apart")
    # A row both pictures share and that is not all one colour: a grid line.
    shared = [y for y in range(ph) if sharp[y] == blocky[y] and len(set(sharp[y][x:x + 3] for x in range(0, pw * 3, 3))) > 1]
    if not shared:
        sys.exit("FAIL: the pictures share no row to find them by")
    best = None
    for y in shared[:4]:
        for x, top in candidates(screen, sharp[y], sw):
            top -= y
            if top < 0 or top + ph > sh:
                continue
            misses = differing(screen, x, top, sharp)
            if best is None or misses < best[0]:
                best = (misses, x, top)
        if best is not None and best[0] == 0:
            break
    if best is None:
        sys.exit("FAIL: no row of the picture is on the screen")
    misses, x, top = best
    blocky_misses = differing(screen, x, top, blocky)
    print(f"picture at {x},{top} ({pw} x {ph}): {misses} pixels differ from the sharp picture, "
          f"{blocky_misses} from the blocky one ({telling} tell them apart)")
    if misses > min(TOLERANCE * pw * ph, telling / 4):
        sys.exit("FAIL: the screen does not show the picture rendered at the scale")
    if blocky_misses < telling / 2:
        sys.exit("FAIL: the screen shows the picture drawn at scale 1 and enlarged")


main()
