#!/usr/bin/env python3
"""Generates the plotter's coastline table (gimbra/core/coastline.cpp).

Source: the crude-resolution GSHHG shorelines shipped by Debian's gmt-gshhg-low,
printed by Debian's gmt as line segments cut at the data set's bins
(`gmt coast -Rd -Dc -W -M`), land outlines only (-A AREA/0/1: no lakes, no
features smaller than AREA square kilometres). `gmt connect` joins the bin
pieces into polylines; the piece of Asia east of the date line is appended to
Eurasia with its longitudes written past 180. Each polyline is thinned with
the Douglas-Peucker rule (tolerance in degrees, found so that the whole table
holds about TARGET points), rounded to one decimal, and written as a constexpr
array: polylines separated by (0, 0), the rest of the 1064 entries (0, 0).

Needs: apt-get install gmt gmt-gshhg-low. The build does not run this; the
generated file is committed.

Usage: python3 tools/coastline/make_coastline.py [--area 50000] [--target 1000] [--out FILE]
"""
import argparse
import math
import os
import subprocess
import sys

TABLE_ENTRIES = 1064  # entries 1 ... 1064 of the world-map table


def run(cmd, stdin=None):
    return subprocess.run(cmd, input=stdin, capture_output=True, text=True, check=True).stdout


def read_segments(text):
    segs, cur = [], None
    for line in text.splitlines():
        if line.startswith('>'):
            cur = []
            segs.append(cur)
            continue
        parts = line.split()
        if len(parts) >= 2 and cur is not None:
            cur.append((float(parts[0]), float(parts[1])))  # lon, lat
    return [s for s in segs if len(s) >= 2]


def same(a, b, eps=1e-6):
    return abs(a[0] - b[0]) < eps and abs(a[1] - b[1]) < eps


def join_date_line(segs):
    """Appends a piece that starts at longitude -180 to the open polyline ending
    at +180 at the same latitude, its longitudes shifted by +360."""
    changed = True
    while changed:
        changed = False
        for a in segs:
            if same(a[0], a[-1]) or abs(a[-1][0] - 180) > 1e-6:
                continue
            for b in segs:
                if b is a or abs(b[0][0] + 180) > 1e-6 or abs(b[0][1] - a[-1][1]) > 1e-6:
                    continue
                a.extend((lon + 360, lat) for lon, lat in b[1:])
                segs.remove(b)
                changed = True
                break
            if changed:
                break
    return segs


def perpendicular(p, a, b):
    (x, y), (x1, y1), (x2, y2) = p, a, b
    dx, dy = x2 - x1, y2 - y1
    if dx == 0 and dy == 0:
        return math.hypot(x - x1, y - y1)
    return abs(dy * x - dx * y + x2 * y1 - y2 * x1) / math.hypot(dx, dy)


def douglas_peucker(points, tol):
    if len(points) < 3:
        return list(points)
    keep = [False] * len(points)
    keep[0] = keep[-1] = True
    stack = [(0, len(points) - 1)]
    while stack:
        i, j = stack.pop()
        best, index = -1.0, -1
        for k in range(i + 1, j):
            d = perpendicular(points[k], points[i], points[j])
            if d > best:
                best, index = d, k
        if index >= 0 and best > tol:
            keep[index] = True
            stack.append((i, index))
            stack.append((index, j))
    return [p for p, k in zip(points, keep) if k]


def thin(seg, tol):
    closed = same(seg[0], seg[-1])
    if closed and len(seg) > 3:
        # A ring is split at its farthest point so both halves keep their shape.
        far = max(range(len(seg)), key=lambda k: math.hypot(seg[k][0] - seg[0][0], seg[k][1] - seg[0][1]))
        out = douglas_peucker(seg[:far + 1], tol)[:-1] + douglas_peucker(seg[far:], tol)
    else:
        out = douglas_peucker(seg, tol)
    rounded = []
    for lon, lat in out:
        q = (round(lon, 1), round(lat, 1))
        if q == (0.0, 0.0):  # (0, 0) would end the polyline: move it by a tenth
            q = (0.1, 0.0)
        if not rounded or rounded[-1] != q:
            rounded.append(q)
    return rounded


def table(segs, tol):
    lines = [thin(s, tol) for s in segs]
    return [l for l in lines if len(l) >= 2]


def entries(lines):
    return sum(len(l) for l in lines) + len(lines) - 1


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--area', type=float, default=45000, help='smallest feature kept, km^2')
    ap.add_argument('--target', type=int, default=1000, help='about this many points')
    ap.add_argument('--out', default=os.path.join(os.path.dirname(__file__), '..', '..', 'gimbra', 'core', 'coastline.cpp'))
    args = ap.parse_args()

    raw = run(['gmt', 'coast', '-Rd', '-Dc', '-W', '-M', '-A%g/0/1' % args.area])
    joined = run(['gmt', 'connect', '-T0.05'], stdin=raw)
    segs = join_date_line(read_segments(joined))
    # Largest polylines first: continents, then islands.
    segs.sort(key=lambda s: -len(s))

    lo, hi = 0.0, 5.0  # tolerance in degrees: more points with a smaller one
    for _ in range(40):
        mid = (lo + hi) / 2
        n = sum(len(l) for l in table(segs, mid))
        if n > args.target:
            lo = mid
        else:
            hi = mid
    lines = table(segs, hi)
    if entries(lines) > TABLE_ENTRIES:
        sys.exit('table too large: %d entries' % entries(lines))
    points = sum(len(l) for l in lines)

    out = []
    out.append('// Generated by tools/coastline/make_coastline.py; do not edit.')
    out.append('// Crude GSHHG shorelines (Debian gmt-gshhg-low, printed by `gmt coast -Rd -Dc -W -M -A%g/0/1`,' % args.area)
    out.append('// joined with `gmt connect`), thinned (Douglas-Peucker, %.3f deg) to %d points in %d polylines,' % (hi, points, len(lines)))
    out.append('// degrees with one decimal. GSHHG is distributed under the GNU LGPL.')
    out.append('#include "gimbra/core/worldmap.h"')
    out.append('')
    out.append('namespace gimbra {')
    out.append('')
    out.append('// Entries 1 ... 1064 of the world-map table: {latitude, longitude};')
    out.append('// {0, 0} ends a polyline; the entries after the last point are {0, 0}.')
    out.append('constexpr CoastPoint Coastline[CoastlineCount] = {')
    for n, line in enumerate(lines):
        if n:
            out.append('    {0, 0},')
        row = []
        for lon, lat in line:
            row.append('{%s, %s}' % (fmt(lat), fmt(lon)))
        for k in range(0, len(row), 6):
            out.append('    ' + ', '.join(row[k:k + 6]) + ',')
    out.append('};')
    out.append('')
    out.append('}  // namespace gimbra')
    with open(args.out, 'w') as f:
        f.write('\n'.join(out) + '\n')
    print('%d points, %d polylines, %d entries -> %s' % (points, len(lines), entries(lines), args.out))


def fmt(v):
    s = '%.1f' % v
    if s == '-0.0':
        s = '0.0'
    return s + 'f'


if __name__ == '__main__':
    main()
