#!/usr/bin/env python3
"""Generates engine/CorrectionTables.cpp, the A-format correction FIRs.

    python3 tools/correction_tables.py > engine/CorrectionTables.cpp
    python3 tools/correction_tables.py --report    # magnitude responses

Plain Python 3, no third-party modules; the build does not run it.

What the filters correct
------------------------
The four capsules of a tetrahedral microphone sit about r = 1.5 cm from the
array centre, so sums and differences of their signals only approximate a
coincident W and coincident figure-of-eight X, Y, Z: as the wavelength shrinks
toward the spacing, W loses treble and the differences dip and then rise.
Gerzon's first-order model of the spacing gives the equalisation, with
x = 2 pi f r / c (c = 343 m/s):

    W:        (1 + j x - x^2/3) / (1 + j x/3)
    X, Y, Z:  (1 + j x/3 - x^2/3) / (1 + j x/3)

normalised to 1 at DC. The model stops holding once x nears 2, so the target
follows it up to f_hold and stays flat from there to 20 kHz; above 20 kHz it
glides back to unity by a raised cosine ending at 40 kHz, so the higher rates
do not boost ultrasonic noise.

How the taps are found
----------------------
Every filter is linear-phase: a symmetric FIR whose largest tap is the centre.
Its zero-phase response is H(w) = h[m] + 2 sum_k h[m+k] cos(k w). The taps
minimise the squared error to (DC gain) x (target) over 1500 frequencies from
0 to Nyquist (weight 1 up to 20 kHz, 0.1 above), subject to equality
constraints solved exactly through the Lagrange (KKT) system:

  * the sum of the taps (the DC gain) of each table is fixed: W about 0.70,
    X about 1.25 to 1.29 (values in TABLES below);
  * at 44.1 kHz the centre taps are fixed, W 1.381501 and X 1.515780. The mean
    of H over the band equals the centre tap, so these fix the average boost;
    f_hold is the one free design value, chosen by golden-section search so
    that the unconstrained 44.1 kHz fits come closest to those two centre taps
    (the constraints then bend the fit least). It comes out near 10.6 kHz.

Tap counts: 29 (44.1/48 kHz, centre 14), 57 (88.2 and 96 kHz, centre 28),
113 (176.4 and 192 kHz). The 113-tap tables are 111-tap symmetric filters about
index 57 (entries 2 to 112) with entries 0 and 1 zero: a delay of 57 samples,
the same for W and X, so the four signals stay aligned.

The script checks tap counts, symmetry, the centre peak, the sums and the
centre taps of the float32 values it writes, and fails if any is off.

Resulting magnitude responses (dB relative to DC; target in brackets), from
--report:
    f_hold = 10629 Hz

    table           1 kHz        4 kHz        8 kHz       12 kHz       16 kHz       20 kHz       30 kHz       60 kHz
    W 44K     +0.0 [+0.1]  +1.3 [+1.4]  +5.2 [+5.3]  +7.9 [+7.9]  +7.8 [+7.9]  +7.8 [+7.9]            -            -
    X 44K     -0.2 [-0.2]  -3.6 [-3.6]  -2.3 [-2.3]  +3.6 [+3.5]  +3.5 [+3.5]  +3.6 [+3.5]            -            -
    W 88K     +0.1 [+0.1]  +1.4 [+1.4]  +5.3 [+5.3]  +7.9 [+7.9]  +7.9 [+7.9]  +7.9 [+7.9]  +4.8 [+4.8]            -
    X 88K     -0.2 [-0.2]  -3.6 [-3.6]  -2.3 [-2.3]  +3.5 [+3.5]  +3.5 [+3.5]  +3.5 [+3.5]  +2.0 [+1.9]            -
    W 96K     +0.0 [+0.1]  +1.4 [+1.4]  +5.3 [+5.3]  +7.9 [+7.9]  +7.9 [+7.9]  +7.9 [+7.9]  +4.8 [+4.8]            -
    X 96K     -0.3 [-0.2]  -3.6 [-3.6]  -2.4 [-2.3]  +3.6 [+3.5]  +3.5 [+3.5]  +3.5 [+3.5]  +1.9 [+1.9]            -
    W 176K    +0.1 [+0.1]  +1.4 [+1.4]  +5.3 [+5.3]  +7.9 [+7.9]  +7.9 [+7.9]  +7.9 [+7.9]  +4.8 [+4.8]  +0.0 [+0.0]
    X 176K    -0.2 [-0.2]  -3.6 [-3.6]  -2.4 [-2.3]  +3.6 [+3.5]  +3.5 [+3.5]  +3.5 [+3.5]  +1.9 [+1.9]  +0.0 [+0.0]
    W 192K    +0.0 [+0.1]  +1.4 [+1.4]  +5.3 [+5.3]  +7.9 [+7.9]  +7.9 [+7.9]  +7.9 [+7.9]  +4.8 [+4.8]  +0.0 [+0.0]
    X 192K    -0.3 [-0.2]  -3.6 [-3.6]  -2.4 [-2.3]  +3.6 [+3.5]  +3.5 [+3.5]  +3.5 [+3.5]  +1.9 [+1.9]  +0.0 [+0.0]
"""

import math
import struct
import sys

SPEED_OF_SOUND = 343.0  # m/s
RADIUS = 0.015          # m, capsule distance from the array centre
TAPER_START = 20000.0   # Hz, end of the corrected band
TAPER_END = 40000.0     # Hz, back to unity gain from here
GRID = 1500             # frequencies in the least-squares fit
OUT_OF_BAND_WEIGHT = 0.1

# name, design rate, taps, centre, W sum, X sum, W centre, X centre
TABLES = [
    ("44K", 44100.0, 29, 14, 0.699828, 1.289954, 1.381501, 1.515780),
    ("88K", 88200.0, 57, 28, 0.700276, 1.265123, None, None),
    ("96K", 96000.0, 57, 28, 0.698028, 1.266244, None, None),
    ("176K", 176400.0, 113, 57, 0.698231, 1.253994, None, None),
    ("192K", 192000.0, 113, 57, 0.693535, 1.246747, None, None),
]


def correction_w(f):
    x = 2.0 * math.pi * f * RADIUS / SPEED_OF_SOUND
    return abs(complex(1.0 - x * x / 3.0, x) / complex(1.0, x / 3.0))


def correction_x(f):
    x = 2.0 * math.pi * f * RADIUS / SPEED_OF_SOUND
    return abs(complex(1.0 - x * x / 3.0, x / 3.0) / complex(1.0, x / 3.0))


def target(correction, f, f_hold):
    if f <= f_hold:
        return correction(f)
    held = correction(f_hold)
    if f <= TAPER_START:
        return held
    if f >= TAPER_END:
        return 1.0
    t = (f - TAPER_START) / (TAPER_END - TAPER_START)
    return held + (1.0 - held) * (0.5 - 0.5 * math.cos(math.pi * t))


def solve(matrix, rhs):
    """Gaussian elimination with partial pivoting."""
    n = len(matrix)
    m = [row[:] + [rhs[i]] for i, row in enumerate(matrix)]
    for col in range(n):
        pivot = max(range(col, n), key=lambda i: abs(m[i][col]))
        m[col], m[pivot] = m[pivot], m[col]
        for i in range(col + 1, n):
            factor = m[i][col] / m[col][col]
            if factor != 0.0:
                for j in range(col, n + 1):
                    m[i][j] -= factor * m[col][j]
    x = [0.0] * n
    for i in range(n - 1, -1, -1):
        x[i] = (m[i][n] - sum(m[i][j] * x[j] for j in range(i + 1, n))) / m[i][i]
    return x


def zero_phase(half_taps, w):
    """H(w) = u[0] + 2 sum u[k] cos(k w) for the half taps u (centre first)."""
    return half_taps[0] + 2.0 * sum(half_taps[k] * math.cos(k * w) for k in range(1, len(half_taps)))


def design(correction, fs, half, dc_gain, centre, f_hold):
    """Constrained least squares for the half taps u[0] (centre) .. u[half]."""
    n = half + 1
    normal = [[0.0] * n for _ in range(n)]
    projected = [0.0] * n
    for i in range(GRID + 1):
        f = 0.5 * fs * i / GRID
        w = math.pi * i / GRID
        weight = 1.0 if f <= TAPER_START else OUT_OF_BAND_WEIGHT
        if i in (0, GRID):
            weight *= 0.5
        basis = [1.0] + [2.0 * math.cos(k * w) for k in range(1, n)]
        wanted = dc_gain * target(correction, f, f_hold)
        for a in range(n):
            wa = weight * basis[a]
            projected[a] += wa * wanted
            row = normal[a]
            for b in range(n):
                row[b] += wa * basis[b]
    constraints = [([1.0] + [2.0] * half, dc_gain)]
    if centre is not None:
        constraints.append(([1.0] + [0.0] * half, centre))
    c = len(constraints)
    kkt = [row[:] + [0.0] * c for row in normal]
    rhs = projected[:]
    for j, (row, value) in enumerate(constraints):
        for a in range(n):
            kkt[a][n + j] = row[a]
        kkt.append(row[:] + [0.0] * c)
        rhs.append(value)
    return solve(kkt, rhs)[:n]


def choose_f_hold():
    """f_hold whose free 44.1 kHz fits best match the fixed centre taps."""
    name, fs, taps, centre, sw, sx, cw, cx = TABLES[0]
    half = taps // 2

    def mismatch(f_hold):
        uw = design(correction_w, fs, half, sw, None, f_hold)
        ux = design(correction_x, fs, half, sx, None, f_hold)
        return (uw[0] / cw - 1.0) ** 2 + (ux[0] / cx - 1.0) ** 2

    lo, hi = 8000.0, 14000.0
    ratio = (math.sqrt(5.0) - 1.0) / 2.0
    a, b = hi - ratio * (hi - lo), lo + ratio * (hi - lo)
    fa, fb = mismatch(a), mismatch(b)
    while hi - lo > 1.0:
        if fa < fb:
            hi, b, fb = b, a, fa
            a = hi - ratio * (hi - lo)
            fa = mismatch(a)
        else:
            lo, a, fa = a, b, fb
            b = lo + ratio * (hi - lo)
            fb = mismatch(b)
    return round(0.5 * (lo + hi))


def to_float32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


def full_taps(half_taps, taps, centre):
    h = [0.0] * taps
    for k, value in enumerate(half_taps):
        h[centre + k] = value
        h[centre - k] = value
    return [to_float32(v) for v in h]


def check(name, h, taps, centre, dc_gain, centre_tap):
    problems = []
    if len(h) != taps:
        problems.append("tap count")
    first = centre - (taps - 1 - centre)
    for k in range(1, taps - centre):
        if h[centre - k] != h[centre + k]:
            problems.append("symmetry at %d" % k)
    if any(v != 0.0 for v in h[:first]):
        problems.append("lead-in taps not zero")
    if any(abs(v) >= h[centre] for i, v in enumerate(h) if i != centre):
        problems.append("centre is not the largest tap")
    if abs(sum(h) - dc_gain) > 5e-7:
        problems.append("sum %.7f" % sum(h))
    if centre_tap is not None and h[centre] != to_float32(centre_tap):
        problems.append("centre tap")
    if problems:
        sys.exit("%s: %s" % (name, ", ".join(problems)))


def build():
    f_hold = choose_f_hold()
    tables = []
    for name, fs, taps, centre, sw, sx, cw, cx in TABLES:
        half = (taps - 1) // 2 if taps != 113 else 55
        for kind, correction, dc_gain, centre_tap in (("W", correction_w, sw, cw), ("X", correction_x, sx, cx)):
            half_taps = design(correction, fs, half, dc_gain, centre_tap, f_hold)
            h = full_taps(half_taps, taps, centre)
            check("%s %s" % (kind, name), h, taps, centre, dc_gain, centre_tap)
            tables.append((kind, name, fs, centre, dc_gain, correction, h))
    return f_hold, tables


def response_db(h, centre, fs, f):
    w = 2.0 * math.pi * f / fs
    re = sum(v * math.cos(w * (i - centre)) for i, v in enumerate(h))
    im = sum(v * math.sin(w * (i - centre)) for i, v in enumerate(h))
    return 20.0 * math.log10(max(math.hypot(re, im), 1e-12))


def report(f_hold, tables):
    freqs = [1000, 4000, 8000, 12000, 16000, 20000, 30000, 60000]
    lines = ["f_hold = %d Hz" % f_hold, "", "table   " + "".join("%13s" % ("%g kHz" % (f / 1000.0)) for f in freqs)]
    for kind, name, fs, centre, dc_gain, correction, h in tables:
        cells = []
        for f in freqs:
            if f >= fs / 2:
                cells.append("%13s" % "-")
                continue
            got = response_db(h, centre, fs, f) - 20.0 * math.log10(dc_gain)
            want = 20.0 * math.log10(target(correction, f, f_hold))
            cells.append("%13s" % ("%+.1f [%+.1f]" % (got, want)))
        lines.append("%-8s" % ("%s %s" % (kind, name)) + "".join(cells))
    return "\n".join(lines)


def float_literal(v):
    text = "%.9g" % v
    if "." not in text and "e" not in text:
        text += ".0"
    return text + "f"


def emit(tables):
    out = [
        "// Generated by tools/correction_tables.py; do not edit. Design and",
        "// magnitude responses are described at the top of that script.",
        "",
        '#include "CorrectionTables.h"',
        "",
    ]
    sizes = {29: "kCorrectionTaps44K", 57: "kCorrectionTaps88K", 113: "kCorrectionTaps176K"}
    for kind, name, fs, centre, dc_gain, correction, h in tables:
        out.append("const float Varrow_host_%s_Filter_%s[%s] = {" % (kind, name, sizes[len(h)]))
        for i in range(0, len(h), 6):
            out.append("    " + " ".join(float_literal(v) + "," for v in h[i:i + 6]))
        out.append("};")
        out.append("")
    return "\n".join(out)


def main():
    f_hold, tables = build()
    if "--report" in sys.argv[1:]:
        print(report(f_hold, tables))
    else:
        sys.stdout.write(emit(tables))


if __name__ == "__main__":
    main()
