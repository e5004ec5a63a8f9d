"""Checks a DXF of write_sample_dxf with ezdxf: it loads without a single repair, passes the
audit, and holds one TRACE per pixel on layer 0 with the pixel's square and true colour.

Usage: check_dxf_with_ezdxf.py DXF WIDTH HEIGHT
"""
import logging
import sys

import ezdxf


class Collect(logging.Handler):
    def __init__(self):
        super().__init__(logging.INFO)
        self.messages = []

    def emit(self, record):
        self.messages.append(record.getMessage())


def main(path, width, height):
    repairs = Collect()
    logging.getLogger("ezdxf").addHandler(repairs)
    logging.getLogger("ezdxf").setLevel(logging.INFO)
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    problems = list(repairs.messages)
    problems += [f"audit error: {e.message}" for e in auditor.errors]
    problems += [f"audit fix: {f.message}" for f in auditor.fixes]

    if doc.dxfversion < "AC1018":
        problems.append(f"DXF version {doc.dxfversion} is older than R2004")
    traces = doc.modelspace().query("TRACE")
    if len(doc.modelspace()) != width * height or len(traces) != width * height:
        problems.append(f"{len(traces)} traces for {width} x {height} pixels")
    for trace in traces:
        x = int(trace.dxf.vtx0.x)
        y = -int(trace.dxf.vtx0.y)
        expected_corners = [(x, -y), (x + 1, -y), (x, -y + 1), (x + 1, -y + 1)]
        corners = [(v.x, v.y) for v in (trace.dxf.get(f"vtx{i}") for i in range(4))]
        if corners != expected_corners or trace.dxf.layer != "0":
            problems.append(f"trace {trace.dxf.handle}: corners {corners} on {trace.dxf.layer}")
        colour = (40 * x % 256, 60 * y % 256, (255 - 30 * x - 30 * y) & 255)
        if trace.rgb != colour:
            problems.append(f"trace {trace.dxf.handle} at ({x}, {y}): {trace.rgb} != {colour}")

    for problem in problems:
        print(problem)
    print(f"{len(traces)} traces checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], int(sys.argv[2]), int(sys.argv[3])))
