#!/usr/bin/env python3
"""Draws Pollbench's pictures as 16-colour bitmaps and its icon: the device,
the idle and active outlet pictures, and the program icon. Run it in this
folder after changing a picture; the .bmp and .ico files it writes are kept
in the repository so the Windows build needs no drawing step."""
import struct

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, DARK_GREY, LIGHT_GREY, WHITE, RED, GREEN, YELLOW, BLUE, DARK_GREEN = 0, 8, 7, 15, 9, 10, 11, 12, 2


class Canvas:
    def __init__(self, w, h, fill=LIGHT_GREY):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.px[y][x] = colour

    def frame(self, x0, y0, x1, y1, colour, width=1):
        self.rect(x0, y0, x1, y0 + width, colour)
        self.rect(x0, y1 - width, x1, y1, colour)
        self.rect(x0, y0, x0 + width, y1, colour)
        self.rect(x1 - width, y0, x1, y1, colour)

    def disc(self, cx, cy, r, colour):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r and 0 <= x < self.w and 0 <= y < self.h:
                    self.px[y][x] = colour

    def rows_bottom_up(self):
        """4-bit rows, bottom row first, each padded to 4 bytes."""
        out = b""
        for row in reversed(self.px):
            packed = bytes((row[i] << 4) | (row[i + 1] if i + 1 < self.w else 0) for i in range(0, self.w, 2))
            out += packed + b"\0" * ((-len(packed)) % 4)
        return out


def info_header(w, h):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, 0, 2835, 2835, 16, 0)


def palette():
    return b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)


def write_bmp(name, canvas):
    body = info_header(canvas.w, canvas.h) + palette() + canvas.rows_bottom_up()
    with open(name, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, 14 + 40 + 64) + body)


def write_ico(name, canvas):
    mask_row = ((canvas.w + 31) // 32) * 4
    image = info_header(canvas.w, canvas.h * 2) + palette() + canvas.rows_bottom_up() + b"\0" * mask_row * canvas.h
    with open(name, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", canvas.w, canvas.h, 16, 0, 1, 4, len(image), 22))
        f.write(image)


def device():
    c = Canvas(300, 300)
    c.rect(20, 10, 280, 290, WHITE)
    c.frame(20, 10, 280, 290, DARK_GREY, 3)
    c.rect(40, 20, 140, 32, BLACK)          # coin slot
    c.disc(90, 160, 30, YELLOW)             # a coin on its way
    c.frame(40, 200, 260, 226, DARK_GREY, 2)  # sorter
    for k in range(6):
        c.rect(48 + k * 36, 226, 64 + k * 36, 280, LIGHT_GREY)
        c.frame(48 + k * 36, 226, 64 + k * 36, 280, DARK_GREY)
    return c


def outlet(active, reject):
    c = Canvas(36, 32)
    fill = (RED if reject else GREEN) if active else WHITE
    c.rect(4, 2, 32, 30, fill)
    c.frame(4, 2, 32, 30, BLACK if active else DARK_GREY, 2)
    c.rect(14, 8, 22, 24, DARK_GREEN if active and not reject else (BLACK if active else LIGHT_GREY))
    return c


def icon():
    c = Canvas(32, 32, BLUE)
    c.disc(16, 16, 12, YELLOW)
    c.disc(16, 16, 8, WHITE)
    c.rect(13, 9, 19, 23, YELLOW)
    return c


if __name__ == "__main__":
    write_bmp("device.bmp", device())
    # The reject outlet has pictures of its own; outlets 1..5 share theirs.
    write_bmp("reject_active.bmp", outlet(True, True))
    write_bmp("reject_idle.bmp", outlet(False, True))
    write_bmp("outlet_active.bmp", outlet(True, False))
    write_bmp("outlet_idle.bmp", outlet(False, False))
    write_ico("pollbench.ico", icon())
