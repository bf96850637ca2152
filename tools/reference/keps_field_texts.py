#!/usr/bin/env python3
"""Reference texts for the plotter's keps writer tests: for each value, the
32-bit float the keps reader holds, and the shortest general-format text
(at most 9 significant digits; whole numbers with all their integer digits)
that reads back as that same float. Plain Python, struct only."""
import math
import struct


def f32(x):
    return struct.unpack('<f', struct.pack('<f', x))[0]


def shortest(x):
    target = f32(x)
    first = 1
    a = abs(target)
    while a >= 10 and first < 17:
        a /= 10
        first += 1
    for digits in range(first, 18):
        text = '%.*g' % (digits, target)
        if f32(float(text)) == target:
            return text
    raise ValueError(x)


def round_to_4(x):
    x = f32(x)
    return f32(math.floor(x * 1e4 + 0.5) / 1e4)


CASES = [2002, 245.12345678, 64.0955, 2.05868456, 0.7, 24247, 26535.37, 1.5e-07, -5.9564598e-05,
         328.6419, 0.6921717, 271.653, 337.4037, 2.0084686]
ATTITUDE = [0.123456, -0.00004, -0.00006, -0.2105441, 0.65599734]

if __name__ == '__main__':
    for v in CASES:
        print('%-16r float %-20r text %s' % (v, f32(v), shortest(v)))
    for v in ATTITUDE:
        r = round_to_4(v)
        print('attitude %-12r RoundTo4 %-22r text %s' % (v, r, shortest(r)))
