#!/usr/bin/env python3
"""Refits one mode's mask constants of src/models/coatingmodel.cpp to the saved
field solutions of tools/data/coating_pairs_field.csv (Nelder-Mead on the
worst and rms |difference| of Z and eeff; pure Python, no re-solving).

usage: tools/coating_pair_fit.py even|odd k a p c kc m n pair1 pair2 pgap
"""
import csv
import math
import os
import sys

DATA = os.path.join(os.path.dirname(__file__), "data", "coating_pairs_field.csv")


def spread(mode, u, g, t, m):
    single = u + m[5] + m[6] * t
    if mode == "even":
        return single * (1.0 + m[7] * math.exp(-g))
    return 1.0 / (1.0 / single + m[7] / (g + m[8] * t))


def model(r, m):
    """Mirror of WithMask: the masked mode from the unmasked closed form."""
    er, h, tm, erm, hc = r["Er"], r["H"], r["Tm"], r["Erm"], r["Hc"]
    s_e, s_z = r["eeff_bare"], r["z_bare"]
    q = (s_e - 1.0) / (er - 1.0)
    overlay = q * er + (1.0 - q) * erm
    x = (tm / (h * spread(r["mode"], r["W"] / h, r["S"] / h, r["T"] / h, m))) ** (m[2] * (1.0 + m[9] * math.exp(-r["S"] / h)))
    rr = h / (h + hc) if hc > 0 else 0.0
    share = ((1.0 - math.exp(-m[1] * x)) * (1.0 + m[0] / erm) / (1.0 + m[0] / 3.0)
             * (1.0 + m[3] * (erm - er)) * (1.0 - m[4] * rr * rr))
    e = s_e + (overlay - s_e) * share
    return s_z * math.sqrt(s_e / e), e


def errors(rows, m):
    out = []
    for r in rows:
        try:
            z, e = model(r, m)
        except (ValueError, ZeroDivisionError, OverflowError):
            return None
        out += [100 * (z / r["z_field"] - 1), 100 * (e / r["eeff_field"] - 1)]
    return out


def cost(rows, m):
    d = errors(rows, m)
    if d is None:
        return 1e9
    worst = max(abs(x) for x in d)
    return worst + math.sqrt(sum(x * x for x in d) / len(d)) + 20 * max(0.0, worst - 0.95)


def nelder_mead(f, x0, steps=3000):
    n = len(x0)
    pts = [list(x0)] + [[x + (0.1 * abs(x) + 0.02 if i == j else 0) for j, x in enumerate(x0)]
                        for i in range(n)]
    vals = [f(p) for p in pts]
    for _ in range(steps):
        order = sorted(range(n + 1), key=lambda i: vals[i])
        pts, vals = [pts[i] for i in order], [vals[i] for i in order]
        c = [sum(p[j] for p in pts[:-1]) / n for j in range(n)]
        refl = [c[j] + (c[j] - pts[-1][j]) for j in range(n)]
        fr = f(refl)
        if fr < vals[0]:
            exp = [c[j] + 2 * (c[j] - pts[-1][j]) for j in range(n)]
            fe = f(exp)
            pts[-1], vals[-1] = (exp, fe) if fe < fr else (refl, fr)
        elif fr < vals[-2]:
            pts[-1], vals[-1] = refl, fr
        else:
            con = [c[j] + 0.5 * (pts[-1][j] - c[j]) for j in range(n)]
            fc = f(con)
            if fc < vals[-1]:
                pts[-1], vals[-1] = con, fc
            else:
                for i in range(1, n + 1):
                    pts[i] = [pts[0][j] + 0.5 * (pts[i][j] - pts[0][j]) for j in range(n)]
                    vals[i] = f(pts[i])
    return pts[0]


def main():
    mode, start = sys.argv[1], [float(v) for v in sys.argv[2:12]]
    with open(DATA) as f:
        rows = [{k: (v if k in ("substrate", "mode") else float(v)) for k, v in r.items()}
                for r in csv.DictReader(f) if r["mode"] == mode]
    check = max(abs(model(r, start)[1] / r["eeff_closed"] - 1) for r in rows)
    print(f"mirror of the C++ model: worst eeff mismatch {100 * check:.2g} %")
    for label, m in (("before", start), ("after", nelder_mead(lambda m: cost(rows, m), start))):
        d = errors(rows, m)
        print(f"{label}: worst Z {max(abs(x) for x in d[0::2]):.3f} %, "
              f"worst eeff {max(abs(x) for x in d[1::2]):.3f} %  {m}")


if __name__ == "__main__":
    main()
