#!/usr/bin/env python3
"""Field solutions of masked coupled microstrip, saved for refitting the mask.

Solves every coupled-microstrip point of tools/coating_grid.py that has a
mask (with and without a cover) once with `tavrel-calc fieldsolve`, together
with the closed form of the same pair without the mask (the value the mask
term corrects), and writes tools/data/coating_pairs_field.csv: one row per
point and mode.  tools/coating_pair_fit.py fits the mask constants to it.

usage: tools/coating_pair_data.py [path/to/tavrel-calc] [--refine N]
"""
import csv
import os
import sys
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, os.path.dirname(__file__))
from coating_grid import cases, solve  # noqa: E402

LINE = "coupled-microstrip"
OUT = os.path.join(os.path.dirname(__file__), "data", "coating_pairs_field.csv")


def main():
    argv = sys.argv[1:]
    calc = argv.pop(0) if argv and not argv[0].startswith("--") else "build/tavrel-calc"
    refine = int(argv[argv.index("--refine") + 1]) if "--refine" in argv else 1
    todo = [c for c in cases(LINE) if c[2]["Tm"] > 0.0]
    bare = [dict(keys, Tm=0.0) for _, _, keys in todo]
    with ThreadPoolExecutor(2) as pool:
        field = list(pool.map(lambda k: solve(calc, LINE, refine, k), [c[2] for c in todo]))
        # Only the closed form of the unmasked pair is read: the coarsest solve.
        base = list(pool.map(lambda k: solve(calc, LINE, 0, k), bare))
    columns = ["substrate", "Er", "H", "W", "S", "T", "Tm", "Erm", "Hc", "mode",
               "z_field", "eeff_field", "z_bare", "eeff_bare", "z_closed", "eeff_closed"]
    with open(OUT, "w", newline="") as f:
        out = csv.writer(f)
        out.writerow(columns)
        for (name, _, keys), fa, ba in zip(todo, field, base):
            if "error" in fa or "error" in ba:
                print(f"skipped {keys}: {fa.get('error') or ba.get('error')}", file=sys.stderr)
                continue
            for mode in ("even", "odd"):
                b, c = ba["closed_form"][mode], fa["closed_form"][mode]
                out.writerow([name] + [keys[k] for k in columns[1:9]] + [
                    mode, fa[mode]["impedance_ohm"], fa[mode]["eeff"], b["impedance_ohm"],
                    b["eeff"], c["impedance_ohm"], c["eeff"]])


if __name__ == "__main__":
    main()
