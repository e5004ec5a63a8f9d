"""End-to-end check of pixdraft-convert, against an independent reading of the picture.

Pillow decodes the picture's first frame; this script composites it over white and fits it into
the working raster itself, then checks with ezdxf that the DXF loads without a single repair and
that every TRACE has the colour of the raster pixel its square stands for.

Usage: check_conversion.py PICTURE DXF [PICTURE DXF ...]
"""
import logging
import sys

import ezdxf
from PIL import Image

LIMIT = 256


def fitted_size(width, height, side=LIMIT, keep_aspect=False):
    if width <= side and height <= side:
        return width, height
    if not keep_aspect:
        return side, side
    longer, shorter = max(width, height), min(width, height)
    fitted = max(1, (2 * side * shorter + longer) // (2 * longer))
    return (side, fitted) if width >= height else (fitted, side)


def working_raster(path, side=LIMIT, keep_aspect=False, skip_transparent=False):
    """The picture's working raster: width, height and {(x, y): (r, g, b), or None when the
    pixel is left out}."""
    with Image.open(path) as image:
        image.seek(0)
        rgba = image.convert("RGBA")
    width, height = rgba.size
    pixels = rgba.load()

    def over_white(x, y):
        *colour, alpha = pixels[x, y]
        if alpha == 0 and skip_transparent:
            return None
        return tuple((c * alpha * 2 + 255) // 510 + 255 - alpha for c in colour)

    fitted_width, fitted_height = fitted_size(width, height, side, keep_aspect)
    # Nearest neighbour on the centres of the target pixels (the identity when not sampled).
    columns = [(2 * i + 1) * width // (2 * fitted_width) for i in range(fitted_width)]
    rows = [(2 * j + 1) * height // (2 * fitted_height) for j in range(fitted_height)]
    return fitted_width, fitted_height, {(i, j): over_white(columns[i], rows[j])
                                         for i in range(fitted_width) for j in range(fitted_height)}


class Repairs(logging.Handler):
    def __init__(self):
        super().__init__(logging.INFO)
        self.messages = []

    def emit(self, record):
        self.messages.append(record.getMessage())


def main(picture, dxf):
    width, height, expected = working_raster(picture)
    repairs = Repairs()
    logging.getLogger("ezdxf").addHandler(repairs)
    logging.getLogger("ezdxf").setLevel(logging.INFO)
    doc = ezdxf.readfile(dxf)
    logging.getLogger("ezdxf").removeHandler(repairs)
    problems = repairs.messages + [e.message for e in doc.audit().errors]

    seen = set()
    for trace in doc.modelspace().query("TRACE"):
        pixel = (int(trace.dxf.vtx0.x), -int(trace.dxf.vtx0.y))
        seen.add(pixel)
        if trace.rgb != expected.get(pixel):
            problems.append(f"pixel {pixel}: {trace.rgb} != {expected.get(pixel)}")
    if seen != set(expected):
        problems.append(f"{len(seen)} distinct squares for {width} x {height} pixels")

    for problem in problems[:20]:
        print(problem)
    print(f"{picture}: {width} x {height}, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    pairs = zip(sys.argv[1::2], sys.argv[2::2])
    sys.exit(max(main(picture, dxf) for picture, dxf in pairs))
