#!/usr/bin/python3
"""Reference Sun angles for the Earth-sensor report tests (Debian python3-ephem).

The test orbit EL-EQUAT (tests/gimbra_extras/data) is equatorial with every
angle 0 at its epoch, 2018-01-22 0 h UTC, and orbit 100 starts there: at mean
anomaly 0 of orbit 100 the orbit frame is the celestial frame, so an attitude
ALON/ALAT is the direction of right ascension ALON and declination ALAT. The
Sun angle is the Sun's elevation above the plane perpendicular to the axis:
asin(axis . sun), degrees."""
import math

import ephem

sun = ephem.Sun()
sun.compute('2018/1/22 00:00:00', epoch='2018/1/22')
ra, dec = float(sun.ra), float(sun.dec)
print('Sun RA %.4f deg, Dec %.4f deg (of date)' % (math.degrees(ra), math.degrees(dec)))
for alon, alat in [(304.2, -19.5), (124.2, 19.5), (34.2, 0.0), (304.2, 20.5), (304.2, 0.5)]:
    a, b = math.radians(alon), math.radians(alat)
    d = math.cos(b) * math.cos(dec) * math.cos(a - ra) + math.sin(b) * math.sin(dec)
    print('ALON %6.1f ALAT %6.1f  Sun angle %8.3f deg' % (alon, alat, math.degrees(math.asin(d))))
