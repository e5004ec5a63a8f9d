"""Converts pictures with drawing options of pixdraft-convert and has two real DXF readers
check the result against an independent model of the conversion (check_conversion.py's working
raster, with the options applied here):

- ezdxf loads it without a single repair, its recover mode mends nothing; entities carry
  consecutive handles after the layers', all below $HANDSEED;
- painted back by the even-odd rule (TRACE and SOLID squares and rectangles with their corners
  in TRACE order, HATCH paths, a colour's LWPOLYLINEs together), the entities cover exactly the
  drawn pixels in their colours, on the grid of squares of the chosen size and origin;
- layers C_RRGGBB carry their entities' colours; group 62, $INSUNITS, $MEASUREMENT, $EXTMIN and
  $EXTMAX hold what the options ask for;
- GDAL's ogrinfo reads as many features, on the same layers, each layer's fill of its area.

With --palette each pixel is modelled as the palette's colour nearest by CIE76 in CIELAB; with
--colours as the nearest of the colours drawn, at most N. With --counts every line of the CSV
holds its colour's pixels, entities, layer, palette name and area (GDAL's for the layer), and a
second conversion under MALLOC_PERTURB_ writes the same bytes.

The case "readme" takes the command lines of README.md's table of profiles, each profile's
options as the table spells them, and its mosaic example.

Usage: check_option.py PIXDRAFT_CONVERT TEMPLATE_DIR SAMPLE_PICTURE CASE...
"""
import logging
import os
import re
import shutil
import csv
import subprocess
import sys
import tempfile
from decimal import Decimal

import ezdxf
from ezdxf import recover
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
    "hatch": ("photo.png", ["--size", "24", "--entity", "hatch", "--skip-transparent"], False),
    "polyline": ("logo.png", ["--entity", "polyline", "--merge", "--units", "in"], False),
    "regions": ("few.png", ["--entity", "polyline", "--merge=regions", "--skip-transparent",
                            "--origin", "bottom-left"], False),
    "region_hatches": ("few.png", ["--entity", "hatch", "--merge=regions"], False),
    "layers": ("photo.png", ["--size", "12", "--layers", "--colour-index", "--entity", "hatch",
                             "--merge=regions", "--pixel-size", "0.25"], True),
    "palette": ("photo.png", ["--size", "24", "--palette", "samples/tiles.txt", "--layers",
                              "--colour-index", "--entity", "hatch", "--merge=regions", "--units",
                              "cm", "--pixel-size", "0.5", "--counts", "counts.csv"], False),
    "colours": ("sample.png", ["--colours", "6", "--merge", "--layers", "--counts", "c.csv"], False),
    "palette_colours": ("photo.png", ["--palette", "samples/tiles.txt", "--colours", "3",
                                      "--entity", "polyline", "--skip-transparent", "--counts",
                                      "c.csv", "--layers"], False),
}
INSUNITS = {"mm": 4, "cm": 5, "m": 6, "in": 1, "ft": 2}


def make_pictures(work, sample):
    shutil.copy(sample, f"{work}/sample.png")
    os.mkdir(f"{work}/samples")
    shutil.copy(f"{os.path.dirname(sample)}/tiles.txt", f"{work}/samples")
    # 40 x 30: a gradient with noise, a transparent corner and half-transparent pixels.
    photo = Image.new("RGBA", (40, 30))
    photo.putdata([((x * 6) % 256, (y * 8) % 256, (x * y * 37) % 256,
                    0 if x < 6 and y < 5 else 128 if (x + y) % 7 == 0 else 255)
                   for y in range(30) for x in range(40)])
    photo.save(f"{work}/photo.png")
    # 48 x 32: a dark ring with a bar across its hole, on white.
    logo = Image.new("RGB", (48, 32), (255, 255, 255))
    logo.putdata([(20, 40, 120) if 40 <= (x - 24) ** 2 + (y - 16) ** 2 < 150 or y == 16
                  else (255, 255, 255) for y in range(32) for x in range(48)])
    logo.save(f"{work}/logo.png")
    # 30 x 20 of three colours and transparency, scrambled: holes, regions touching at corners.
    few = Image.new("RGBA", (30, 20))
    few.putdata([[(200, 0, 0, 255), (0, 90, 0, 255), (0, 0, 0, 255), (0, 0, 0, 0)][
        (x * 7 + y * 13 + x * y * 5 + (x ^ y) * 3) % 9 % 4] for y in range(20) for x in range(30)])
    few.save(f"{work}/few.png")


def readme_cases(readme):
    """The command lines of the README's table of options by kind of program, on the logo, and
    its mosaic example, on the photo."""
    cases = {}
    for line in open(readme, encoding="utf-8"):
        mosaic = re.match(r"pixdraft-convert (.*--palette samples/tiles\.txt.*) photo\.jpg$", line)
        if mosaic:
            cases["readme: mosaic"] = ("photo.png", mosaic[1].split(), False)
        command = re.search(r"`pixdraft-convert ([^`]*) logo\.png`", line)
        if line.startswith("|") and command:
            # A profile's row: its options as the next column spells them, R expanded.
            args = command[1]
            profile = re.search(r"--for (\S+)", args)
            if profile:
                spelled = re.match(r" *`([^`]*)`", line.split("|")[3])  # plain's: none
                options = spelled[1] if spelled else ""
                options = options.replace(" R ", " --merge=regions --skip-transparent "
                                                 "--origin bottom-left ")
                args = args.replace(profile[0], options)
            # What these options promise is checked per profile by check_profile.py.
            if any(o in args.split() for o in ("--skip-background", "--part-corners", "--outlines")):
                continue
            cases[f"readme: row {line.split('|')[1].strip()}"] = ("logo.png", args.split(), False)
    return cases


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
    if "--palette" in args and "--colours" not in args:  # else checked against what is drawn
        pixels = nearest(pixels, list(palette(args)))
    return width, height, pixels, Decimal(value("--pixel-size", "1"))


def palette(args):
    """The palette's colours and names, in its order."""
    names = {}
    for line in open(args[args.index("--palette") + 1], encoding="utf-8"):
        if line.strip()[:1] not in ("", "#"):
            colour, _, name = line.strip().partition(" ")
            names.setdefault(tuple(bytes.fromhex(colour.lstrip("#"))), name.strip())
    return names


def lab(colour):
    """CIELAB in hundredths, rounded, from sRGB with the D65 white."""
    r, g, b = (c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
               for c in (v / 255 for v in colour))
    x, y, z = ((0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047,
               (0.2126729 * r + 0.7151522 * g + 0.0721750 * b) / 1.0000001,
               (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883)
    fx, fy, fz = (t ** (1 / 3) if t > (6 / 29) ** 3 else t / (3 * (6 / 29) ** 2) + 4 / 29
                  for t in (x, y, z))
    return round(11600 * fy - 1600), round(50000 * (fx - fy)), round(20000 * (fy - fz))


def nearest(pixels, colours):
    """Each pixel as the nearest of `colours` by CIE76, the first listed on a tie."""
    labs = [lab(c) for c in colours]
    def choose(colour):
        p = lab(colour)
        return colours[min(range(len(colours)),
                           key=lambda i: sum((u - v) ** 2 for u, v in zip(p, labs[i])))]
    return {at: colour and choose(colour) for at, colour in pixels.items()}


def paint_loops(loops, colour, painted, problems, name):
    """Paints the pixels inside `loops` (grid corners) by the even-odd rule; returns the loops'
    signed area in pixels."""
    inside, area = set(), 0
    for loop in loops:
        for (x0, y0), (x1, y1) in zip(loop, loop[1:] + loop[:1]):
            if (x0 != x1) == (y0 != y1):
                problems.append(f"{name}: edge {(x0, y0)} to {(x1, y1)} not along the grid")
            area += x0 * -y1 - x1 * -y0
            if x0 == x1:  # a vertical edge toggles the pixels of its rows to its left
                inside ^= {(x, y) for x in range(x0) for y in range(min(y0, y1), max(y0, y1))}
    for pixel in inside:
        if pixel in painted:
            problems.append(f"{name}: pixel {pixel} drawn twice")
        painted[pixel] = colour
    return area // 2


def check(dxf, width, height, pixels, size, args):
    repairs = Repairs()
    logging.getLogger("ezdxf").addHandler(repairs)
    logging.getLogger("ezdxf").setLevel(logging.INFO)
    doc = ezdxf.readfile(dxf)
    auditor = doc.audit()
    _, recovered = recover.readfile(dxf)
    problems = repairs.messages + [e.message for e in auditor.errors + auditor.fixes +
                                   recovered.errors + recovered.fixes]

    # ezdxf gives the entities it adds on loading handles from $HANDSEED on.
    handles = [int(handle, 16) for handle in doc.entitydb.keys()]
    if len(set(handles)) != len(handles):
        problems.append("handles that name two entities")

    # Grid lines: column line i at i * size, row line j at (top - j) * size, exactly as read.
    top = height if "bottom-left" in args else 1
    columns = {float(i * size): i for i in range(width + 1)}
    rows = {float((top - j) * size): j for j in range(height + 1)}
    entities = list(doc.modelspace())
    layers = [layer.dxf.name for layer in doc.layers if layer.dxf.name not in ("0", "Defpoints")]
    counts = {}
    if "--counts" in args:
        lines = list(csv.DictReader(open(args[args.index("--counts") + 1], encoding="utf-8")))
        counts = {tuple(bytes.fromhex(row["colour"])): row for row in lines[:-1]}
        total = {key: sum(Decimal(row[key]) for row in lines[:-1]) for key in list(lines[0])[3:]}
        if lines[-1]["colour"] != "total" or any(Decimal(lines[-1][k]) != total[k] for k in total):
            problems.append(f"counts' total {lines[-1]} != {total}")
    if "--colours" in args:  # in the palette's order, else by RRGGBB
        drawn = {entity.rgb for entity in entities}
        pixels = nearest(pixels, [c for c in palette(args) if c in drawn] if "--palette" in args
                         else sorted(drawn))
        if len(drawn) > int(args[args.index("--colours") + 1]):
            problems.append(f"{len(drawn)} colours drawn")
    first = 0x12C + len(layers)
    seed = int(doc.header["$HANDSEED"], 16)
    if entities and seed <= int(entities[-1].dxf.handle, 16):
        problems.append(f"$HANDSEED {seed:X} not above the last handle {entities[-1].dxf.handle}")
    painted, areas, outlines = {}, {}, {}
    for number, entity in enumerate(entities):
        name = f"{entity.dxftype()} {entity.dxf.handle}"
        if int(entity.dxf.handle, 16) != first + number:
            problems.append(f"entity {number}: {name}")
        layer = "C_%02X%02X%02X" % entity.rgb if "--layers" in args else "0"
        if entity.rgb in counts:
            layer = counts[entity.rgb]["layer"]
        if entity.dxf.layer != layer or ("--colour-index" in args) != entity.dxf.hasattr("color"):
            problems.append(f"{name}: layer {entity.dxf.layer}, colour {entity.dxf.get('color')}")
        if "--layers" in args and (doc.layers.get(layer).rgb != entity.rgb or
                                   doc.layers.get(layer).color != entity.dxf.get("color", 7)):
            problems.append(f"{name}: layer {layer} has another colour")
        kind = entity.dxftype()
        if kind in ("TRACE", "SOLID"):  # corners in TRACE order make a loop anticlockwise
            vertices = [[entity.dxf.get(f"vtx{i}") for i in (0, 1, 3, 2)]]
        else:
            vertices = [path.vertices for path in entity.paths] if kind == "HATCH" else \
                [list(entity.vertices())]
        if any({v[0] for v in loop} - set(columns) or {v[1] for v in loop} - set(rows)
               for loop in vertices):
            problems.append(f"{name}: corners off the grid")
            continue
        loops = [[(columns[v[0]], rows[v[1]]) for v in loop] for loop in vertices]
        if kind == "LWPOLYLINE":  # a colour's loops together, once all are read
            outlines.setdefault(entity.rgb, []).extend(loops)
        else:
            area = paint_loops(loops, entity.rgb, painted, problems, name)
            areas[layer] = areas.get(layer, 0) + area
            if area <= 0:
                problems.append(f"{name}: area {area}")
        if kind not in ("HATCH", "LWPOLYLINE") and "--merge" not in args and \
                len(painted) != number + 1:
            problems.append(f"{name}: more than one pixel")
    for rgb, loops in outlines.items():
        if paint_loops(loops, rgb, painted, problems, f"outlines of {rgb}") != \
                sum(colour == rgb for colour in pixels.values()):
            problems.append(f"outlines of {rgb}: area off")
    drawn = {at: colour for at, colour in pixels.items() if colour is not None}
    for pixel in sorted(set(drawn) | set(painted)):
        if painted.get(pixel) != drawn.get(pixel):
            problems.append(f"pixel {pixel}: {painted.get(pixel)} != {drawn.get(pixel)}")

    names = palette(args) if "--palette" in args else {}
    for rgb, row in counts.items():
        expected = [sum(colour == rgb for colour in drawn.values()),
                    sum(entity.rgb == rgb for entity in entities), names.get(rgb, "")]
        if [int(row["squares"]), int(row["entities"]), row["name"]] != expected:
            problems.append(f"counts of {rgb}: {row} for {expected}")
    if counts and sorted(counts) != sorted(set(drawn.values())):
        problems.append(f"counts for {sorted(counts)}")

    units = args[args.index("--units") + 1] if "--units" in args else None
    if units and (doc.header["$INSUNITS"], doc.header["$MEASUREMENT"]) != \
            (INSUNITS[units], int(units in ("mm", "cm", "m"))):
        problems.append(f"$INSUNITS {doc.header['$INSUNITS']} for {units}")
    box = (min(x for x, _ in drawn), max(x for x, _ in drawn) + 1,
           min(y for _, y in drawn), max(y for _, y in drawn) + 1) if drawn else None
    extent = [(float(box[0] * size), float((top - box[3]) * size), 0),
              (float(box[1] * size), float((top - box[2]) * size), 0)] if box else None
    if extent and extent != [(0, 1 - height, 0), (width, 1, 0)]:
        if [tuple(doc.header.get(name, ())) for name in ("$EXTMIN", "$EXTMAX")] != extent:
            problems.append(f"$EXTMIN, $EXTMAX not {extent}")
    elif "$EXTMIN" in doc.header:
        problems.append("$EXTMIN for the default extent")

    info = subprocess.run(["ogrinfo", "-ro", "-q", "-sql",
                           "SELECT Layer, OGR_GEOM_AREA AS area FROM entities", dxf],
                          capture_output=True, text=True, check=True).stdout
    names = re.findall(r"^  Layer \(String\) = (.*)$", info, re.M)
    if sorted(names) != sorted(entity.dxf.layer for entity in entities):
        problems.append(f"ogrinfo reads {len(names)} features on layers {sorted(set(names))}")
    if not outlines:  # ogrinfo reads closed polylines as lines
        ogr_areas = {}
        for name, area in zip(names, re.findall(r"^  area \(Real\) = (.*)$", info, re.M)):
            ogr_areas[name] = ogr_areas.get(name, 0) + Decimal(area)
        expected = {name: area * size * size for name, area in areas.items()}
        if counts and {row["layer"]: Decimal(row[list(row)[-1]]) for row in counts.values()} != \
                expected:
            problems.append(f"counts' areas != {expected}")
        if any(abs(ogr_areas.get(name, 0) - area) > Decimal("1e-6") * (1 + area)
               for name, area in expected.items()):
            problems.append(f"ogrinfo areas {ogr_areas} != {expected}")
    return len(entities), problems


def main(converter, templates, sample, case, cases):
    picture, args, low_seed = cases[case]
    with tempfile.TemporaryDirectory() as work:
        make_pictures(work, sample)
        if low_seed:
            templates = lowered_seed(templates, work)
        dxf = f"{work}/drawing.dxf"
        command = [converter, "--templates", templates, *args, f"{work}/{picture}"]
        if "-o" not in args:
            command += ["-o", dxf]
        # Twice where colours are reduced: the same bytes whatever fresh memory holds.
        runs = 2 if "--palette" in args or "--colours" in args else 1
        outputs = []
        for run in range(runs):
            with open(dxf, "wb") as out:
                subprocess.run(command, stdout=out if "-o" in args else subprocess.DEVNULL,
                               check=True, cwd=work, env=dict(os.environ, MALLOC_PERTURB_=str(
                                   165 * run)))
            outputs.append([open(f"{work}/{name}", "rb").read() for name in os.listdir(work)
                            if os.path.isfile(f"{work}/{name}")])
        if outputs[0] != outputs[-1]:
            print(f"{case}: a second conversion wrote other bytes")
            return 1
        here = os.getcwd()
        os.chdir(work)  # where the options' relative names lead
        width, height, pixels, size = model(f"{work}/{picture}", args)
        entities, problems = check(dxf, width, height, pixels, size, args)
        os.chdir(here)
    for problem in problems[:20]:
        print(problem)
    print(f"{case}: {' '.join(args)} on {picture}, {width} x {height}: {entities} entities, "
          f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    (converter, templates, sample), names = map(os.path.abspath, sys.argv[1:4]), sys.argv[4:]
    cases = dict(CASES)
    if "readme" in names:
        readme = readme_cases(f"{templates}/../README.md")
        cases.update(readme)
        names = [name for name in names if name != "readme"] + list(readme) + \
            ([] if "readme: mosaic" in readme else ["readme: no mosaic example"])
    # One process for every case: importing ezdxf takes longer than checking a drawing.
    sys.exit(max(main(converter, templates, sample, name, cases) for name in names))
