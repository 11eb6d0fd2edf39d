#!/usr/bin/env python3
"""Draws Ducat Console's program icon: a coin dropping into the slot of an
acceptor, at 16, 32 and 48 pixels, in 16 colours with a transparency mask.
Run it in this folder after changing the picture; the .ico it writes is kept
in the repository so the Windows build needs no drawing step."""
import struct

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, OLIVE, LIGHT_GREY, DARK_GREY, GREEN, YELLOW, WHITE = 0, 3, 7, 8, 10, 11, 15
CLEAR = None  # a pixel the mask leaves transparent
SIZES = (16, 32, 48)
DESIGN = 32  # the picture is drawn on a 32-unit grid and scaled to each size


class Canvas:
    def __init__(self, size):
        self.size = size
        self.scale = size / DESIGN
        self.px = [[CLEAR] * size for _ in range(size)]

    def _pixel(self, a):
        return max(0, min(self.size, int(a * self.scale + 0.5)))

    def _fill(self, px0, py0, px1, py1, colour):
        for y in range(py0, py1):
            for x in range(px0, px1):
                self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        self._fill(self._pixel(x0), self._pixel(y0), self._pixel(x1), self._pixel(y1), colour)

    def frame(self, x0, y0, x1, y1, colour):
        # One pixel wide at every size.
        px0, py0, px1, py1 = self._pixel(x0), self._pixel(y0), self._pixel(x1), self._pixel(y1)
        self._fill(px0, py0, px1, py0 + 1, colour)
        self._fill(px0, py1 - 1, px1, py1, colour)
        self._fill(px0, py0, px0 + 1, py1, colour)
        self._fill(px1 - 1, py0, px1, py1, colour)

    def disc(self, cx, cy, r, colour):
        # Pixel centres inside the circle, on the design grid.
        for y in range(self.size):
            for x in range(self.size):
                dx = (x + 0.5) / self.scale - cx
                dy = (y + 0.5) / self.scale - cy
                if dx * dx + dy * dy <= r * r:
                    self.px[y][x] = colour


def acceptor(size):
    c = Canvas(size)
    c.rect(2, 13, 30, 31, LIGHT_GREY)      # the acceptor's front
    c.frame(2, 13, 30, 31, DARK_GREY)
    c.rect(8, 16, 24, 19, BLACK)           # the coin slot
    c.rect(6, 25, 26, 28, DARK_GREY)       # the sorter's outlet
    c.rect(24, 22, 27, 24, GREEN)          # the ready lamp
    c.disc(16, 9, 8.5, OLIVE)              # the coin on its way into the slot
    c.disc(16, 9, 6.5, YELLOW)
    if size >= DESIGN:
        c.rect(15, 5, 17, 13, OLIVE)       # its value mark, too fine for 16 pixels
    return c


def rows_bottom_up(cells, pack):
    out = b""
    for row in reversed(cells):
        packed = pack(row)
        out += packed + b"\0" * ((-len(packed)) % 4)
    return out


def colour_rows(canvas):
    def pack(row):
        values = [BLACK if v is CLEAR else v for v in row]
        return bytes((values[i] << 4) | values[i + 1] for i in range(0, len(values), 2))
    return rows_bottom_up(canvas.px, pack)


def mask_rows(canvas):
    def pack(row):
        bits = [1 if v is CLEAR else 0 for v in row]
        return bytes(sum(bit << (7 - k) for k, bit in enumerate(bits[i:i + 8])) for i in range(0, len(bits), 8))
    return rows_bottom_up(canvas.px, pack)


def image(canvas):
    header = struct.pack("<IiiHHIIiiII", 40, canvas.size, canvas.size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + colour_rows(canvas) + mask_rows(canvas)


def write_ico(name, canvases):
    images = [image(c) for c in canvases]
    offset = 6 + 16 * len(images)
    with open(name, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)))
        for canvas, data in zip(canvases, images):
            f.write(struct.pack("<BBBBHHII", canvas.size, canvas.size, 16, 0, 1, 4, len(data), offset))
            offset += len(data)
        for data in images:
            f.write(data)


if __name__ == "__main__":
    write_ico("ducat_console.ico", [acceptor(size) for size in SIZES])
