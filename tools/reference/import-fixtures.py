#!/usr/bin/env python3
"""Writes the element-set fixtures of tests/import/fixtures/ and prints the
reference values the import tests compare against.

The element sets are real two-line sets of January 2018 (as Debian's gpredict
package ships them). The OMM files carry the same values; their epochs are
converted here with Python's datetime, independently of the C++ code. The
Alpha-5 set is the SO-50 set renumbered A0001 (= 100001), its checksums
recomputed here; the bad-checksum set is AO-27 with its line-2 checksum
changed. Run from the repository root: python3 tools/reference/import-fixtures.py
"""
import datetime
import json
import math
import os
import struct

OUT = os.path.join("tests", "import", "fixtures")

ISS = ("ISS (ZARYA)",
       "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992",
       "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614")
AO27 = ("EYESAT-1 (AO-27)",
        "1 22825U 93061C   18021.14707643 -.00000004  00000-0  16043-4 0  9995",
        "2 22825  98.8440 354.7505 0009344  59.1556 301.0544 14.30019694268554")
SO50 = ("SAUDISAT 1C (SO-50)",
        "1 27607U 02058C   18020.85805703 -.00000024  00000-0  17191-4 0  9994",
        "2 27607  64.5541 180.3486 0047321   5.0119 355.1447 14.75413283811223")
AO73 = ("FUNCUBE-1 (AO-73)",
        "1 39444U 13066AE  18020.54856505  .00000261  00000-0  38947-4 0  9993",
        "2 39444  97.6059  58.2764 0056877 274.6819  84.7900 14.81625290223209")
NO18 = ("NOAA 18",
        "1 28654U 05018A   18020.89662949 -.00000024  00000-0  12332-4 0  9995",
        "2 28654  99.1634  53.2197 0014486 177.6703 182.4537 14.12364350652899")
M163 = ("MOLNIYA 1-63",
        "1 15429U 84124A   18020.28482779 -.00000948  00000-0  00000-0 0  9990",
        "2 15429  64.0955 328.6419 6921717 271.6530 337.4037  2.00846852242473")


def checksum(line):
    s = 0
    for c in line[:68]:
        if c.isdigit():
            s += int(c)
        elif c == "-":
            s += 1
    return s % 10


def with_checksum(line):
    return line[:68] + str(checksum(line))


def renumber(tle, cat, title):
    return (title, with_checksum(tle[1][:2] + cat + tle[1][7:]), with_checksum(tle[2][:2] + cat + tle[2][7:]))


def epoch_iso(line1):
    yy = int(line1[18:20])
    year = 2000 + yy if yy < 57 else 1900 + yy
    day = float(line1[20:32])
    t = datetime.datetime(year, 1, 1) + datetime.timedelta(days=day - 1)
    return t.strftime("%Y-%m-%dT%H:%M:%S.%f")


def omm(tle, norad=None):
    l1, l2 = tle[1], tle[2]
    nddot_m, nddot_e = l1[44:50], l1[50:52]
    nddot = float(nddot_m.replace(" ", "") or "0") * 1e-5 * 10 ** int(nddot_e)
    return {
        "OBJECT_NAME": tle[0],
        "OBJECT_ID": "",
        "EPOCH": epoch_iso(l1),
        "MEAN_MOTION": l2[52:63].strip(),
        "ECCENTRICITY": "0." + l2[26:33],
        "INCLINATION": l2[8:16].strip(),
        "RA_OF_ASC_NODE": l2[17:25].strip(),
        "ARG_OF_PERICENTER": l2[34:42].strip(),
        "MEAN_ANOMALY": l2[43:51].strip(),
        "EPHEMERIS_TYPE": "0",
        "CLASSIFICATION_TYPE": "U",
        "NORAD_CAT_ID": norad or str(int(l1[2:7])),
        "ELEMENT_SET_NO": "999",
        "REV_AT_EPOCH": str(int(l2[63:68])),
        "BSTAR": "0",
        "MEAN_MOTION_DOT": str(float(l1[33:43])),
        "MEAN_MOTION_DDOT": repr(nddot),
    }


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def shortest(x):
    """Fewest significant digits (%g) that read back as the float nearest x."""
    f = f32(x)
    first = max(1, len(str(int(abs(f)))))  # whole numbers keep their integer digits
    for p in range(first, 18):
        t = "%.*g" % (p, f)
        if f32(float(t)) == f:
            return t
    raise ValueError(x)


def keps_line(tle):
    """The keps file the import must write for a titled two-line set (attitude 0)."""
    l1, l2 = tle[1], tle[2]
    pi32 = 3.14159274
    n = float(l2[52:63])
    nsec = n * 2 * pi32 / 86400
    a = (398600.44 / nsec ** 2) ** (1 / 3)
    yy = int(l1[18:20])
    year = 2000 + yy if yy < 57 else 1900 + yy
    nddot = float(l1[44:50].replace(" ", "") or "0") * 1e-5 * 10 ** int(l1[50:52])
    values = [year, float(l1[20:32]), float(l2[8:16]), float(l2[17:25]), float("0." + l2[26:33]),
              float(l2[34:42]), float(l2[43:51]), n, float(l2[63:68]), a, 0, 0, 0,
              2 * pi32 * float(l1[33:43]), 2 * pi32 * nddot]
    return ",".join(shortest(v) for v in values)


def write(name, text):
    with open(os.path.join(OUT, name), "w", newline="") as f:
        f.write(text)


def main():
    os.makedirs(OUT, exist_ok=True)
    alpha = renumber(SO50, "A0001", "ALPHA TEST (AT-01)")
    bad = (AO27[0], AO27[1], AO27[2][:68] + str((checksum(AO27[2]) + 3) % 10))
    # Titled two-line sets, CR LF line ends, one bad checksum, one Alpha-5 number.
    lines = []
    for t in (ISS, bad, alpha, M163):
        lines += [t[0], t[1], t[2]]
    write("titled.tle", "\r\n".join(lines) + "\r\n")
    # Without title lines.
    write("untitled.tle", "\n".join([NO18[1], NO18[2], AO73[1], AO73[2]]) + "\n")

    keys = ["OBJECT_NAME", "OBJECT_ID", "EPOCH", "MEAN_MOTION", "ECCENTRICITY", "INCLINATION",
            "RA_OF_ASC_NODE", "ARG_OF_PERICENTER", "MEAN_ANOMALY", "EPHEMERIS_TYPE",
            "CLASSIFICATION_TYPE", "NORAD_CAT_ID", "ELEMENT_SET_NO", "REV_AT_EPOCH", "BSTAR",
            "MEAN_MOTION_DOT", "MEAN_MOTION_DDOT"]
    # CSV: ISS, AO-73, and a row whose eccentricity is 1.2 (no ellipse).
    rows = [omm(ISS), omm(AO73), dict(omm(SO50), ECCENTRICITY="1.2")]
    csv = [",".join(keys)]
    for r in rows:
        csv.append(",".join('"%s"' % r[k] if "," in r[k] or " " in r[k] else r[k] for k in keys))
    write("omm.csv", "\r\n".join(csv) + "\r\n")

    # JSON: numbers as JSON numbers (CelesTrak style) for ISS; texts
    # (Space-Track style) and a six-digit catalogue number for the second.
    iss = omm(ISS)
    iss_num = {k: (float(v) if k in ("MEAN_MOTION", "ECCENTRICITY", "INCLINATION", "RA_OF_ASC_NODE",
                                     "ARG_OF_PERICENTER", "MEAN_ANOMALY", "BSTAR", "MEAN_MOTION_DOT",
                                     "MEAN_MOTION_DDOT") else
                   int(v) if k in ("NORAD_CAT_ID", "REV_AT_EPOCH", "EPHEMERIS_TYPE", "ELEMENT_SET_NO") else v)
               for k, v in iss.items()}
    six = dict(omm(M163, norad="270015"), OBJECT_NAME="BIGNUM SAT (BN-1)")
    missing = omm(AO73)
    del missing["MEAN_ANOMALY"]
    write("omm.json", json.dumps([iss_num, six, missing], indent=1) + "\n")

    # XML: CCSDS NDM layout; AO-27 (good) and SO-50 with a date that is no date.
    def xml_omm(r):
        meta = "".join("<%s>%s</%s>" % (k, r[k], k) for k in ("OBJECT_NAME", "OBJECT_ID"))
        meta += "<CENTER_NAME>EARTH</CENTER_NAME><REF_FRAME>TEME</REF_FRAME><TIME_SYSTEM>UTC</TIME_SYSTEM>"
        meta += "<MEAN_ELEMENT_THEORY>SGP4</MEAN_ELEMENT_THEORY>"
        mean = "".join("<%s>%s</%s>" % (k, r[k], k) for k in ("EPOCH", "MEAN_MOTION", "ECCENTRICITY",
                       "INCLINATION", "RA_OF_ASC_NODE", "ARG_OF_PERICENTER", "MEAN_ANOMALY"))
        tle = "".join("<%s>%s</%s>" % (k, r[k], k) for k in ("EPHEMERIS_TYPE", "CLASSIFICATION_TYPE",
                      "NORAD_CAT_ID", "ELEMENT_SET_NO", "REV_AT_EPOCH", "BSTAR", "MEAN_MOTION_DOT",
                      "MEAN_MOTION_DDOT"))
        return ('  <omm id="CCSDS_OMM_VERS" version="2.0">\n'
                '   <header><CREATION_DATE/><ORIGINATOR/></header>\n'
                '   <body><segment>\n'
                '    <metadata>%s</metadata>\n'
                '    <data><meanElements>%s</meanElements>\n'
                '     <tleParameters>%s</tleParameters></data>\n'
                '   </segment></body>\n'
                '  </omm>\n') % (meta, mean, tle)
    xml = '<?xml version="1.0" encoding="UTF-8"?>\n<ndm xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">\n'
    xml += xml_omm(omm(AO27)) + xml_omm(dict(omm(SO50), EPOCH="2018-02-30T01:02:03"))
    xml += "</ndm>\n"
    write("omm.xml", xml)

    # Reference values printed for the tests.
    print("Alpha-5 lines:", alpha[1], alpha[2], sep="\n")
    print("bad line:", bad[2], "should end in", checksum(AO27[2]))
    for t in (ISS, AO27, alpha, M163, NO18, AO73):
        l1, l2 = t[1], t[2]
        n = float(l2[52:63])
        pi32 = 3.14159274
        nsec = n * 2 * pi32 / 86400
        a = (398600.44 / nsec ** 2) ** (1 / 3)
        print(t[0], "keps", keps_line(t))
        print(t[0], "epoch", epoch_iso(l1), "sma %.9g" % a, "ma2 %.9g" % (2 * pi32 * float(l1[33:43])),
              "checksums", checksum(l1), checksum(l2))


if __name__ == "__main__":
    main()
