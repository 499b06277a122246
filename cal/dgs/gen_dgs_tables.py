#!/usr/bin/env python3
"""Writes dgs_tables.cpp: the general DGS diagram, the probes' own diagrams and the probe catalogue.

Run from this folder: python3 gen_dgs_tables.py > dgs_tables.cpp

Gains are the dB needed to bring an echo to the reference height of a back-wall echo in the
near field, in relative units: distance A = s / N (near-field lengths), reflector size
G = ERS / D (equivalent disc diameter over effective transducer diameter).

Model of the echo height H (amplitudes relative to that reference):
  back wall          H_bw   = (1 + (A / (pi/2))^2)^(-1/2)            far field: pi / (2 A)
  small disc, near   H_near = G^2 * (1 + 5.2 A^1.1)                  beam narrowing towards N
  small disc, far    H_far  = pi^2 G^2 / A^2                         classic far-field law
  disc               H_disc = (H_near^-1 + H_far^-1)^-1, then limited by the back wall:
                     H      = (H_disc^-4 + H_bw^-4)^(-1/4)           a disc never outshines the wall
  gain V = -20 log10 H, plus a smooth correction c(log10 A) fitted to the calibration values
  of the diagram (back wall and sizes 1.0, 0.1 and 0.01); between calibrated sizes the
  correction is interpolated in log10 G. Values are rounded to 0.1 dB as the instrument keeps
  them.
"""
import math

DISTANCES = [0.1, 0.15, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.1, 1.2, 1.3, 1.4, 1.5, 1.7,
             2.0, 3.0, 4.0, 6.0, 10.0, 100.0]
SIZES = [1.0, 0.8, 0.6, 0.48, 0.4, 0.3, 0.24, 0.2, 0.15, 0.12, 0.1, 0.08, 0.06, 0.05, 0.04, 0.03,
         0.02, 0.015, 0.01]
BACK_WALL_KEY = 2147483647

# (size or None for the back wall) -> {distance: gain in dB} that the diagram must hold exactly
CALIBRATION = {
    None: {0.1: 0.6, 1.0: 2.0, 100.0: 36.1},
    1.0: {1.0: 2.0, 100.0: 60.1},
    0.1: {0.1: 37.7, 1.0: 28.4, 100.0: 100.1},
    0.01: {0.1: 76.2, 100.0: 140.1},
}


def h_back_wall(a):
    return (1.0 + (a / (math.pi / 2.0)) ** 2) ** -0.5


def h_disc(a, g):
    near = g * g * (1.0 + 5.2 * a ** 1.1)
    far = math.pi ** 2 * g * g / (a * a)
    disc = 1.0 / (1.0 / near + 1.0 / far)
    return (disc ** -4 + h_back_wall(a) ** -4) ** -0.25


def model(a, g):
    return -20.0 * math.log10(h_back_wall(a) if g is None else h_disc(a, g))


def fit(points):
    """Polynomial in u = log10 A through the residuals (degree = number of points - 1)."""
    us = [math.log10(a) for a, _ in points]
    rs = [r for _, r in points]

    def c(u):  # Lagrange form
        total = 0.0
        for i, ui in enumerate(us):
            term = rs[i]
            for j, uj in enumerate(us):
                if j != i:
                    term *= (u - uj) / (ui - uj)
            total += term
        return total
    return c


CORRECTIONS = {key: fit([(a, v - model(a, key)) for a, v in sorted(vals.items())])
               for key, vals in CALIBRATION.items()}


def correction(a, g):
    u = math.log10(a)
    if g is None:
        return CORRECTIONS[None](u)
    anchors = [1.0, 0.1, 0.01]
    if g >= 1.0:
        return CORRECTIONS[1.0](u)
    if g <= 0.01:
        return CORRECTIONS[0.01](u)
    hi = 1.0 if g >= 0.1 else 0.1
    lo = hi / 10.0
    w = (math.log10(hi) - math.log10(g)) / (math.log10(hi) - math.log10(lo))
    return (1.0 - w) * CORRECTIONS[hi](u) + w * CORRECTIONS[lo](u)


def gain(a, g):
    wall = round(model(a, None) + correction(a, None), 1)
    if g is None:
        return wall
    # no disc returns more sound than the back wall at the same distance
    return max(wall, round(model(a, g) + correction(a, g), 1))


def check_diagram(distances, rows, near_field_end):
    """Beyond the near field gains grow with distance; smaller reflectors always need more gain."""
    for r, row in enumerate(rows):
        for i in range(1, len(row)):
            if distances[i - 1] >= near_field_end:
                assert row[i] >= row[i - 1], (r, distances[i], row)
    for r in range(1, len(rows)):
        for i in range(len(distances)):
            assert rows[r][i] >= rows[r - 1][i], (r, distances[i])


def ordered(rows):
    """Close to the probe the large reflectors' curves cross; a smaller reflector is never shown
    needing less gain than a larger one."""
    for r in range(1, len(rows)):
        rows[r] = [max(v, above) for v, above in zip(rows[r], rows[r - 1])]
    return rows


def general_rows():
    rows = [[gain(a, None) for a in DISTANCES]]
    rows += [[gain(a, g) for a in DISTANCES] for g in SIZES]
    return ordered(rows)


# Twin-crystal probes with their own diagram: their sound field (two crystals, crossing beams)
# is not that of one disc, so the maker measures it. name, f (MHz), crystal size (mm),
# reflector set, columns, first and last distance (mm).
OWN_SETS = {"A": [8.0, 5.0, 3.0, 2.0, 1.5, 1.0], "B": [5.0, 3.0, 2.0, 1.5, 0.8]}
OWN_PROBES = [
    ("TD 1-24", 1.0, 24.0, "A", 38, 2.5, 200.0),
    ("TD 2-20", 2.0, 20.0, "A", 36, 2.5, 200.0),
    ("TD 2-12", 2.0, 12.0, "A", 32, 2.5, 150.0),
    ("TD 4-20", 4.0, 20.0, "A", 34, 3.0, 200.0),
    ("TD 4-12", 4.0, 12.0, "B", 30, 2.5, 120.0),
    ("TD 4-10", 4.0, 10.0, "B", 26, 2.5, 100.0),
    ("TD 4-8", 4.0, 8.0, "B", 20, 2.5, 60.0),
    ("TD 4-6 S", 4.0, 6.0, "B", 16, 2.5, 40.0),
    ("TD 2-16 HT", 2.0, 16.0, "A", 30, 4.0, 200.0),
    ("TD 4-6 F", 4.0, 6.0, "B", 13, 2.5, 30.0),
]
STEEL = 5920.0  # m/s, longitudinal


def near_field_mm(f_mhz, d_mm, c=STEEL):
    return d_mm * d_mm * f_mhz * 1000.0 / (4.0 * c)


def own_diagram(f, d, sizes, columns, first, last):
    n = near_field_mm(f, d)
    ratio = (last / first) ** (1.0 / (columns - 1))
    distances = [round(first * ratio ** i, 1) for i in range(columns)]
    rows = [[gain(s / n, None) for s in distances]]
    rows += [[gain(s / n, k / d) for s in distances] for k in sizes]
    return n, distances, ordered(rows)


def cpp_doubles(values, per_line=10, indent="    "):
    lines = []
    for i in range(0, len(values), per_line):
        lines.append(indent + ", ".join(repr(float(v)) for v in values[i:i + per_line]) + ",")
    return "\n".join(lines)


# Catalogue: 25 probes whose near field the library computes from the setup (type 0), the
# 10 twin probes with own diagrams (type 1), 6 angle probes whose near field and delay-path
# allowance the maker measured (type 2). The velocity figure is that of the probe's delay path
# or wedge (0.1 m/s), the frequency figure is in 0.1 MHz, the diameter figure the effective
# transducer diameter in um. The library reads none of them: the setup carries the values used.
PERSPEX, DELAY_A, DELAY_B = 27300, 25000, 23800
TYPE0 = [
    ("SB 1-24", DELAY_A, 10, 24000), ("SB 2-24", DELAY_A, 20, 24000), ("SB 2-10", DELAY_A, 20, 10000),
    ("SB 4-10", DELAY_A, 40, 10000), ("SB 4-20", DELAY_A, 40, 20000), ("SB 0.5-24", DELAY_A, 5, 24000),
    ("SB 1-34", DELAY_A, 10, 34000), ("SB 4-6", DELAY_B, 40, 6000), ("SB 2-16", DELAY_B, 20, 16000),
    ("AB 2-45", PERSPEX, 20, 9600), ("AB 2-60", PERSPEX, 20, 9600), ("AB 2-70", PERSPEX, 20, 9600),
    ("AB 4-45", PERSPEX, 40, 9600), ("AB 4-60", PERSPEX, 40, 9600), ("AB 4-70", PERSPEX, 40, 9600),
    ("AB 4-45 M", PERSPEX, 40, 5600), ("AB 4-60 M", PERSPEX, 40, 5600), ("AB 4-70 M", PERSPEX, 40, 5600),
    ("AB 1-45 L", PERSPEX, 10, 23200), ("AB 1-60 L", PERSPEX, 10, 23200), ("AB 2-45 L", PERSPEX, 20, 23200),
    ("DL 4-10", DELAY_B, 40, 10000), ("DL 4-6", DELAY_B, 40, 6000), ("SB 2-24 HT", DELAY_A, 20, 23200),
    ("SB 4-24 HT", DELAY_A, 40, 23200),
]
TYPE2 = [
    # ..., near field in steel (um), delay-path allowance (um)
    ("AB 2-45 C", PERSPEX, 20, 9600, 18100, 10130), ("AB 2-60 C", PERSPEX, 20, 9600, 17400, 11850),
    ("AB 2-70 C", PERSPEX, 20, 9600, 16200, 13920), ("AB 4-45 C", PERSPEX, 40, 9600, 36200, 10130),
    ("AB 4-60 C", PERSPEX, 40, 9600, 34800, 11850), ("AB 4-70 C", PERSPEX, 40, 9600, 32400, 13920),
]


def main():
    out = []
    w = out.append
    w("// Generated by gen_dgs_tables.py (run in this folder); edit the generator, not this file.")
    w("// DGS diagrams and probe catalogue of the flaw detector's probe range.")
    w("// clang-format off")
    w('#include "dgs/dgs_tables.h"')
    w("")
    w("namespace pelix::cal::dgs {")
    w("namespace {")
    w("")
    rows = general_rows()
    check_diagram(DISTANCES, rows, 1.0)
    keys = [BACK_WALL_KEY] + SIZES
    w("// Distances in near-field lengths.")
    w("constexpr double kGeneralDistances[] = {")
    w(cpp_doubles(DISTANCES))
    w("};")
    w("// Back wall, then reflector size over effective transducer diameter.")
    w("constexpr double kGeneralKeys[] = {")
    w(cpp_doubles(keys))
    w("};")
    w("constexpr double kGeneralValues[] = {")
    for key, row in zip(keys, rows):
        w("    // " + ("back wall" if key == BACK_WALL_KEY else "size %g" % key))
        w(cpp_doubles(row, per_line=12))
    w("};")
    w("")
    own = []
    for idx, (name, f, d, setname, cols, first, last) in enumerate(OWN_PROBES):
        sizes = OWN_SETS[setname]
        n, dist, orows = own_diagram(f, d, sizes, cols, first, last)
        check_diagram(dist, orows, n)
        own.append((name, f, d, sizes, n, dist, orows))
        w("// %s: %g MHz, %g mm, near field %.1f mm in steel; distances in mm, keys in mm." %
          (name, f, d, n))
        w("constexpr double kOwn%dDistances[] = {" % idx)
        w(cpp_doubles(dist))
        w("};")
        w("constexpr double kOwn%dKeys[] = {" % idx)
        w(cpp_doubles([BACK_WALL_KEY] + sizes))
        w("};")
        w("constexpr double kOwn%dValues[] = {" % idx)
        for row in orows:
            w(cpp_doubles(row, per_line=12))
        w("};")
        w("")
    w("} // namespace")
    w("")
    w("const Diagram GeneralDGSDiagram{%d, kGeneralDistances, %d, kGeneralKeys, kGeneralValues};" %
      (len(DISTANCES), len(keys)))
    w("")
    w("const Diagram OwnDGSDiagrams[kOwnDiagramCount] = {")
    for idx, (name, f, d, sizes, n, dist, orows) in enumerate(own):
        w("    {%d, kOwn%dDistances, %d, kOwn%dKeys, kOwn%dValues}," % (len(dist), idx, len(sizes) + 1, idx, idx))
    w("};")
    w("")
    w("// Model names are right-aligned in 14 characters as the instrument lists them.")
    w("const ProbeCatalogRow ProbeCatalog[kProbeCount] = {")

    def name14(name):
        assert len(name) <= 14
        return '"%14s"' % name

    for name, vel, freq, diam in TYPE0:
        w("    {%s, %d, %d, %d, 0, 0, 0, {}, 0, 0, 0}," % (name14(name), vel, freq, diam))
    for idx, (name, f, d, sizes, n, dist, orows) in enumerate(own):
        w("    {%s, %d, %d, 0, 0, 0, 1, {}, %d, %d, %d}," %
          (name14(name), DELAY_B, int(round(f * 10)), int(min(sizes) * 1000),
           int(max(sizes) * 1000), idx))
    for name, vel, freq, diam, nf, allow in TYPE2:
        w("    {%s, %d, %d, %d, %d, %d, 2, {}, 0, 0, 0}," % (name14(name), vel, freq, diam, nf, allow))
    w("};")
    w("")
    w("} // namespace pelix::cal::dgs")
    assert len(TYPE0) == 25 and len(own) == 10 and len(TYPE2) == 6
    print("\n".join(out))


if __name__ == "__main__":
    main()
