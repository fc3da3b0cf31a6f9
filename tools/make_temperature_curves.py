#!/usr/bin/env python3
"""Writes core/temperaturecurves.inc: the four curve tables of the temperature engine.

Each curve maps a radiance-proportional index (0..16383) to tenths of a degree Celsius. It is
flat up to the end of its lower plateau, rises steeply at first and flattens toward high
indices, passes exactly through the known rows, and is flat again from the start of its upper
plateau. Between the plateaus consecutive entries differ by 0..3 (wide range) or 0..1 (narrow
range) tenths.

The shape comes from a monotone cubic (Fritsch-Carlson) through the known rows. Its increments
over each interval between two rows are scaled to hit the next row exactly without exceeding
the largest step, then accumulated with rounding, so every entry is an integer and every known
row is met exactly. The first step after the lower plateau and the last step before the upper
one are a full tenth, so each plateau ends exactly at its tabled index.

Run it from anywhere; it prints nothing but the path it wrote.
"""
import math
import os

SIZE = 16384

# name, first value, lower plateau end (inclusive), upper value, upper plateau start, largest step
CURVES = [
    ("WideA", -100, 2933, 5600, 13364, 3),
    ("NarrowA", -300, 1818, 1600, 13678, 1),
    ("WideB", -200, 2896, 5650, 10575, 3),
    ("NarrowB", -300, 2413, 1600, 10417, 1),
]

ROW_INDICES = [2048, 3072, 4096, 5120, 6144, 8192, 10240, 12288, 14336]
ROWS = {
    "WideA": [-100, 204, 1425, 2171, 2765, 3723, 4522, 5248, 5600],
    "NarrowA": [-227, 70, 324, 533, 709, 1016, 1274, 1484, 1600],
    "WideB": [-200, 236, 1782, 2690, 3440, 4566, 5512, 5650, 5650],
    "NarrowB": [-300, 28, 401, 675, 903, 1289, 1579, 1600, 1600],
}


def pchip_slopes(xs, ys):
    """Fritsch-Carlson slopes: the cubic through the knots never overshoots."""
    n = len(xs)
    secants = [(ys[k + 1] - ys[k]) / (xs[k + 1] - xs[k]) for k in range(n - 1)]
    slopes = [0.0] * n
    slopes[0] = secants[0]
    slopes[-1] = secants[-1]
    for k in range(1, n - 1):
        a, b = secants[k - 1], secants[k]
        if a * b <= 0:
            slopes[k] = 0.0
        else:
            wa = 2 * (xs[k + 1] - xs[k]) + (xs[k] - xs[k - 1])
            wb = (xs[k + 1] - xs[k]) + 2 * (xs[k] - xs[k - 1])
            slopes[k] = (wa + wb) / (wa / a + wb / b)
    # Steep start: the curve leaves its lower plateau at the fastest rate the data allows.
    slopes[0] = min(3 * secants[0], max(secants[0], slopes[1]) * 1.5)
    slopes[-1] = secants[-1] * 0.5
    return slopes


def hermite(x0, x1, y0, y1, m0, m1, x):
    h = x1 - x0
    t = (x - x0) / h
    t2, t3 = t * t, t * t * t
    return ((2 * t3 - 3 * t2 + 1) * y0 + (t3 - 2 * t2 + t) * h * m0
            + (-2 * t3 + 3 * t2) * y1 + (t3 - t2) * h * m1)


def fit_increments(weights, total, cap):
    """Real increments proportional to weights, each at most cap, summing to total."""
    if total == 0:
        return [0.0] * len(weights)
    assert total <= cap * len(weights), "interval too short for its rise"
    lo, hi = 0.0, 1.0
    while sum(min(hi * w, cap) for w in weights) < total:
        hi *= 2
    for _ in range(200):
        mid = (lo + hi) / 2
        if sum(min(mid * w, cap) for w in weights) < total:
            lo = mid
        else:
            hi = mid
    inc = [min(hi * w, cap) for w in weights]
    scale = total / sum(inc)  # removes the last bisection error, stays within cap
    return [min(v * scale, cap) for v in inc]


def build(name, first, lower_end, upper, upper_start, cap):
    knots = [(lower_end, first)]
    knots += [(i, v) for i, v in zip(ROW_INDICES, ROWS[name]) if lower_end < i < upper_start]
    knots.append((upper_start, upper))
    xs = [k[0] for k in knots]
    ys = [float(k[1]) for k in knots]
    slopes = pchip_slopes(xs, ys)

    curve = [first] * SIZE
    for k in range(len(knots) - 1):
        a, b = xs[k], xs[k + 1]
        va, vb = int(ys[k]), int(ys[k + 1])
        shape = [hermite(a, b, ys[k], ys[k + 1], slopes[k], slopes[k + 1], x) for x in range(a, b + 1)]
        weights = [max(shape[i + 1] - shape[i], 1e-6) for i in range(b - a)]
        fixed_first = 1.0 if a == lower_end else None
        fixed_last = 1.0 if b == upper_start else None
        inner = weights[(1 if fixed_first else 0):(len(weights) - (1 if fixed_last else 0))]
        rest = (vb - va) - (fixed_first or 0) - (fixed_last or 0)
        inc = fit_increments(inner, rest, cap)
        if fixed_first:
            inc.insert(0, fixed_first)
        if fixed_last:
            inc.append(fixed_last)
        acc = float(va)
        for i, step in enumerate(inc):
            acc += step
            curve[a + 1 + i] = int(math.floor(acc + 0.5))
        curve[b] = vb
    for i in range(upper_start, SIZE):
        curve[i] = upper
    check(name, curve, first, lower_end, upper, upper_start, cap)
    return curve


def check(name, curve, first, lower_end, upper, upper_start, cap):
    assert all(v == first for v in curve[:lower_end + 1]), name
    assert curve[lower_end + 1] > first, name
    assert all(v == upper for v in curve[upper_start:]), name
    assert curve[upper_start - 1] < upper, name
    for i in range(1, SIZE):
        assert 0 <= curve[i] - curve[i - 1] <= cap, (name, i)
    for i, v in zip(ROW_INDICES, ROWS[name]):
        assert curve[i] == v, (name, i, curve[i], v)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "core", "temperaturecurves.inc")
    lines = ["// Generated by tools/make_temperature_curves.py; do not edit by hand.\n"]
    for definition in CURVES:
        curve = build(*definition)
        lines.append("const std::int16_t kCurve%s[%d] = {\n" % (definition[0], SIZE))
        for i in range(0, SIZE, 16):
            lines.append("    " + ", ".join(str(v) for v in curve[i:i + 16]) + ",\n")
        lines.append("};\n")
    with open(out, "w") as f:
        f.writelines(lines)
    print(os.path.normpath(out))


if __name__ == "__main__":
    main()
