"""Converts a picture with one drawing option of pixdraft-convert and has two real DXF readers
check the result against an independent model of the conversion (check_conversion.py's working
raster, with the option applied here):

- ezdxf loads it without a single repair; its TRACEs carry consecutive handles from 12C, lie
  on the grid of squares of the chosen size with their corners in TRACE order, never overlap,
  and cover every drawn pixel of the working raster in that pixel's colour and nothing else;
  the header's $HANDSEED lies above their handles, so that every handle of the loaded document
  is unique;
- GDAL's ogrinfo reads as many features as there are TRACEs.

Usage: check_option.py PIXDRAFT_CONVERT TEMPLATE_DIR SAMPLE_PICTURE CASE...
"""
import logging
import os
import shutil
import subprocess
import sys
import tempfile
from decimal import Decimal

import ezdxf
from PIL import Image

from check_conversion import Repairs, working_raster

# Each case: the picture, the converter's options, and whether the templates' $HANDSEED is
# lowered so that the handles pass it.
CASES = {
    "size": ("photo.png", ["--size", "24"], False),
    "keep_aspect": ("photo.png", ["--size", "24", "--keep-aspect"], False),
    "pixel_size": ("sample.png", ["--pixel-size", "0.1"], False),
    "skip_transparent": ("sample.png", ["--skip-transparent"], False),
    "skip_colour": ("sample.png", ["--skip-colour", "ECEFF4", "--skip-colour", "#ffffff"], False),
    "merge": ("logo.png", ["--merge", "--pixel-size", "2.5"], False),
    "output_pipe": ("sample.png", ["--merge", "-o", "-"], False),
    "handle_seed": ("photo.png", ["--size", "24"], True),
}


def make_pictures(work, sample):
    shutil.copy(sample, f"{work}/sample.png")
    # 40 x 30: a gradient with noise, a transparent corner and half-transparent pixels.
    photo = Image.new("RGBA", (40, 30))
    photo.putdata([((x * 6) % 256, (y * 8) % 256, (x * y * 37) % 256,
                    0 if x < 6 and y < 5 else 128 if (x + y) % 7 == 0 else 255)
                   for y in range(30) for x in range(40)])
    photo.save(f"{work}/photo.png")
    # 48 x 32: a dark disc on white.
    logo = Image.new("RGB", (48, 32), (255, 255, 255))
    logo.putdata([(20, 40, 120) if (x - 24) ** 2 + (y - 16) ** 2 < 150 else (255, 255, 255)
                  for y in range(32) for x in range(48)])
    logo.save(f"{work}/logo.png")


def lowered_seed(templates, work):
    """The templates with $HANDSEED 200 (hexadecimal) in the header."""
    folder = f"{work}/low-seed"
    os.mkdir(folder)
    lines = open(f"{templates}/pixdraft.dx1", "rb").read().split(b"\r\n")
    at = lines.index(b"$HANDSEED")
    lines[at + 2] = b"200"
    open(f"{folder}/pixdraft.dx1", "wb").write(b"\r\n".join(lines))
    shutil.copy(f"{templates}/pixdraft.dx2", folder)
    return folder


def model(picture, args):
    """The working raster as the options make it, and the pixel size."""
    def value(name, default=None):
        return args[args.index(name) + 1] if name in args else default

    width, height, pixels = working_raster(picture, int(value("--size", 256)),
                                           "--keep-aspect" in args, "--skip-transparent" in args)
    left_out = {tuple(bytes.fromhex(args[i + 1].lstrip("#")))
                for i, arg in enumerate(args) if arg == "--skip-colour"}
    pixels = {at: None if colour in left_out else colour for at, colour in pixels.items()}
    return width, height, pixels, Decimal(value("--pixel-size", "1"))


def check(dxf, width, height, pixels, size, merged):
    repairs = Repairs()
    logging.getLogger("ezdxf").addHandler(repairs)
    logging.getLogger("ezdxf").setLevel(logging.INFO)
    doc = ezdxf.readfile(dxf)
    problems = repairs.messages + [e.message for e in doc.audit().errors]

    # ezdxf gives the entities it adds on loading handles from $HANDSEED on.
    handles = [int(handle, 16) for handle in doc.entitydb.keys()]
    if len(set(handles)) != len(handles):
        problems.append("handles that name two entities")

    # Grid lines: column line i at i * size, row line j at (1 - j) * size, exactly as read back.
    columns = {float(i * size): i for i in range(width + 1)}
    rows = {float((1 - j) * size): j for j in range(height + 1)}
    traces = list(doc.modelspace())
    seed = int(doc.header["$HANDSEED"], 16)
    if traces and seed <= int(traces[-1].dxf.handle, 16):
        problems.append(f"$HANDSEED {seed:X} not above the last handle {traces[-1].dxf.handle}")
    painted = {}
    for number, trace in enumerate(traces):
        if trace.dxftype() != "TRACE" or int(trace.dxf.handle, 16) != 0x12C + number:
            problems.append(f"entity {number}: {trace.dxftype()} {trace.dxf.handle}")
            continue
        corners = [tuple(trace.dxf.get(f"vtx{i}")) for i in range(4)]
        (left, bottom, _), (right, _, _), (_, top, _), _ = corners
        if corners != [(left, bottom, 0), (right, bottom, 0), (left, top, 0), (right, top, 0)] or \
                left not in columns or right not in columns or top not in rows or bottom not in rows:
            problems.append(f"trace {trace.dxf.handle}: corners {corners} off the grid")
            continue
        square = [(x, y) for x in range(columns[left], columns[right])
                  for y in range(rows[top], rows[bottom])]
        if not square or (not merged and len(square) != 1):
            problems.append(f"trace {trace.dxf.handle}: {len(square)} pixels")
        for pixel in square:
            if pixel in painted:
                problems.append(f"pixel {pixel} drawn twice")
            painted[pixel] = trace.rgb
    drawn = {at: colour for at, colour in pixels.items() if colour is not None}
    for pixel in sorted(set(drawn) | set(painted)):
        if painted.get(pixel) != drawn.get(pixel):
            problems.append(f"pixel {pixel}: {painted.get(pixel)} != {drawn.get(pixel)}")

    info = subprocess.run(["ogrinfo", "-ro", "-so", "-al", dxf], capture_output=True, text=True,
                          check=True).stdout
    counts = [line.split(":")[1].strip() for line in info.splitlines()
              if line.startswith("Feature Count:")]
    if counts != [str(len(traces))]:
        problems.append(f"ogrinfo reads {counts} features, ezdxf {len(traces)} TRACEs")
    return len(traces), problems


def main(converter, templates, sample, case):
    picture, args, low_seed = CASES[case]
    with tempfile.TemporaryDirectory() as work:
        make_pictures(work, sample)
        if low_seed:
            templates = lowered_seed(templates, work)
        dxf = f"{work}/drawing.dxf"
        command = [converter, "--templates", templates, *args, f"{work}/{picture}"]
        if "-o" in args:
            with open(dxf, "wb") as out:
                subprocess.run(command, stdout=out, check=True)
        else:
            subprocess.run(command + ["-o", dxf], stdout=subprocess.DEVNULL, check=True)
        width, height, pixels, size = model(f"{work}/{picture}", args)
        traces, problems = check(dxf, width, height, pixels, size, "--merge" in args)
    for problem in problems[:20]:
        print(problem)
    print(f"{case}: {' '.join(args)} on {picture}, {width} x {height}: {traces} TRACEs, "
          f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    converter, templates, sample, *cases = sys.argv[1:]
    # One process for every case: importing ezdxf takes longer than checking a drawing.
    sys.exit(max(main(converter, templates, sample, case) for case in cases))
