#!/usr/bin/env python3
"""Closed forms against the in-app field solver over a grid per line type.

Runs `tavrel-calc fieldsolve` (default meshes, Richardson-extrapolated) at
every point of each line type's grid, one call at a time, and prints per line
type the worst and median |difference| of Z0 and eeff (both modes of a pair),
the largest estimated field error, and the box the grid spans: the line's
verified range (src/models/verifiedranges.cpp) is that box.

usage: tools/closedform_grid.py [path/to/tavrel-calc] [--line NAME] [--worst N]

--worst N lists the N points of each line with the largest Z0 difference on stderr.
"""
import itertools
import json
import statistics
import subprocess
import sys

# Each grid: the dimension ratios (key over reference key), their values, Er.
# The reference dimension is fixed; the rest follow from the ratios.
GRIDS = {
    "microstrip": {
        "fixed": {"H": 1e-4},
        "ratios": {"W": ("H", [0.1, 0.3, 1, 3, 10]), "T": ("H", [0, 0.01, 0.1, 0.3])},
        "thickest": ("T", "W", 0.5),
        "Er": [1.0, 4.3, 16.0, 25.0],
    },
    "stripline": {
        "fixed": {"B": 1e-4},
        "ratios": {"W": ("B", [0.1, 0.35, 1, 3]), "T": ("B", [0, 0.01, 0.1, 0.25])},
        "thickest": ("T", "W", 0.5),
        "Er": [1.0, 4.3, 16.0, 25.0],
    },
    "cpw": {
        "fixed": {"H": 1e-4},
        "ratios": {"W": ("H", [0.2, 1, 5]), "G": ("W", [0.2, 1, 3]), "T": ("W", [0, 0.01, 0.1])},
        "Er": [1.0, 4.3, 16.0, 25.0],
    },
    "cpw-ground": {
        "fixed": {"H": 1e-4},
        "ratios": {"W": ("H", [0.2, 1, 5]), "G": ("W", [0.2, 1, 3]), "T": ("W", [0, 0.01, 0.1])},
        "Er": [1.0, 4.3, 16.0, 25.0],
    },
    "coax": {
        "fixed": {"Di": 1e-4},
        "ratios": {"Do": ("Di", [1.5, 3, 10, 100])},
        "Er": [1.0, 2.1, 10.0],
    },
    "coupled-microstrip": {
        "fixed": {"H": 1e-4},
        "ratios": {"W": ("H", [0.1, 1, 10]), "S": ("H", [0.1, 1, 10]),
                   "T": ("H", [0, 0.01, 0.1, 0.35])},
        "thickest": ("T", "W", 0.5),
        "Er": [1.0, 4.3, 16.0, 25.0],
    },
    "coupled-stripline": {
        "fixed": {"B": 1e-4},
        "ratios": {"W": ("B", [0.1, 0.35, 1]), "S": ("B", [0.1, 0.3, 1]),
                   "T": ("B", [0, 0.01, 0.1])},
        "thickest": ("T", "W", 0.5),
        "Er": [1.0, 4.3, 16.0, 25.0],
    },
}


def points(grid):
    keys = list(grid["ratios"])
    for values in itertools.product(*(grid["ratios"][k][1] for k in keys), grid["Er"]):
        dims = dict(grid["fixed"])
        for key, ratio in zip(keys, values[:-1]):
            dims[key] = ratio * dims[grid["ratios"][key][0]]
        # Metal no thicker than half the strip is wide.
        if "thickest" in grid:
            metal, width, most = grid["thickest"]
            if dims[metal] > most * dims[width]:
                continue
        yield dims, values[-1]


def modes(json_obj):
    return [json_obj[m] for m in ("even", "odd") if m in json_obj] or [json_obj]


def run(calc, line, grid, worst):
    dz, de, err, failed, where = [], [], [], [], []
    for dims, er in points(grid):
        args = [calc, "fieldsolve", line, f"Er={er}", "f=1MHz"] + [f"{k}={v!r}" for k, v in dims.items()]
        out = subprocess.run(args, capture_output=True, text=True)
        try:
            answer = json.loads(out.stdout)
        except json.JSONDecodeError:
            failed.append((dims, er, out.stderr.strip()))
            continue
        closed = answer.get("closed_form", {})
        if "error" in answer or "error" in closed:
            failed.append((dims, er, answer.get("error") or closed.get("error")))
            continue
        for field, form in zip(modes(answer), modes(closed)):
            dz.append(abs(form["difference_pct"]["impedance_ohm"]))
            where.append((dz[-1], dims, er))
            de.append(abs(form["difference_pct"]["eeff"]))
            err.append(field["estimated_error_pct"]["impedance_ohm"])
    for d, dims, er in sorted(where, key=lambda w: -w[0])[:worst]:
        print(f"  {line} {d:.2f} %: {dims} Er={er}", file=sys.stderr)
    return dz, de, err, failed


def main():
    argv = sys.argv[1:]
    calc = argv.pop(0) if argv and not argv[0].startswith("--") else "build/tavrel-calc"
    only = argv[argv.index("--line") + 1] if "--line" in argv else None
    worst = int(argv[argv.index("--worst") + 1]) if "--worst" in argv else 0
    print("| line | points | Z0 worst % | Z0 median % | eeff worst % | eeff median % | field error worst % | range |")
    print("|---|---|---|---|---|---|---|---|")
    for line, grid in GRIDS.items():
        if only and line != only:
            continue
        dz, de, err, failed = run(calc, line, grid, worst)
        box = ", ".join(f"{k}/{r} {min(v):g}..{max(v):g}" for k, (r, v) in grid["ratios"].items())
        box += f", Er {min(grid['Er']):g}..{max(grid['Er']):g}"
        if "thickest" in grid:
            box += ", {}/{} <= {:g}".format(*grid["thickest"])
        if not dz:
            print(f"| {line} | 0 | - | - | - | - | - | {box} |")
        else:
            print(f"| {line} | {len(dz)} | {max(dz):.2f} | {statistics.median(dz):.2f} | "
                  f"{max(de):.2f} | {statistics.median(de):.2f} | {max(err):.2f} | {box} |")
        for dims, er, why in failed:
            print(f"  not compared: {dims} Er={er}: {why}", file=sys.stderr)


if __name__ == "__main__":
    main()
