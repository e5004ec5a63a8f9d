"""Has the programs a kind of user opens drawings in read what a converter command line makes,
and checks what each promises that kind of user.

A profile names what its drawings promise (PROMISES); the command line after "--" makes them,
`--for NAME` and any options given with it. Three pictures are converted: the
sample, a logo on transparency whose pixels of one colour touch at corners (a diagonal line, a
checkerboard, a hole), and a logo on an opaque white background. Each drawing is checked by:

- ezdxf: loads without a single repair, recover mode mends nothing; only the promised entities;
  on layers C_RRGGBB (or the palette's names) with group 62 as promised; $INSUNITS and
  $MEASUREMENT as promised;
- paint-back: every pixel centre, painted by the even-odd rule (a colour's LWPOLYLINEs together,
  each other entity on its own), has the colour of the working raster's pixel, and nothing else
  is painted: on the grid of the promised origin and pixel size; LWPOLYLINEs beside filled
  entities are their outlines and paint the same;
- GDAL's ogrinfo: as many features, on the same layers;
- OpenSCAD (3D): `import(layer=...)` and `linear_extrude` of each layer give a closed solid
  (every edge of the exported mesh joins exactly two faces, once each way); on the logo whose
  pixels touch at corners, the layers extruded to different heights together render without an
  error; the whole drawing imported at once has the drawn pixels' area;
- Inkscape's DXF import (vector): every entity a path on the A4 page, every HATCH filled, in as
  many colours as the drawing has colour indices;
- FreeCAD (3D, only with --freecad): the C++ importer's edges of every layer, joined as Draft's
  upgrade joins them, make closed wires, and faces of exactly the drawn area that extrude to
  valid solids;
- the counts (mosaic): each colour's squares are its painted pixels, its entities those drawn.

Usage: check_profile.py [--freecad] PROFILE TEMPLATE_DIR SAMPLE_PICTURE -- CONVERTER [OPTION]...
"""
import collections
import csv
import logging
import os
import re
import shutil
import subprocess
import sys
import tempfile
from decimal import Decimal

import ezdxf
from ezdxf import recover
from PIL import Image

from check_conversion import Repairs, working_raster
from check_option import nearest, palette

# What each profile's drawings promise: the options whose drawing the paint-back models, the
# entities its programs read, whether layers and colour indices are there, and the readers.
PROMISES = {
    "plain": dict(model=[], entities={"TRACE"}, readers=[]),
    "laser": dict(model=["--skip-transparent", "--skip-background", "--origin", "bottom-left"],
                  entities={"LWPOLYLINE"}, layers=True, index=True, units="mm", readers=[]),
    "cad": dict(model=["--skip-transparent", "--origin", "bottom-left"], entities={"HATCH"},
                layers=True, index=True, units="mm", readers=[]),
    "3d": dict(model=["--skip-transparent", "--skip-background", "--origin", "bottom-left"],
               entities={"LWPOLYLINE"},
               layers=True, units="mm", readers=["openscad"]),
    "vector": dict(model=["--skip-transparent", "--origin", "bottom-left"],
                   entities={"HATCH", "LWPOLYLINE"},
                   layers=True, index=True, units="mm", readers=["inkscape"]),
    "mosaic": dict(model=["--skip-transparent", "--origin", "bottom-left", "--palette",
                          "samples/tiles.txt"], entities={"HATCH"}, layers=True, index=True,
                   units="mm", readers=[]),
}
INSUNITS = {"mm": 4, "cm": 5, "m": 6, "in": 1, "ft": 2}


def make_pictures(work, sample):
    shutil.copy(sample, f"{work}/sample.png")
    os.mkdir(f"{work}/samples")
    shutil.copy(f"{os.path.dirname(sample)}/tiles.txt", f"{work}/samples")
    # 24 x 16 on transparency: a red diagonal line, a blue block with a hole and a blue pixel at
    # its corner, a green checkerboard that touches the line's end at a corner.
    logo = Image.new("RGBA", (24, 16), (0, 0, 0, 0))
    for i in range(12):
        logo.putpixel((2 + i, 2 + i), (200, 20, 20, 255))
    for y in range(3, 9):
        for x in range(15, 22):
            logo.putpixel((x, y), (20, 40, 160, 255) if (x, y) != (16, 5) else (0, 0, 0, 0))
    logo.putpixel((14, 9), (20, 40, 160, 255))
    for y in range(11, 15):
        for x in range(14, 22):
            if (x + y) % 2 == 0:
                logo.putpixel((x, y), (20, 150, 40, 255))
    logo.save(f"{work}/corners.png")
    # 40 x 30 on white: a dark ring with a bar across its white hole, and an orange square.
    opaque = Image.new("RGB", (40, 30), (255, 255, 255))
    for y in range(30):
        for x in range(40):
            if 30 <= (x - 14) ** 2 + (y - 15) ** 2 < 110 or (y == 15 and 6 < x < 22):
                opaque.putpixel((x, y), (20, 40, 120))
            if 28 <= x < 36 and 5 <= y < 13:
                opaque.putpixel((x, y), (255, 128, 0))
    opaque.save(f"{work}/opaque.png")
    return ["sample.png", "corners.png", "opaque.png"]


def value(args, name, default=None):
    return args[args.index(name) + 1] if name in args else default


def model(picture, args):
    """The working raster the options make: width, height, {(x, y): colour or None}."""
    width, height, pixels = working_raster(picture, int(value(args, "--size", 256)),
                                           "--keep-aspect" in args, "--skip-transparent" in args)
    if "--palette" in args:
        pixels = nearest(pixels, list(palette(args)))
    corners = {pixels[(x, y)] for x in (0, width - 1) for y in (0, height - 1)}
    if "--skip-background" in args and len(corners) == 1 and None not in corners:
        pending = [(x, y) for x in range(width) for y in range(height)
                   if x in (0, width - 1) or y in (0, height - 1)]
        while pending:  # the corners' colour, from the edge through pixel edges
            x, y = pending.pop()
            if pixels.get((x, y), None) in corners:
                pixels[(x, y)] = None
                pending += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    return width, height, pixels


def loops_of(entity):
    kind = entity.dxftype()
    if kind in ("TRACE", "SOLID"):
        return [[entity.dxf.get(f"vtx{i}") for i in (0, 1, 3, 2)]]
    if kind == "HATCH":
        return [list(path.vertices) for path in entity.paths]
    return [list(entity.vertices())]


def paint(loops, to_grid, height):
    """The pixels whose centres lie inside `loops` by the even-odd rule."""
    crossings = collections.defaultdict(list)  # row: x of the edges crossing its centre line
    for loop in loops:
        points = [to_grid(v) for v in loop]
        for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
            for row in range(max(0, int(min(y0, y1) - 0.5)), min(height, int(max(y0, y1) + 1))):
                centre = row + 0.5
                if min(y0, y1) < centre < max(y0, y1):
                    crossings[row].append(x0 + (x1 - x0) * (centre - y0) / (y1 - y0))
    inside = set()
    for row, xs in crossings.items():
        xs.sort()
        for left, right in zip(xs[0::2], xs[1::2]):
            inside.update((x, row) for x in range(int(left + 0.5), int(right + 0.5)))
    return inside


def check_drawing(dxf, promise, width, height, pixels, size, problems):
    repairs = Repairs()
    logging.getLogger("ezdxf").addHandler(repairs)
    logging.getLogger("ezdxf").setLevel(logging.INFO)
    doc = ezdxf.readfile(dxf)
    auditor = doc.audit()
    _, recovered = recover.readfile(dxf)
    logging.getLogger("ezdxf").removeHandler(repairs)
    problems += repairs.messages + [e.message for e in auditor.errors + auditor.fixes +
                                    recovered.errors + recovered.fixes]
    entities = list(doc.modelspace())
    kinds = {e.dxftype() for e in entities}
    if not kinds <= promise["entities"]:
        problems.append(f"entities {sorted(kinds)}, not only {sorted(promise['entities'])}")
    for e in entities:
        layer = doc.layers.get(e.dxf.layer)
        if promise.get("layers") and (layer.rgb != e.rgb or e.dxf.layer == "0"):
            problems.append(f"{e.dxftype()} {e.dxf.handle} of {e.rgb} on layer {e.dxf.layer}")
        if promise.get("index") and not e.dxf.hasattr("color") or promise.get("layers") and \
                layer.dxf.color != e.dxf.get("color", 7):
            problems.append(f"{e.dxftype()} {e.dxf.handle}: colour index {e.dxf.get('color')}, "
                            f"its layer's {layer.dxf.color}")
    if promise.get("units") and (doc.header["$INSUNITS"], doc.header["$MEASUREMENT"]) != \
            (INSUNITS[promise["units"]], 1):
        problems.append(f"$INSUNITS {doc.header['$INSUNITS']}, $MEASUREMENT "
                        f"{doc.header.get('$MEASUREMENT')}")

    top = height if "bottom-left" in promise["model"] else 1
    def to_grid(v):
        return float(v[0]) / float(size), top - float(v[1]) / float(size)
    # Filled entities each on their own; outlines by colour. Where both are drawn, the outlines
    # are the fills' own and must paint the same.
    fills = [(e.rgb, loops_of(e)) for e in entities if e.dxftype() != "LWPOLYLINE"]
    outlines = collections.defaultdict(list)
    for e in entities:
        if e.dxftype() == "LWPOLYLINE":
            outlines[e.rgb] += loops_of(e)
    def painting(shapes):
        painted, colour_of = collections.Counter(), {}
        for rgb, loops in shapes:
            for pixel in paint(loops, to_grid, height):
                painted[pixel] += 1
                colour_of[pixel] = rgb
        return painted, colour_of
    painted, colour_of = painting(fills or outlines.items())
    if fills and outlines and painting(outlines.items()) != (painted, colour_of):
        problems.append("the outlines paint other pixels than the fills")
    drawn = {at: colour for at, colour in pixels.items() if colour is not None}
    wrong = [p for p in sorted(set(drawn) | set(painted))
             if painted[p] != 1 or colour_of.get(p) != drawn.get(p)]
    for p in wrong[:5]:
        problems.append(f"pixel {p}: painted {painted[p]} times in {colour_of.get(p)}, "
                        f"drawn in {drawn.get(p)}")
    if len(wrong) > 5:
        problems.append(f"... {len(wrong)} pixels wrong")

    info = subprocess.run(["ogrinfo", "-ro", "-q", "-sql", "SELECT Layer FROM entities", dxf],
                          capture_output=True, text=True, check=True).stdout
    names = re.findall(r"^  Layer \(String\) = (.*)$", info, re.M)
    if sorted(names) != sorted(e.dxf.layer for e in entities):
        problems.append(f"ogrinfo reads {len(names)} features on layers {sorted(set(names))[:5]}")
    return doc, drawn


def openscad(dxf, layers, drawn, size, work, stacked, problems):
    def run(name, body):
        scad, off = f"{work}/{name}.scad", f"{work}/{name}.off"
        with open(scad, "w") as out:
            out.write(body)
        result = subprocess.run(["openscad", "-o", off, scad], capture_output=True, text=True)
        errors = [line for line in result.stderr.splitlines() if line.startswith("ERROR")]
        problems.extend(f"OpenSCAD, {name}: {error}" for error in sorted(set(errors)))
        return off if result.returncode == 0 and os.path.exists(off) else None

    def mesh(off):
        with open(off) as text:
            numbers = text.read().split("\n")
        numbers[0] = numbers[0][3:]  # "OFF", then the counts on the same line or the next
        lines = [line for line in numbers if line.strip()]
        vertices, faces, _ = map(int, lines[0].split())
        points = [tuple(map(float, line.split())) for line in lines[1:1 + vertices]]
        edges, volume = collections.Counter(), 0.0
        for line in lines[1 + vertices:1 + vertices + faces]:
            face = list(map(int, line.split()))[1:]
            edges.update(zip(face, face[1:] + face[:1]))
            a = points[face[0]]
            for b, c in zip((points[i] for i in face[1:-1]), (points[i] for i in face[2:])):
                volume += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0])
                           + a[2] * (b[0] * c[1] - b[1] * c[0])) / 6
        open_edges = sum(n != 1 or edges[(b, a)] != 1 for (a, b), n in edges.items())
        return open_edges, volume

    # One layer alone is one object, which OpenSCAD exports without CGAL: quick.
    for layer in layers:
        alone = run(f"layer {layer}", f'linear_extrude(1) import("{dxf}", layer="{layer}");')
        if alone and mesh(alone)[0]:
            problems.append(f"OpenSCAD: layer {layer} leaves {mesh(alone)[0]} edges that do "
                            "not join two faces")
    if stacked:  # CGAL joins the layers: slow, but what a model of several colours meets
        run("stacked", "\n".join(f'linear_extrude({i + 1}) import("{dxf}", layer="{layer}");'
                                 for i, layer in enumerate(layers)))
    whole = run("whole", f'linear_extrude(1) import("{dxf}");')
    area = len(drawn) * float(size) ** 2
    if whole and abs(mesh(whole)[1] - area) > 0.01 * area:
        problems.append(f"OpenSCAD: the whole drawing has area {mesh(whole)[1]:.2f}, not {area}")


def inkscape(dxf, doc, work, problems):
    svg = subprocess.run(["/usr/bin/python3", "/usr/share/inkscape/extensions/dxf_input.py",
                          dxf], capture_output=True, text=True).stdout
    with open(f"{work}/drawing.svg", "w") as out:
        out.write(svg)
    sys.path.insert(0, "/usr/share/inkscape/extensions")
    import inkex
    root = inkex.load_svg(f"{work}/drawing.svg").getroot()
    paths = root.xpath("//svg:g[@inkscape:groupmode='layer']//svg:path")
    filled = [p for p in paths if p.style.get("fill") != "none"]
    hatches = doc.modelspace().query("HATCH")
    fills = {p.style.get("fill") for p in filled}
    indices = {e.dxf.get("color") for e in doc.modelspace()}
    if len(paths) != len(doc.modelspace()) or len(filled) != len(hatches) or \
            None in indices or len(fills) != len(indices):
        problems.append(f"Inkscape: {len(paths)} paths, {len(filled)} filled in {len(fills)} "
                        f"colours, for {len(doc.modelspace())} entities, {len(hatches)} "
                        f"hatches, in {len(indices)} colour indices")
    box = None
    for path in paths:
        box = path.bounding_box() if box is None else box + path.bounding_box()
    if box and (box.left < 0 or box.top < 0 or box.right > root.viewbox_width + 1e-6 or
                box.bottom > root.viewbox_height + 1e-6):
        problems.append(f"Inkscape: the drawing spans {box}, off the page "
                        f"{root.viewbox_width:.1f} x {root.viewbox_height:.1f}")


FREECAD = """
import sys, FreeCAD, Part, Import
FreeCAD.ParamGet("User parameter:BaseApp/Preferences/Mod/Draft").SetBool("groupLayers", True)
FreeCAD.newDocument("d")
Import.readDXF(sys.argv[-1])
for o in FreeCAD.ActiveDocument.Objects:
    wires = [Part.Wire(edges) for edges in Part.sortEdges(o.Shape.Edges)]
    face = Part.makeFace(wires, "Part::FaceMakerBullseye")
    solid = face.extrude(FreeCAD.Vector(0, 0, 1))
    print("LAYER", o.Label, len(wires), sum(w.isClosed() for w in wires), solid.isValid(),
          round(face.Area, 6))
"""


def freecad(dxf, doc, work, problems):
    with open(f"{work}/freecad.py", "w") as out:
        out.write(FREECAD)
    out = subprocess.run(["freecadcmd", "-c", f"import sys; sys.argv = ['', {dxf!r}]; "
                          f"exec(open({work + '/freecad.py'!r}).read())"],
                         capture_output=True, text=True,
                         env=dict(os.environ, HOME=work)).stdout  # its settings stay there
    area = collections.Counter()
    for e in doc.modelspace():
        points = list(e.get_points("xy"))
        area[e.dxf.layer] += sum(a[0] * b[1] - b[0] * a[1]
                                 for a, b in zip(points, points[1:] + points[:1])) / 2
    rows = [line.split("LAYER ", 1)[1].split() for line in out.splitlines() if "LAYER " in line]
    if sorted(row[0] for row in rows) != sorted(area):
        problems.append(f"FreeCAD: layers {[row[0] for row in rows]}")
    for name, wires, closed, valid, face in rows:
        if wires != closed or valid != "True" or abs(float(face) - area[name]) > 1e-5:
            problems.append(f"FreeCAD, {name}: {closed} of {wires} wires closed, solid valid "
                            f"{valid}, face area {face} for {area[name]:.6f}")


def counts(args, doc, drawn, problems):
    with open(value(args, "--counts"), encoding="utf-8") as lines:
        rows = list(csv.DictReader(lines))[:-1]
    found = {row["colour"]: (int(row["squares"]), int(row["entities"])) for row in rows}
    expected = {"%02X%02X%02X" % colour: (n, sum(e.rgb == colour for e in doc.modelspace()))
                for colour, n in collections.Counter(drawn.values()).items()}
    if found != expected:
        problems.append(f"counts {found} for {dict(expected)}")


def main(profile, templates, sample, command, with_freecad):
    promise = PROMISES[profile]
    args = command[1:]
    failed, here = 0, os.getcwd()
    with tempfile.TemporaryDirectory() as work:
        for picture in make_pictures(work, sample):
            problems = []
            dxf = f"{work}/{picture[:-4]}.dxf"
            subprocess.run([command[0], "-q", "--templates", templates, *args, "-o", dxf,
                            picture], check=True, cwd=work)
            os.chdir(work)  # where the options' relative names lead
            width, height, pixels = model(picture, promise["model"] + args)
            size = Decimal(value(args, "--pixel-size", "1"))
            doc, drawn = check_drawing(dxf, promise, width, height, pixels, size, problems)
            layers = sorted({e.dxf.layer for e in doc.modelspace()})
            if "openscad" in promise["readers"]:
                openscad(dxf, layers, drawn, size, work, picture == "corners.png", problems)
            if "inkscape" in promise["readers"]:
                inkscape(dxf, doc, work, problems)
            if with_freecad:
                freecad(dxf, doc, work, problems)
            if "--counts" in args:
                counts(args, doc, drawn, problems)
            for problem in problems[:20]:
                print(f"  {problem}")
            print(f"{profile}: {picture}, {width} x {height}: {len(doc.modelspace())} entities "
                  f"on {len(layers)} layers, {len(problems)} problems")
            failed |= bool(problems)
        os.chdir(here)
    return int(failed)


if __name__ == "__main__":
    arguments = sys.argv[1:]
    with_freecad = arguments[0] == "--freecad"
    if with_freecad:
        arguments = arguments[1:]
    at = arguments.index("--")
    profile, templates, sample = arguments[:at]
    sys.exit(main(profile, os.path.abspath(templates), os.path.abspath(sample),
                  [os.path.abspath(arguments[at + 1])] + arguments[at + 2:], with_freecad))
