#!/usr/bin/env python3
"""Renders DXF drawings side by side into one PNG, as ezdxf's drawing add-on reads them, on the
dark background of a CAD program's model space and at one scale; each panel is titled with its
caption and the number of TRACE entities it holds. With --edges, each TRACE of a panel is
outlined, so that merged squares show.

Usage: render_dxf.py OUTPUT.png [--edges] CAPTION DRAWING.dxf [[--edges] CAPTION DRAWING.dxf]...
"""
import sys

import ezdxf
import matplotlib
from ezdxf import bbox

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
from ezdxf.addons.drawing import Frontend, RenderContext  # noqa: E402
from ezdxf.addons.drawing.matplotlib import MatplotlibBackend  # noqa: E402

BACKGROUND = "#212830"


def panels(args):
    edges = False
    while args:
        if args[0] == "--edges":
            edges, args = True, args[1:]
            continue
        yield edges, args[0], args[1]
        edges, args = False, args[2:]


def read(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors or auditor.has_fixes:
        sys.exit(f"{path}: ezdxf had to repair it")
    return doc


def draw(axes, caption, doc, edges, extents):
    traces = doc.modelspace().query("TRACE")
    context = RenderContext(doc)
    context.current_layout_properties.set_colors(BACKGROUND)
    backend = MatplotlibBackend(axes, adjust_figure=False)
    Frontend(context, backend).draw_layout(doc.modelspace(), finalize=True)
    if edges:
        for trace in traces:
            corners = [trace.dxf.vtx0, trace.dxf.vtx1, trace.dxf.vtx3, trace.dxf.vtx2]
            axes.plot([c.x for c in corners + corners[:1]], [c.y for c in corners + corners[:1]],
                      color="#101418", linewidth=0.3, zorder=1e9)  # above the fills
    axes.set_xlim(extents.extmin.x - 2, extents.extmax.x + 2)
    axes.set_ylim(extents.extmin.y - 2, extents.extmax.y + 2)
    axes.set_title(f"{caption}\n{len(traces):,} TRACE entities", color="white", fontsize=10)


def main(output, *args):
    chosen = [(edges, caption, read(path)) for edges, caption, path in panels(list(args))]
    extents = bbox.BoundingBox()
    for _, _, doc in chosen:
        extents.extend(bbox.extents(doc.modelspace()))
    figure = plt.figure(figsize=(3.6 * len(chosen), 4.4), facecolor=BACKGROUND)
    figure.subplots_adjust(left=0.02, right=0.98, bottom=0.02, top=0.88, wspace=0.08)
    for index, (edges, caption, doc) in enumerate(chosen):
        draw(figure.add_subplot(1, len(chosen), index + 1), caption, doc, edges, extents)
    figure.savefig(output, dpi=120, facecolor=BACKGROUND)


if __name__ == "__main__":
    main(*sys.argv[1:])
