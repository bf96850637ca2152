#!/usr/bin/python3
"""Reference values for navlib's Sun, Moon and sidereal-time tests.

Computed once with Debian's python3-ephem (apt-get install python3-ephem) and
pasted as constants into tests/navlib/sunmoon_test.cpp; CI never runs this.

For each instant (UTC) it prints one C++ table row:
  - the Sun's geocentric apparent right ascension and declination of date
    (what SunPosition models, equator and equinox of date),
  - the Sun's ecliptic longitude of date and its distance in km,
  - the Moon's ecliptic longitude and latitude of date and its distance in km,
  - the Greenwich mean sidereal time in degrees (the model's Gha).
Run: /usr/bin/python3 tools/reference/sun_moon_reference.py
"""
import math

import ephem

AU_KM = 149597870.7

# (label, year, month, day, hour, minute): solstices and equinoxes over four
# decades and a few ordinary dates, so both the declination's range and the
# right ascension's wrap at the March equinox are covered.
INSTANTS = [
    ("1995 Jan 1 00:00", 1995, 1, 1, 0, 0),
    ("1999 Sep 23 12:00", 1999, 9, 23, 12, 0),
    ("2002 Aug 10 06:00", 2002, 8, 10, 6, 0),
    ("2010 Mar 20 18:00", 2010, 3, 20, 18, 0),
    ("2016 Nov 5 21:30", 2016, 11, 5, 21, 30),
    ("2024 Mar 20 03:06", 2024, 3, 20, 3, 6),
    ("2024 Jun 20 20:51", 2024, 6, 20, 20, 51),
    ("2024 Dec 21 09:20", 2024, 12, 21, 9, 20),
    ("2026 Feb 14 15:45", 2026, 2, 14, 15, 45),
    ("2031 Jul 4 04:00", 2031, 7, 4, 4, 0),
    ("2040 Oct 30 13:15", 2040, 10, 30, 13, 15),
]


def main():
    for label, y, mo, d, h, mi in INSTANTS:
        when = ephem.Date((y, mo, d, h, mi, 0))
        sun = ephem.Sun(when)
        moon = ephem.Moon(when)
        sun_ecl = ephem.Ecliptic(sun, epoch=when)
        moon_ecl = ephem.Ecliptic(moon, epoch=when)
        obs = ephem.Observer()
        obs.lon, obs.lat, obs.date = "0", "0", when
        # g_ra/g_dec: geocentric apparent place, equator and equinox of date.
        print('    {"%s", %d, %d, %d, %d, %d, %.4f, %.4f, %.4f, %.0f, %.4f, %.4f, %.0f, %.4f},' % (
            label, y, mo, d, h, mi,
            math.degrees(sun.g_ra), math.degrees(sun.g_dec),
            math.degrees(sun_ecl.lon), sun.earth_distance * AU_KM,
            math.degrees(moon_ecl.lon), math.degrees(moon_ecl.lat),
            moon.earth_distance * AU_KM,
            math.degrees(obs.sidereal_time())))


if __name__ == "__main__":
    main()
