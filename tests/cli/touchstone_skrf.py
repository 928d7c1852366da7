#!/usr/bin/python3
"""Reads tavrel-calc's Touchstone files with scikit-rf, as a simulator's user
would: S21 of a coax section matched to its own impedance is exp(-gamma L) to
1e-9, and a coupled pair's .s4p loads as a reciprocal 4-port whose through
path is half the sum of its two modes'.  Exit 77 (skipped) without scikit-rf.
Usage: touchstone_skrf.py TAVREL_CALC WORK_FOLDER"""
import cmath
import csv
import io
import json
import math
import os
import subprocess
import sys

try:
    import skrf
except ImportError:
    print("scikit-rf is not installed: skipped")
    sys.exit(77)

CALC, WORK = sys.argv[1], sys.argv[2]
C = 2.997925e8  # the calculator's speed of light
NP_PER_DB = math.log(10) / 20
os.makedirs(WORK, exist_ok=True)


def run(*args):
    return subprocess.run([CALC, *args], check=True, capture_output=True, text=True).stdout


def rows(line, sweep, *keys):
    return list(csv.DictReader(io.StringIO(run("sweep", line, sweep, "log", *keys))))


def write(name, text):
    path = os.path.join(WORK, name)
    with open(path, "w") as f:
        f.write(text)
    return skrf.Network(path)


def gamma(f, eeff, loss_db):
    return complex(loss_db * NP_PER_DB, 2 * math.pi * f * math.sqrt(eeff) / C)


failures = []

# A coax has one impedance at every frequency: the matched case.
coax = ["Di=0.5mm", "Do=1.75mm", "Er=2.1", "L=25mm"]
zc = json.loads(run("analyze", "coax", *coax, "f=1GHz"))["impedance_ohm"]
sweep = "f=100MHz:20GHz:7"
net = write("coax.s2p", run("sweep", "coax", sweep, "log", *coax, "--format", "touchstone",
                            "--z-ref", repr(zc)))
table = rows("coax", sweep, *coax)
if net.nports != 2 or len(net.f) != len(table):
    failures.append(f"coax: {net.nports} ports, {len(net.f)} frequencies")
for i, row in enumerate(table):
    f = float(row["f_hz"])
    expected = cmath.exp(-gamma(f, float(row["eeff"]), float(row["loss_db_per_m"])) * 0.025)
    if net.f[i] != f:
        failures.append(f"coax: frequency {net.f[i]!r} read, {f!r} swept")
    for name, got, want in (("S21", net.s[i, 1, 0], expected), ("S12", net.s[i, 0, 1], expected),
                            ("S11", net.s[i, 0, 0], 0)):
        if abs(got - want) > 1e-9:
            failures.append(f"coax {name} at {f} Hz: {got} against {want}")
if abs(net.z0[0, 0] - zc) > 1e-9:
    failures.append(f"coax: reference {net.z0[0, 0]} read, {zc} written")

# A coupled pair: four ports, 1-2 line A, 3-4 line B, near end first.
pair = ["W=0.3mm", "S=0.2mm", "H=0.25mm", "L=30mm"]
sweep = "f=1GHz:10GHz:4"
net = write("pair.s4p", run("sweep", "coupled-microstrip", sweep, "log", *pair,
                            "--format", "touchstone"))
table = rows("coupled-microstrip", sweep, *pair)
if net.nports != 4:
    failures.append(f"pair: {net.nports} ports")
if not net.is_reciprocal():
    failures.append("pair: not reciprocal")


def s21(z, g, z0=50.0, length=0.030):
    r = (z - z0) / (z + z0)
    p = cmath.exp(-g * length)
    return p * (1 - r * r) / (1 - r * r * p * p)


for i, row in enumerate(table):
    f = float(row["f_hz"])
    modes = [s21(float(row[f"impedance_{m}_ohm"]),
                 gamma(f, float(row[f"eeff_{m}"]), float(row[f"loss_{m}_db_per_m"])))
             for m in ("even", "odd")]
    for name, got, want in (("S21", net.s[i, 1, 0], (modes[0] + modes[1]) / 2),
                            ("S43", net.s[i, 3, 2], (modes[0] + modes[1]) / 2),
                            ("S41", net.s[i, 3, 0], (modes[0] - modes[1]) / 2)):
        if abs(got - want) > 1e-9:
            failures.append(f"pair {name} at {f} Hz: {got} against {want}")

for failure in failures:
    print(failure)
print(f"{len(failures)} mismatches" if failures else "scikit-rf read both files")
sys.exit(1 if failures else 0)
