#!/usr/bin/env python3
"""Cross-check of the demo attitude of M1-63 (tools/demo-keps/m1-63-attitude).

The attitude is the celestial unit vector of ALON 210, ALAT -5 (orbit frame:
x to perigee, z along the orbit normal) at 2018-01-22 0 h UTC, for the keps
file data/demo-keps/EL-M1-63.kep. The committed vector was computed with the
orbit library (SetupElements, OrbitOrientation, AttitudeToCelestial,
LatLonToVector). Here the same direction is rebuilt from first principles:
RAAN and argument of perigee advanced by the J2 rates, then
R = Rz(RAAN) Rx(i) Rz(argp) applied to the orbit-frame vector.
Agreement to about 1e-6 is expected (32-bit floats in the library).
"""
import math

PI32 = 3.14159274                 # the library's float pi
GM, RE, J2 = 398600.44, 6378.137, 0.00108263
n = 2.0084686 * 2 * PI32          # rad/day, keps file
e, i = 0.6921717, math.radians(64.0955)
raan0, argp0 = math.radians(328.6419), math.radians(271.653)
t = 22.0 - 20.284828              # days from the epoch (day 20.284828 of 2018) to 22 January 0 h

a = (GM / (n / 86400) ** 2) ** (1 / 3)
b = a * math.sqrt(1 - e * e)
k = 1.5 * J2 * (RE * a / b ** 2) ** 2 * n
raan = raan0 - k * math.cos(i) * t
argp = argp0 + k * (5 * math.cos(i) ** 2 - 1) * 0.5 * t


def rz(x):
    c, s = math.cos(x), math.sin(x)
    return [[c, -s, 0], [s, c, 0], [0, 0, 1]]


def rx(x):
    c, s = math.cos(x), math.sin(x)
    return [[1, 0, 0], [0, c, -s], [0, s, c]]


def mul(p, q):
    return [[sum(p[r][m] * q[m][c] for m in range(3)) for c in range(3)] for r in range(3)]


m = mul(mul(rz(raan), rx(i)), rz(argp))
lat, lon = math.radians(-5), math.radians(210)
v = [math.cos(lat) * math.cos(lon), math.cos(lat) * math.sin(lon), math.sin(lat)]
w = [sum(m[r][c] * v[c] for c in range(3)) for r in range(3)]
print("celestial attitude %.6f %.6f %.6f" % tuple(w))
with open("tools/demo-keps/m1-63-attitude") as f:
    stored = [float(x) for x in f.read().split()]
print("stored             %.6f %.6f %.6f" % tuple(stored))
print("max difference %.2g" % max(abs(p - q) for p, q in zip(w, stored)))
