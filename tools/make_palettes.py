#!/usr/bin/env python3
"""Writes res/colortable.dat (the ten false-colour palettes) and their list icons.

Each palette is a smooth ramp through five anchor colours at the entries 0, 64, 128, 192 and
255. The table stores palettes in YCbCr; every anchor is stored as a YCbCr triple that the
program's conversion turns back into exactly the anchor colour, and the entries between
anchors follow the straight RGB line between them as closely as YCbCr allows. White Hot and
Black Hot are grey ramps with a few more fixed entries near black.

The table is 1,920 lines "0x" + 8 hex digits + CR LF: the 7,680-byte stream of 10 x 256
(Y, Cb, Cr) entries, four bytes a line, least significant byte first.
"""
import math
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")

# index, icon file, anchors at 0, 64, 128, 192, 255
PALETTES = [
    (0, "coclor-witheHot.png", ["000000", "393939", "868686", "D3D3D3", "FFFFFF"]),
    (1, "color-fulgurite.png", ["111111", "B50F11", "ED7613", "ECEC51", "EBEBEB"]),
    (2, "color-ironRed.png", ["111020", "591078", "D82D59", "EDAB11", "ECEB83"]),
    (3, "color-hotIron.png", ["111111", "256968", "8CB747", "EDAB11", "D30F12"]),
    (4, "color-medical.png", ["482B46", "2C31E9", "12B050", "EBE823", "EBEBEB"]),
    (5, "color-arctic.png", ["112C48", "26AD39", "EDC013", "EE0F8E", "ECECEC"]),
    (6, "color-rainbow.png", ["801010", "4C0FEA", "0DEDA5", "E4EC12", "EF0F11"]),
    (7, "color-rainbow2.png", ["100F80", "0E96EA", "A9EC53", "EF3D12", "801010"]),
    (8, "color-tint.png", ["111111", "666666", "BBBBBB", "EE8789", "D30F12"]),
    (9, "color-blackHot.png", ["EBEBEB", "AFAFAF", "737373", "373737", "101010"]),
]
ANCHORS = [0, 64, 128, 192, 255]

# Extra grey levels fixed near black: the table's first lines and entry 17.
GREY_KNOTS = {
    0: {0: 0, 1: 1, 2: 2, 3: 2, 17: 14},
    9: {17: 219},
}


def round_half_away(v):
    return int(math.floor(abs(v) + 0.5)) * (1 if v >= 0 else -1)


def ycbcr_to_rgb(y, cb, cr):
    """The program's conversion (note 1.712 for blue)."""
    r = y + 1.402 * (cr - 128)
    g = y - 0.34414 * (cb - 128) - 0.71414 * (cr - 128)
    b = y + 1.712 * (cb - 128)
    return tuple(max(0, min(255, round_half_away(c))) for c in (r, g, b))


def nearest_ycbcr(rgb, exact=False):
    """The integer (Y, Cb, Cr) whose colour is closest to rgb."""
    r, g, b = rgb
    best, best_error = None, None
    for y in range(256):
        cb0 = 128 + (b - y) / 1.712
        cr0 = 128 + (r - y) / 1.402
        for cb in range(int(cb0) - 2, int(cb0) + 3):
            for cr in range(int(cr0) - 2, int(cr0) + 3):
                if not (0 <= cb <= 255 and 0 <= cr <= 255):
                    continue
                got = ycbcr_to_rgb(y, cb, cr)
                error = sum((a - w) ** 2 for a, w in zip(got, rgb))
                if best_error is None or error < best_error:
                    best, best_error = (y, cb, cr), error
                    if error == 0:
                        return best
    assert not exact, "no YCbCr triple gives %s" % (rgb,)
    return best


def hex_rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def grey_palette(index, anchors):
    knots = {a: hex_rgb(c)[0] for a, c in zip(ANCHORS, anchors)}
    knots.update(GREY_KNOTS.get(index, {}))
    xs = sorted(knots)
    entries = []
    for e in range(256):
        k = max(i for i in range(len(xs)) if xs[i] <= e)
        if xs[k] == e:
            level = knots[e]
        else:
            x0, x1 = xs[k], xs[k + 1]
            level = round_half_away(knots[x0] + (knots[x1] - knots[x0]) * (e - x0) / (x1 - x0))
        entries.append((level, 128, 128))
    return entries


def colour_palette(anchors):
    colours = [hex_rgb(c) for c in anchors]
    entries = []
    for e in range(256):
        k = min(e // 64, 3)
        x0, x1 = ANCHORS[k], ANCHORS[k + 1]
        if e in ANCHORS:
            entries.append(nearest_ycbcr(colours[ANCHORS.index(e)], exact=True))
            continue
        t = (e - x0) / (x1 - x0)
        rgb = tuple(round_half_away(a + (b - a) * t) for a, b in zip(colours[k], colours[k + 1]))
        entries.append(nearest_ycbcr(rgb))
    return entries


def png(path, width, height, pixel):
    rows = b"".join(b"\x00" + bytes(c for x in range(width) for c in pixel(x, y)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(rows, 9)))
        f.write(chunk(b"IEND", b""))


def icon(path, rgb_entries):
    """A rounded 60 x 60 swatch, hot at the top."""
    size, radius = 60, 8

    def pixel(x, y):
        cx = min(max(x, radius), size - 1 - radius)
        cy = min(max(y, radius), size - 1 - radius)
        inside = (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
        r, g, b = rgb_entries[255 - y * 255 // (size - 1)]
        return (r, g, b, 255 if inside else 0)

    png(path, size, size, pixel)


def main():
    stream = bytearray()
    for index, icon_file, anchors in PALETTES:
        entries = grey_palette(index, anchors) if index in (0, 9) else colour_palette(anchors)
        for a, c in zip(ANCHORS, anchors):
            assert ycbcr_to_rgb(*entries[a]) == hex_rgb(c), (index, a)
        for y, cb, cr in entries:
            stream += bytes((y, cb, cr))
        icon(os.path.join(ROOT, "icon", icon_file), [ycbcr_to_rgb(*e) for e in entries])
    assert len(stream) == 7680
    words = struct.unpack("<1920I", bytes(stream))
    with open(os.path.join(ROOT, "colortable.dat"), "wb") as f:
        for w in words:
            f.write(b"0x%08X\r\n" % w)
    print(os.path.normpath(os.path.join(ROOT, "colortable.dat")))


if __name__ == "__main__":
    main()
