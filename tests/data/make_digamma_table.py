#!/usr/bin/env python3
"""Writes digamma_table.csv: x and psi(x) for exactly representable doubles x,
psi computed by mpmath at 60 significant digits and rounded once to the
nearest double.  Run once: python3 make_digamma_table.py > digamma_table.csv
(needs Debian's python3-mpmath).  Points are fixed, so the table is
reproducible."""
import math
import random
import sys

import mpmath

mpmath.mp.dps = 60


def points():
    xs = set()
    rng = random.Random(20240611)
    # Tiny and small positive arguments, where the recurrence runs 5 or 6 steps.
    for e in range(-300, 0, 7):
        xs.add(float.fromhex("0x1.3p%d" % e))
    for _ in range(400):
        xs.add(rng.uniform(0.0, 5.0))
    # Both sides of the switch to the series at x = 5.
    xs.update([5.0, math.nextafter(5.0, 0), math.nextafter(5.0, 10), 4.0, 6.0, 5.5])
    # Around the positive root 1.4616...
    r = 1.4616321449683623
    for k in range(-20, 21):
        xs.add(r + k * 1e-12)
    for _ in range(400):
        xs.add(rng.uniform(5.0, 50.0))
    for e in range(2, 300, 5):
        xs.add(1.7 * 2.0 ** e)
    xs.update([1.0, 0.5, 2.0, 3.0, 10.0, 100.0])
    # Negative non-integers: recurrence range and reflection range, both sides
    # of every boundary tried, half-integers and points close to the poles.
    for _ in range(600):
        xs.add(rng.uniform(-80.0, 0.0))
    for n in range(1, 80):
        xs.add(-n + 0.5)
        xs.add(-n + 1e-6)
        xs.add(-n - 1e-6)
    for e in range(7, 52, 2):
        xs.add(-(2.0 ** e) - 0.25)
        xs.add(-(2.0 ** e) - 0.75)
    for _ in range(100):
        xs.add(rng.uniform(-1e6, -80.0))
    # Poles (0 and the negative integers) are tested on their own.
    return sorted(x for x in xs if x > 0 or not x.is_integer())


def main(out):
    out.write("# x, psi(x): mpmath at 60 digits, rounded to the nearest double\n")
    for x in points():
        v = mpmath.digamma(mpmath.mpf(x))
        out.write("%s,%s\n" % (repr(x), repr(float(v))))


if __name__ == "__main__":
    main(sys.stdout)
