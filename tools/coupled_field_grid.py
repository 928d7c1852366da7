#!/usr/bin/env python3
"""Field-solver reference grid for the coupled lines' thickness terms.

  coupled_field_grid.py solve   microstrip|stripline CSV   -- run the in-app field solver
  coupled_field_grid.py compare microstrip|stripline CSV [-v]  -- closed form against the CSV

tools/data/coupled_*_field.csv hold the solved grids the thickness terms were
fitted to.  TAVREL_CALC names another tavrel-calc than build/tavrel-calc.

The grid is a fixed low-discrepancy (Halton) set over the closed forms'
verified range, so every run solves the same points.  Lengths are in mm.
"""
import csv
import json
import os
import statistics
import subprocess
import sys

CALC = os.environ.get("TAVREL_CALC", "build/tavrel-calc")


def halton(i, base):
    f, r = 1.0, 0.0
    while i > 0:
        f /= base
        r += f * (i % base)
        i //= base
    return r


def log_range(x, lo, hi):
    return lo * (hi / lo) ** x


def microstrip_grid(n=72):
    h = 0.2
    for i in range(1, n + 1):
        u = log_range(halton(i, 2), 0.1, 10.0)
        g = log_range(halton(i, 3), 0.1, 10.0)
        th = min(log_range(halton(i, 5), 0.02, 0.35), u / 2.0)
        er = log_range(halton(i, 7), 2.0, 13.0)
        yield dict(W=u * h, S=g * h, H=h, T=th * h, Er=round(er, 3))


def stripline_grid(n=48):
    b = 1.0
    for i in range(1, n + 1):
        w = log_range(halton(i, 2), 0.35, 4.0)
        s = log_range(halton(i, 3), 0.05, 4.0)
        t = log_range(halton(i, 5), 0.005, 0.1)
        yield dict(W=w * b, S=s * b, B=b, T=t * b, Er=1.0)


LINES = {"microstrip": ("coupled-microstrip", microstrip_grid),
         "stripline": ("coupled-stripline", stripline_grid)}


def args_of(row):
    return [f"{k}={row[k]}mm" if k != "Er" else f"Er={row[k]}" for k in row]


def run(line, verb, row, extra=()):
    out = subprocess.run([CALC, verb, line, *args_of(row), *extra],
                         capture_output=True, text=True, check=True).stdout
    return json.loads(out)


def solve(kind, path):
    line, grid = LINES[kind]
    with open(path, "w", newline="") as f:
        out = csv.writer(f)
        rows = list(grid())
        out.writerow([*rows[0].keys(), "Ze", "Zo", "ee", "eo"])
        for row in rows:
            d = run(line, "fieldsolve", row)
            out.writerow([*row.values(), d["even"]["impedance_ohm"], d["odd"]["impedance_ohm"],
                          d["even"]["eeff"], d["odd"]["eeff"]])
            f.flush()


def compare(kind, path):
    line, _ = LINES[kind]
    errors = {"Ze": [], "Zo": [], "ee": [], "eo": []}
    worst = (0.0, None)
    with open(path) as f:
        for rec in csv.DictReader(f):
            row = {k: float(rec[k]) for k in rec if k not in errors}
            d = run(line, "analyze", row, ["f=1MHz", "mode=both"])
            got = {"Ze": d["even"]["impedance_ohm"], "Zo": d["odd"]["impedance_ohm"],
                   "ee": d["even"]["eeff"], "eo": d["odd"]["eeff"]}
            for k in errors:
                e = 100.0 * (got[k] / float(rec[k]) - 1.0)
                errors[k].append(abs(e))
                if abs(e) > abs(worst[0]):
                    worst = (e, (k, row))
            if "-v" in sys.argv:
                print(row, " ".join(f"{k} {100.0 * (got[k] / float(rec[k]) - 1.0):+.2f}"
                                    for k in errors))
    for k, e in errors.items():
        print(f"{k}: worst {max(e):.2f} %  median {statistics.median(e):.2f} %  "
              f"over 1 %: {sum(x > 1.0 for x in e)}/{len(e)}")
    print("worst case:", worst)


if __name__ == "__main__":
    {"solve": solve, "compare": compare}[sys.argv[1]](sys.argv[2], sys.argv[3])
