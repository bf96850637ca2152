#!/usr/bin/env python3
"""Hand derivation of one step-table row for the planner tests.

Satellite "EQ" (tests/quenta/fixtures/equator): circular equatorial orbit,
12 rev/day, mean anomaly 90 deg at the epoch 2018 Jan 15 12:00 UTC, RAAN and
argument of perigee 0, so at the epoch its right ascension is 90 deg. The
observer stands on the equator (height 0, where the ellipsoid radius is the
equatorial radius) 20 deg of longitude west of the sub-satellite point, so
the whole geometry lies in the equator plane and needs only plane
trigonometry. The model's own constants are used, as stored (32-bit floats):
pi = 3.14159274, GM = 398600.4375 km^3/s^2, Earth radius 6378.137 km, the
Greenwich hour angle of Aries 99.1901 deg at 1995 Jan 0 0 h UTC advancing by
EarthRate = 2 pi + 2 pi / 365.2421875 rad/day.

Run: python3 tools/reference/planner_equator_row.py
"""
import math
import struct


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


PI = f32(3.14159274)
GM = 398600.4375
R = 6378.137
YEAR_RATE = f32(2 * PI / f32(365.2421875))
EARTH_RATE = f32(2 * PI + YEAR_RATE)            # rad/day
EARTH_RATE_SEC = f32(EARTH_RATE / 86400)       # rad/s

n_day = f32(12.0 * 2 * PI)                     # rad/day as the keps reader holds it
n_sec = f32(n_day / 86400)
a = (GM / n_sec ** 2) ** (1 / 3)               # km
print("semi-major axis %.3f km, height %.2f km" % (a, a - R))

# Days from 1995 Jan 0 0 h to 2018 Jan 15 12 h: 23 years with 6 leap days.
d = (23 * 365 + 6 + 14) + 1 + 0.5
gha = math.degrees(f32(99.1901 * PI / 180) + d * EARTH_RATE) % 360
sub_lon = (90 - gha) % 360
print("Greenwich hour angle %.4f deg, sub-satellite longitude %.4f deg" % (gha, sub_lon))

obs_lon = 134.9945
dl = math.radians(sub_lon - obs_lon)
sat = (a * math.cos(dl), a * math.sin(dl))     # observer at (R, 0), plane of the equator
los = (sat[0] - R, sat[1])
rng = math.hypot(*los)
el = math.degrees(math.atan2(a * math.cos(dl) - R, a * math.sin(dl)))
print("range %.2f km, elevation %.2f deg, azimuth 90 (east)" % (rng, el))

v = n_sec * a                                  # km/s, circular orbit, inertial
v_sat = (-v * math.sin(dl), v * math.cos(dl))
v_obs = (0.0, EARTH_RATE_SEC * R)
u = (los[0] / rng, los[1] / rng)
rr = (v_sat[0] - v_obs[0]) * u[0] + (v_sat[1] - v_obs[1]) * u[1]
print("range rate %.3f km/s" % rr)
