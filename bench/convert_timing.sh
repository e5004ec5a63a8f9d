#!/usr/bin/env bash
# Times pixdraft-convert against the floor, floor_convert (one plain Qt process that decodes the
# same picture and writes the same DXF bytes through a temporary name), and against the floor
# with a QCoreApplication: a 256 x 256 PNG, a 1 x 1 PNG, and a batch of 200 small PNGs (one
# converter run against 200 floor runs, without the application object). The runs of the three take turns, so a change in the
# machine's load falls on all of them alike; each gives the median of RUNS runs (default 21) of
# wall and CPU time (its helpers' included), and the ratios to the floors. Every run replaces
# the drawing of the run before, as a user converting again does. The load average is printed
# before and after: take figures from an idle machine.
# Usage: bench/convert_timing.sh [BUILD_DIR] [RUNS] [CASES]
#   (default build/release, 21, and every case: square,dot,batch)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
runs=${2:-21}
cases=${3:-square,dot,batch}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$build" "$PWD/templates" "$work" "$runs" "$cases" <<'PY'
import os, random, statistics, sys, time
from PIL import Image

build, templates, work, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
cases = sys.argv[5].split(",")
converter = f"{build}/src/app/pixdraft-convert"
floor = f"{build}/bench/floor_convert"

def picture(name, width, height, seed):
    rng = random.Random(seed)
    image = Image.new("RGB", (width, height))
    image.putdata([(x * 7 & 255, y * 5 & 255, rng.randrange(256))
                   for y in range(height) for x in range(width)])
    path = f"{work}/{name}"
    image.save(path)
    return path

def run(argv):
    """Wall and CPU seconds of one run, its children's CPU time included."""
    start = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, os.environ)
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        sys.exit(f"{argv[0]} failed with status {status}")
    return wall, usage.ru_utime + usage.ru_stime

def runs_of(argvs):
    total_wall = total_cpu = 0.0
    for argv in argvs:
        wall, cpu = run(argv)
        total_wall += wall
        total_cpu += cpu
    return total_wall, total_cpu

def compare(label, pictures, variants=(("floor", []), ("floor --app", ["--app"]))):
    # The reference drawings, made by the converter itself.
    convert = [converter, "-q", "--templates", templates, *pictures]
    run(convert)
    floors = {}
    for variant, extra in variants:
        floors[variant] = [[floor, *extra, p, p[:-4] + ".dxf", p[:-4] + ".floor.dxf"]
                           for p in pictures]
    contenders = {"pixdraft-convert": [convert], **floors}
    times = {name: [] for name in contenders}
    names = list(contenders)
    for turn in range(runs + 2):
        order = names if turn % 2 == 0 else names[::-1]
        for name in order:
            result = runs_of(contenders[name])
            if turn >= 2:  # the first turns warm the caches
                times[name].append(result)
    median = {name: (statistics.median(w for w, _ in t), statistics.median(c for _, c in t))
              for name, t in times.items()}
    print(f"{label} (medians of {runs}):")
    conv_wall, conv_cpu = median["pixdraft-convert"]
    for name, (wall, cpu) in median.items():
        print(f"  {name:17} wall {wall * 1000:8.2f} ms  cpu {cpu * 1000:8.2f} ms")
    for name in floors:
        wall, cpu = median[name]
        print(f"  pixdraft-convert / {name}: wall {conv_wall / wall:.3f}, cpu {conv_cpu / cpu:.3f}")
    sys.stdout.flush()

print("load average before:", open("/proc/loadavg").read().split()[:3])
if "square" in cases:
    compare("256 x 256 PNG", [picture("square.png", 256, 256, 1)])
if "dot" in cases:
    compare("1 x 1 PNG", [picture("dot.png", 1, 1, 2)])
if "batch" in cases:
    batch = [picture(f"small{i:03}.png", 8 + i % 57, 8 + i * 7 % 61, 100 + i) for i in range(200)]
    compare("batch of 200 small PNGs", batch, variants=(("floor", []),))
print("load average after:", open("/proc/loadavg").read().split()[:3])
PY
