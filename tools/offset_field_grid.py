#!/usr/bin/env python3
"""Field-solver reference grid for the offset and broadside-coupled striplines.

  offset_field_grid.py solve   LINE CSV [N] [--contrast]
                                                 -- run the in-app field solver
  offset_field_grid.py compare LINE CSV [-v] [--worst K] [--one-er|--two-er]
                                                   [--where EXPR]
                                                 -- closed form against the CSV

LINE is offset-stripline, offset-coupled-stripline or
broadside-coupled-stripline.  tools/data/<LINE>_field.csv hold the solved
grids the verified ranges (src/models/verifiedranges.cpp) were measured on and
the fitted terms of src/models/offsetstriplinecalc.cpp were checked against.
TAVREL_CALC names another tavrel-calc than build/tavrel-calc.

Each grid is a fixed Halton set over its verified box, so every run solves the
same points.  The box is drawn in the ratios the verified range tests:
offset lines H2/H1 0.25..4, W/H1 and W/H2 0.2..6 (the nearer plane bounds the
width from above, the farther one from below), T/H1 and T/H2 0..0.2 (every
fifth point T = 0), the pair's S/H1 and S/H2 0.2..4; Er 2..10, and on two points in
three a second dielectric Er2 2..10 above the strip's underside.  The
broadside pair: W/B 0.1..3, S/B 0.05..0.6, T/B 0..0.1, Er 2..10.  Lengths in mm.
--contrast solves other points of the offset lines' box, all with two
dielectrics two to five to one (tools/data/<LINE>_contrast_field.csv): the
grid's independent Er and Er2 seldom differ that much.
"""
import csv
import json
import os
import statistics
import subprocess
import sys

from coupled_field_grid import halton, log_range  # the same Halton points

CALC = os.environ.get("TAVREL_CALC", "build/tavrel-calc")


def thickness(i, x, lo, hi):
    return 0.0 if i % 5 == 0 else log_range(x, lo, hi)


def offset_points(pair, n, contrast=False):
    """Halton points inside the offset lines' box, n of them.  `contrast`:
    from the 1001st Halton point on, every point with two dielectrics of
    two to five to one, both within Er 2..10, either one the higher."""
    i = 1000 if contrast else 0
    while n > 0:
        i += 1
        h1 = 0.5
        h2 = h1 * log_range(halton(i, 2), 0.25, 4.0)
        w = h1 * log_range(halton(i, 3), 0.2, 24.0)
        near, far = min(h1, h2), max(h1, h2)
        if not (0.2 * far <= w <= 6.0 * near):
            continue
        t = thickness(i, halton(i, 5), 0.005 * near, 0.2 * near)
        if t > w / 2:
            continue
        er = log_range(halton(i, 7), 2.0, 10.0)
        # Two dielectrics on two points in three (not i % 2: that would
        # follow the first Halton digit of H2/H1).
        er2 = log_range(halton(i, 11), 2.0, 10.0) if halton(i, 17) >= 1 / 3 else 0.0
        if contrast:
            ratio = log_range(halton(i, 11), 2.0, 5.0)
            low = log_range(halton(i, 7), 2.0, 10.0 / ratio)
            er, er2 = (low, low * ratio) if halton(i, 17) < 0.5 else (low * ratio, low)
        row = dict(W=w)
        if pair:
            row["S"] = log_range(halton(i, 13), 0.2 * far, 4.0 * near)
        row.update(H1=h1, H2=h2, T=t, Er2=round(er2, 3), Er=round(er, 3))
        n -= 1
        yield row


def broadside_points(n):
    b = 1.0
    for i in range(1, n + 1):
        w = log_range(halton(i, 2), 0.1, 3.0)
        s = log_range(halton(i, 3), 0.05, 0.6)
        t = thickness(i, halton(i, 5), 0.005, 0.1)
        er = log_range(halton(i, 7), 2.0, 10.0)
        yield dict(W=w * b, S=s * b, B=b, T=t * b, Er=round(er, 3))


GRIDS = {
    "offset-stripline": lambda n: offset_points(False, n),
    "offset-coupled-stripline": lambda n: offset_points(True, n),
    "broadside-coupled-stripline": broadside_points,
}
CONTRAST_GRIDS = {
    "offset-stripline": lambda n: offset_points(False, n, True),
    "offset-coupled-stripline": lambda n: offset_points(True, n, True),
}
DEFAULT_POINTS = {"offset-stripline": 300, "offset-coupled-stripline": 280,
                  "broadside-coupled-stripline": 320}


def args_of(row):
    return [f"{k}={row[k]}" if k in ("Er", "Er2") else f"{k}={row[k]}mm" for k in row]


def modes(answer):
    return [answer[m] for m in ("even", "odd") if m in answer] or [answer]


def solve(line, path, n=None):
    n = int(n) if n else DEFAULT_POINTS[line]
    grids = CONTRAST_GRIDS if "--contrast" in sys.argv else GRIDS
    with open(path, "w", newline="") as f:
        out = None
        for row in grids[line](n):
            run = subprocess.run([CALC, "fieldsolve", line, *args_of(row)],
                                 capture_output=True, text=True)
            answer = json.loads(run.stdout)
            if "error" in answer:
                print("not solved:", row, answer["error"], file=sys.stderr)
                continue
            solved = modes(answer)
            names = ["Z", "ee", "err"] if len(solved) == 1 else ["Ze", "ee_e", "err_e",
                                                                 "Zo", "ee_o", "err_o"]
            if out is None:
                out = csv.writer(f)
                out.writerow([*row.keys(), *names])
            values = []
            for m in solved:
                values += [m["impedance_ohm"], m["eeff"], m["estimated_error_pct"]["impedance_ohm"]]
            out.writerow([*row.values(), *values])
            f.flush()


def compare(line, path):
    records = list(csv.DictReader(open(path)))
    # --one-er / --two-er: only the points of one dielectric, or of two.
    if "--one-er" in sys.argv or "--two-er" in sys.argv:
        two = "--two-er" in sys.argv
        records = [r for r in records if (float(r.get("Er2", 0)) > 0) == two]
    # --where EXPR: only the points where the Python expression over the
    # columns holds, e.g. --where "S <= 2 * W" (a verified box's edge).
    if "--where" in sys.argv:
        expr = sys.argv[sys.argv.index("--where") + 1]
        records = [r for r in records if eval(expr, {}, {k: float(v) for k, v in r.items()})]
    dims = [k for k in records[0] if k in ("W", "S", "H1", "H2", "B", "T", "Er2", "Er")]
    pair = "Ze" in records[0]
    # 1 GHz: above every grid line's R = omega L corner, so eeff is the closed
    # form's own (below it the conductor's internal inductance enters eeff).
    extra = ["f=1GHz", "tand=0"] + (["mode=both"] if pair else [])
    requests = "".join(" ".join(["analyze", line, *args_of({k: rec[k] for k in dims}), *extra])
                       + "\n" for rec in records)
    out = subprocess.run([CALC, "batch"], input=requests, capture_output=True,
                         text=True).stdout.splitlines()
    keys = [("Ze", "ee_e", "err_e"), ("Zo", "ee_o", "err_o")] if pair else [("Z", "ee", "err")]
    errors = {name: [] for k in keys for name in k[:2]}
    worst = []
    for rec, text in zip(records, out):
        answer = json.loads(text)
        if "error" in answer:
            print("closed form failed:", args_of({k: rec[k] for k in dims}), answer["error"],
                  file=sys.stderr)
            continue
        line_errors = {}
        for (z, ee, _), got in zip(keys, modes(answer)):
            line_errors[z] = 100.0 * (got["impedance_ohm"] / float(rec[z]) - 1.0)
            line_errors[ee] = 100.0 * (got["eeff"] / float(rec[ee]) - 1.0)
        for k, e in line_errors.items():
            errors[k].append(abs(e))
        if pair:
            zd = answer["odd"]["impedance_ohm"] / float(rec["Zo"]) - 1.0
            errors.setdefault("Zdiff", []).append(abs(100.0 * zd))
        worst.append((max(abs(e) for e in line_errors.values()), rec, line_errors))
        if "-v" in sys.argv:
            print({k: rec[k] for k in dims},
                  " ".join(f"{k} {e:+.2f}" for k, e in line_errors.items()),
                  "warn" if answer.get("warnings") else "")
    for k, e in errors.items():
        print(f"{k}: worst {max(e):.2f} %  median {statistics.median(e):.2f} %  "
              f"over 1 %: {sum(x > 1.0 for x in e)}/{len(e)}")
    k = int(sys.argv[sys.argv.index("--worst") + 1]) if "--worst" in sys.argv else 3
    for e, rec, line_errors in sorted(worst, key=lambda w: -w[0])[:k]:
        print(f"  {e:.2f} %: " + " ".join(args_of({d: rec[d] for d in dims})),
              " ".join(f"{n} {v:+.2f}" for n, v in line_errors.items()))


if __name__ == "__main__":
    positional = [a for a in sys.argv[2:] if a != "--contrast"]
    {"solve": solve, "compare": compare}[sys.argv[1]](*positional[:2 if sys.argv[1] == "compare" else 3])
