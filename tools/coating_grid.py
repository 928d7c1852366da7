#!/usr/bin/env python3
"""Solder mask and cover: the closed form against the in-app field solver.

Runs `tavrel-calc fieldsolve --refine=N` (finer meshes than the default,
Richardson-extrapolated) for microstrip and coupled-microstrip lines with a
solder mask (Tm, Erm) and a cover (Hc) on FR-4 and RO4350B, two calls at a
time, and prints per line the worst and median |difference| of Z0 and eeff
(both modes of a pair), split into mask only, cover only and both.  The fitted
constants of src/models/coatingmodel.cpp come from solutions like these.

usage: tools/coating_grid.py [path/to/tavrel-calc] [--line NAME] [--refine N] [--worst N]
"""
import itertools
import json
import statistics
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

SUBSTRATES = [("FR-4 0.2 mm", 4.3, 0.2e-3), ("FR-4 1.6 mm", 4.3, 1.6e-3),
              ("RO4350B 0.254 mm", 3.66, 0.254e-3), ("RO4350B 0.508 mm", 3.66, 0.508e-3)]
T = 35e-6
# Widths and gaps over H: 50-ohm-class single strips (and narrower), and
# 100-ohm-class differential pairs.
GEOMETRIES = {
    "microstrip": [{"W": 0.5}, {"W": 1.0}, {"W": 2.0}],
    "coupled-microstrip": [{"W": 0.5, "S": 0.5}, {"W": 1.0, "S": 1.0},
                           {"W": 1.5, "S": 2.0}, {"W": 0.7, "S": 1.5}],
}
MASKS = [(0.0, 3.5)] + [(tm, erm) for tm in (10e-6, 25e-6, 40e-6) for erm in (3.0, 4.0)]
COVERS = [0.0, 2.0, 5.0, 20.0]  # over H; 0: none


def cases(line):
    for (name, er, h), geo, (tm, erm), hc in itertools.product(
            SUBSTRATES, GEOMETRIES[line], MASKS, COVERS):
        if tm == 0.0 and hc == 0.0:
            continue  # the uncoated line: the closed-form grid's business
        keys = {"Er": er, "H": h, "T": T, "Tm": tm, "Erm": erm, "Hc": hc * h}
        keys.update({k: ratio * h for k, ratio in geo.items()})
        kind = "both" if tm and hc else "mask" if tm else "cover"
        yield name, kind, keys


def solve(calc, line, refine, keys):
    args = [calc, "fieldsolve", line, "f=1MHz"] + ([f"--refine={refine}"] if refine else [])
    args += [f"{k}={v!r}" for k, v in keys.items()]
    out = subprocess.run(args, capture_output=True, text=True)
    try:
        return json.loads(out.stdout)
    except json.JSONDecodeError:
        return {"error": out.stderr.strip()}


def modes(answer):
    return [answer[m] for m in ("even", "odd") if m in answer] or [answer]


def main():
    argv = sys.argv[1:]
    calc = argv.pop(0) if argv and not argv[0].startswith("--") else "build/tavrel-calc"
    only = argv[argv.index("--line") + 1] if "--line" in argv else None
    refine = int(argv[argv.index("--refine") + 1]) if "--refine" in argv else 1
    worst = int(argv[argv.index("--worst") + 1]) if "--worst" in argv else 0
    print("| line | coating | points | Z0 worst % | Z0 median % | eeff worst % | eeff median % |")
    print("|---|---|---|---|---|---|---|")
    for line in GEOMETRIES:
        if only and line != only:
            continue
        todo = list(cases(line))
        with ThreadPoolExecutor(2) as pool:
            answers = list(pool.map(lambda c: solve(calc, line, refine, c[2]), todo))
        rows = {"mask": ([], []), "cover": ([], []), "both": ([], [])}
        where = []
        for (name, kind, keys), answer in zip(todo, answers):
            closed = answer.get("closed_form", {})
            if "error" in answer or "error" in closed:
                print(f"  not compared: {name} {keys}: {answer.get('error') or closed.get('error')}",
                      file=sys.stderr)
                continue
            for form in modes(closed):
                dz = abs(form["difference_pct"]["impedance_ohm"])
                de = abs(form["difference_pct"]["eeff"])
                rows[kind][0].append(dz)
                rows[kind][1].append(de)
                where.append((max(dz, de), name, keys))
        for kind, (dz, de) in rows.items():
            if dz:
                print(f"| {line} | {kind} | {len(dz)} | {max(dz):.2f} | {statistics.median(dz):.2f} | "
                      f"{max(de):.2f} | {statistics.median(de):.2f} |")
        for d, name, keys in sorted(where, key=lambda w: -w[0])[:worst]:
            print(f"  {line} {d:.2f} %: {name} {keys}", file=sys.stderr)


if __name__ == "__main__":
    main()
