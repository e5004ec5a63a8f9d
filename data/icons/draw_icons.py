#!/usr/bin/env python3
"""Draws PixDraft's pictures as PNG files: the application icon in its five sizes (beside this
script) and the four 16 x 16 tool-button images (in src/ui/icons). The PNGs are kept in the
repository; run this again only after changing a drawing here. Standard library only.

Shapes are filled in order, each over the ones before, and every pixel is sampled on a grid so
that edges are smoothed. Coordinates are in pixels of the output, with (0, 0) the top-left
corner of the top-left pixel."""

import math
import struct
import sys
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent
TOOL_IMAGES = HERE.parent.parent / "src" / "ui" / "icons"
SAMPLES = 4  # per side of a pixel


def colour(hex_text, alpha=255):
    value = int(hex_text.lstrip("#"), 16)
    return (value >> 16 & 255, value >> 8 & 255, value & 255, alpha)


# Shapes: each is a predicate over a point, paired with a colour by the drawings below.
def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def polygon(points):
    def inside(x, y):
        result = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                result = not result
        return result

    return inside


def segment(ax, ay, bx, by, width):
    """A straight stroke with square ends cut flush at both points."""
    length = math.hypot(bx - ax, by - ay)
    nx, ny = -(by - ay) / length * width / 2, (bx - ax) / length * width / 2
    return polygon([(ax + nx, ay + ny), (bx + nx, by + ny), (bx - nx, by - ny), (ax - nx, ay - ny)])


def gear(cx, cy, outer, inner, teeth, tooth_share=0.5):
    """A gear outline: `teeth` flat-topped teeth reaching `outer` from a body of radius `inner`."""
    points = []
    step = 2 * math.pi / teeth
    for i in range(teeth):
        start = i * step - math.pi / 2
        top = step * tooth_share
        for angle, radius in ((start, inner), (start + step * 0.08, outer),
                              (start + top - step * 0.08, outer), (start + top, inner)):
            points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
        points.append((cx + inner * math.cos(start + (top + step) / 2),
                       cy + inner * math.sin(start + (top + step) / 2)))
    return polygon(points)


# A fill that erases what lies below, for holes.
CLEAR = object()


def render(size, layers):
    """The RGBA rows of a size x size picture; `layers` is a list of (shape, colour or CLEAR)."""
    rows = []
    offsets = [(i + 0.5) / SAMPLES for i in range(SAMPLES)]
    for py in range(size):
        row = bytearray()
        for px in range(size):
            r = g = b = a = 0.0
            for oy in offsets:
                for ox in offsets:
                    x, y = px + ox, py + oy
                    sr = sg = sb = sa = 0.0  # premultiplied
                    for shape, fill in layers:
                        if not shape(x, y):
                            continue
                        if fill is CLEAR:
                            sr = sg = sb = sa = 0.0
                        else:
                            cr, cg, cb, ca = fill
                            alpha = ca / 255
                            sr = cr * alpha + sr * (1 - alpha)
                            sg = cg * alpha + sg * (1 - alpha)
                            sb = cb * alpha + sb * (1 - alpha)
                            sa = alpha + sa * (1 - alpha)
                    r, g, b, a = r + sr, g + sg, b + sb, a + sa
            n = SAMPLES * SAMPLES
            if a == 0:
                row += bytes(4)
            else:
                row += bytes((round(r / a), round(g / a), round(b / a), round(a / n * 255)))
        rows.append(bytes(row))
    return rows


def write_png(path, rows):
    size = len(rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\0" + row for row in rows)
    path.write_bytes(b"\x89PNG\r\n\x1a\n"
                     + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
                     + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def outlined(shape_outer, shape_inner, edge, fill):
    return [(shape_outer, edge), (shape_inner, fill)]


def load_image():
    """A yellow folder holding a picture."""
    edge = colour("#9c6d08")
    return (outlined(polygon([(0.5, 1.5), (6, 1.5), (7.5, 3), (15.5, 3), (15.5, 14.5), (0.5, 14.5)]),
                     polygon([(1.5, 2.5), (5.6, 2.5), (7.1, 4), (14.5, 4), (14.5, 13.5), (1.5, 13.5)]),
                     edge, colour("#e0a820"))
            + outlined(rect(2, 4, 14, 12), rect(3, 5, 13, 11), colour("#6b6b6b"), colour("#9fd3f5"))
            + [(polygon([(3, 11), (6.5, 6.5), (9, 9), (10.5, 7.5), (13, 11)]), colour("#3a9a3a")),
               (circle(5, 7, 1.3), colour("#ffd21f"))]
            + outlined(polygon([(0.5, 9.5), (15.5, 9.5), (15.5, 14.5), (0.5, 14.5)]),
                       polygon([(1.5, 10.5), (14.5, 10.5), (14.5, 13.5), (1.5, 13.5)]),
                       edge, colour("#f7d154"))
            + [(rect(1.5, 10.5, 14.5, 11.5), colour("#fbe38f"))])


def save_to_dxf():
    """A grey gear with a blue arrow pointing right."""
    return ([(gear(6.5, 6.5, 6.5, 4.9, 6, 0.45), colour("#555b61")),
             (gear(6.5, 6.5, 5.5, 3.9, 6, 0.45), colour("#b3b8bd")),
             (circle(6.5, 6.5, 2.2), colour("#555b61")),
             (circle(6.5, 6.5, 1.3), CLEAR)]
            + outlined(polygon([(5.5, 10.5), (10, 10.5), (10, 8.5), (15.5, 12), (10, 15.5),
                                (10, 13.5), (5.5, 13.5)]),
                       polygon([(6.5, 11.4), (11, 11.4), (11, 10.3), (13.8, 12), (11, 13.7),
                                (11, 12.6), (6.5, 12.6)]),
                       colour("#0d47a1"), colour("#2f7de1")))


def exit_image():
    """A red square with a white cross."""
    return (outlined(rounded_rect(1, 1, 15, 15, 2), rounded_rect(2, 2, 14, 14, 1.2),
                     colour("#9e1b13"), colour("#e03a2f"))
            + [(rect(2, 2, 14, 8), colour("#ffffff", 40)),
               (segment(4.5, 4.5, 11.5, 11.5, 2.2), colour("#ffffff")),
               (segment(11.5, 4.5, 4.5, 11.5, 2.2), colour("#ffffff"))])


def options_image():
    """Three sliders: grey rails, each with an outlined knob at its setting."""
    layers = []
    for y, knob, fill in ((3.5, 10.5, "#2f7de1"), (8, 5, "#e0a820"), (12.5, 9, "#3a9a3a")):
        layers += outlined(rounded_rect(1, y - 1, 15, y + 1, 1), rounded_rect(1.8, y - 0.4, 14.2, y + 0.4, 0.4),
                           colour("#555b61"), colour("#b3b8bd"))
        layers += outlined(rounded_rect(knob - 2, y - 2.5, knob + 2, y + 2.5, 1),
                           rounded_rect(knob - 1.1, y - 1.6, knob + 1.1, y + 1.6, 0.5),
                           colour("#333333"), colour(fill))
    return layers


# The application icon: a picture made of square pixels on a sheet, as the program draws it.
MOSAIC = [
    ["#ffd21f", "#8fcaf2", "#8fcaf2", "#8fcaf2"],
    ["#8fcaf2", "#8fcaf2", "#5db34a", "#8fcaf2"],
    ["#8fcaf2", "#5db34a", "#3a8a34", "#5db34a"],
    ["#3a8a34", "#3a8a34", "#2d6e2a", "#3a8a34"],
]


def application_icon(size):
    margin = size // 16
    border = max(1, size // 24)
    gutter = size // 32
    inner = size - 2 * (margin + border)
    cell = (inner - 5 * gutter) // 4
    start = margin + border + (inner - 4 * cell - 5 * gutter) / 2 + gutter
    radius = size / 8
    layers = [(rounded_rect(margin, margin, size - margin, size - margin, radius), colour("#1f3a5f")),
              (rounded_rect(margin + border, margin + border, size - margin - border,
                            size - margin - border, max(radius - border, 0)), colour("#f4f7fb"))]
    for row, colours in enumerate(MOSAIC):
        for column, hex_text in enumerate(colours):
            x = start + column * (cell + gutter)
            y = start + row * (cell + gutter)
            layers.append((rect(x, y, x + cell, y + cell), colour(hex_text)))
    return layers


def main():
    for name, drawing in (("load-image", load_image), ("save-to-dxf", save_to_dxf),
                          ("options", options_image), ("exit", exit_image)):
        write_png(TOOL_IMAGES / f"{name}.png", render(16, drawing()))
    for size in (16, 24, 32, 48, 256):
        write_png(HERE / f"pixdraft-{size}.png", render(size, application_icon(size)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
