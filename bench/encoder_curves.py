#!/usr/bin/env python3
"""BD-rate between the encoders of encode_probe's curve lines (stdin):
the mean difference in bytes at equal SSIMULACRA 2 over scores 60..90,
per photo and overall, of each encoder against the first one named."""
import math
import sys
from collections import defaultdict

LOW, HIGH, STEPS = 60.0, 90.0, 61


def log_bytes_at(points, score):
    points = sorted(points, key=lambda p: p[1])
    for (b0, s0), (b1, s1) in zip(points, points[1:]):
        if s0 <= score <= s1 and s1 > s0:
            t = (score - s0) / (s1 - s0)
            return math.log(b0) * (1 - t) + math.log(b1) * t
    return None


def bd_rate(reference, other):
    diffs = []
    for i in range(STEPS):
        score = LOW + (HIGH - LOW) * i / (STEPS - 1)
        a, b = log_bytes_at(reference, score), log_bytes_at(other, score)
        if a is not None and b is not None:
            diffs.append(b - a)
    return (math.exp(sum(diffs) / len(diffs)) - 1) * 100 if diffs else float("nan")


curves = defaultdict(lambda: defaultdict(list))
order = []
for line in sys.stdin:
    photo, encoder, _quality, size, score = line.split()
    if encoder not in order:
        order.append(encoder)
    curves[photo][encoder].append((int(size), float(score)))
base = sys.argv[1] if len(sys.argv) > 1 else order[0]
for encoder in order:
    if encoder == base:
        continue
    rates = [bd_rate(c[base], c[encoder]) for c in curves.values() if c[encoder]]
    rates = [r for r in rates if not math.isnan(r)]
    for photo, c in curves.items():
        print(f"  {photo.split('/')[-1]:45s} {encoder} vs {base}: {bd_rate(c[base], c[encoder]):+6.1f} %")
    print(f"BD-rate {encoder} vs {base}: {sum(rates) / len(rates):+.1f} % over {len(rates)} photos")
