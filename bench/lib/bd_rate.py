#!/usr/bin/env python3
"""BD-rate and summary tables from encoder_compare.sh's points.

    bd_rate.py POINTS.csv BASE [OTHER_BASE]

POINTS.csv rows: photo,curve,setting,bytes,ssimulacra2,butteraugli. A curve's
points are its sweep; the setting "default" is a single point of the tool's
defaults. BD-rate is the mean difference of log(bytes) at equal SSIMULACRA 2
over 60..90, per photo (log-bytes interpolated linearly between measured
points, so no polynomial overshoots), then averaged over the photos.
"""
import csv
import math
import sys
from collections import defaultdict

LOW, HIGH = 60.0, 90.0


def curve_points(rows):
    points = sorted((float(r["ssimulacra2"]), math.log(int(r["bytes"]))) for r in rows)
    # keep the cheapest file for each reachable score (a sweep need not be monotonic)
    kept = []
    for score, log_bytes in points:
        while kept and kept[-1][1] >= log_bytes:
            kept.pop()
        kept.append((score, log_bytes))
    return kept


def log_bytes_at(points, score):
    for (s0, b0), (s1, b1) in zip(points, points[1:]):
        if s0 <= score <= s1:
            return b0 + (b1 - b0) * (score - s0) / (s1 - s0) if s1 > s0 else b0
    return None


def bd_rate(a, b, steps=200):
    """Mean log-bytes difference of a against b over their common scores in 60..90."""
    low = max(LOW, a[0][0], b[0][0])
    high = min(HIGH, a[-1][0], b[-1][0])
    if high - low < 5:
        return None
    diffs = []
    for i in range(steps + 1):
        score = low + (high - low) * i / steps
        diffs.append(log_bytes_at(a, score) - log_bytes_at(b, score))
    return sum(diffs) / len(diffs)


def main():
    path, bases = sys.argv[1], sys.argv[2:]
    rows = list(csv.DictReader(open(path)))
    sweeps = defaultdict(lambda: defaultdict(list))  # curve -> photo -> rows
    defaults = defaultdict(list)  # curve -> rows
    for r in rows:
        (defaults[r["curve"]] if r["setting"] == "default" else sweeps[r["curve"]][r["photo"]]).append(r)
    photos = sorted({r["photo"] for r in rows})
    curves = list(dict.fromkeys(r["curve"] for r in rows))

    print("\nmean over %d photos: bytes and SSIMULACRA 2 per setting" % len(photos))
    for curve in curves:
        settings = defaultdict(list)
        for photo_rows in sweeps[curve].values():
            for r in photo_rows:
                settings[r["setting"]].append(r)
        line = []
        for setting in sorted(settings, key=float):
            group = settings[setting]
            line.append("%s: %.0f kB %.1f" % (setting, sum(int(r["bytes"]) for r in group) / len(group) / 1000,
                                              sum(float(r["ssimulacra2"]) for r in group) / len(group)))
        print("  %-12s %s" % (curve, " | ".join(line)))

    for base in bases:
        print("\nBD-rate over SSIMULACRA 2 %g..%g against %s (negative: fewer bytes)" % (LOW, HIGH, base))
        for curve in curves:
            if curve == base or not sweeps[curve]:
                continue
            values = []
            for photo in photos:
                a, b = sweeps[curve].get(photo), sweeps[base].get(photo)
                if a and b:
                    d = bd_rate(curve_points(a), curve_points(b))
                    if d is not None:
                        values.append(d)
            if values:
                mean = sum(values) / len(values)
                per_photo = " ".join("%+.1f" % (100 * (math.exp(v) - 1)) for v in values)
                print("  %-12s %+6.1f %%   (%d photos: %s)" % (curve, 100 * (math.exp(mean) - 1), len(values), per_photo))

    base = bases[0]
    print("\ndefault settings: mean bytes, SSIMULACRA 2, butteraugli; bytes against %s at the same score" % base)
    for curve in curves:
        group = defaults.get(curve)
        if not group:
            continue
        ratios = []
        for r in group:
            ours = curve_points(sweeps[base].get(r["photo"], []))
            at = log_bytes_at(ours, float(r["ssimulacra2"])) if ours else None
            if at is not None:
                ratios.append(math.log(int(r["bytes"])) - at)
        butter = [float(r["butteraugli"]) for r in group if r["butteraugli"]]
        print("  %-12s %7.1f kB  %5.1f  %s  %s" % (
            curve, sum(int(r["bytes"]) for r in group) / len(group) / 1000,
            sum(float(r["ssimulacra2"]) for r in group) / len(group),
            "%5.2f" % (sum(butter) / len(butter)) if butter else "  -  ",
            "%+.1f %% (%d photos)" % (100 * (math.exp(sum(ratios) / len(ratios)) - 1), len(ratios)) if ratios else ""))


if __name__ == "__main__":
    main()
