"""Readers for the public star data the catalogue is built from.

Every reader returns plain dictionaries keyed by Hipparcos number (HIP), so
the builder can join them. Positions are degrees, J2000 equinox, epoch 2000.0.
"""

import json
import re
from dataclasses import dataclass


@dataclass
class HipStar:
    hip: int
    ra_deg: float  # 0 <= ra < 360
    de_deg: float
    vmag: float


def read_d3_stars(path):
    """d3-celestial's stars.14.json: every Hipparcos star with V.

    Longitudes are stored in -180..180; a negative one is RA - 360.
    """
    with open(path, encoding="utf-8") as f:
        features = json.load(f)["features"]
    stars = {}
    for feature in features:
        mag = feature["properties"].get("mag")
        if mag is None:
            continue
        lon, lat = feature["geometry"]["coordinates"]
        ra = lon + 360.0 if lon < 0 else lon
        hip = int(feature["id"])
        stars[hip] = HipStar(hip, ra % 360.0, float(lat), float(mag))
    return stars


def read_cross_ids(path):
    """Stellarium's cross-id.dat: HIP, component, SAO, HD, HR (tab separated).

    Returns {hip: (sao, hd, hr)} with 0 for a missing number. Where a HIP
    number has several component rows, the first row with a number wins
    field by field.
    """
    ids = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            cols = line.rstrip("\n").split("\t")
            hip = int(cols[0])
            numbers = tuple(int(c) if c.strip() else 0 for c in cols[2:5])
            old = ids.get(hip, (0, 0, 0))
            ids[hip] = tuple(o or n for o, n in zip(old, numbers))
    return ids


def read_proper_motions(path):
    """Stellarium's hip_pm.dat: {hip: (pm_ra_cosde, pm_de)} in mas/yr."""
    motions = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            hip, pmra, pmde = line.split()[:3]
            motions[int(hip)] = (float(pmra), float(pmde))
    return motions


_FAB_FLAMSTEED = re.compile(r"^(\d+)_([A-Za-z]{3})(?:_(\w+))?$")


def read_name_fab(path):
    """Stellarium's name.fab: "HIP|designation" lines.

    Returns a list of (hip, number, constellation, component) for the
    numbered designations (58_Ori, 59_And_A); Bayer letters are skipped.
    """
    found = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            if "|" not in line:
                continue
            hip, name = line.strip().split("|", 1)
            m = _FAB_FLAMSTEED.match(name.strip())
            if m:
                found.append((int(hip), int(m.group(1)), m.group(2), m.group(3) or ""))
    return found


def read_d3_starnames(path):
    """d3-celestial's starnames.json: list of (hip, number, constellation)."""
    with open(path, encoding="utf-8") as f:
        names = json.load(f)
    found = []
    for hip, entry in names.items():
        flam = str(entry.get("flam", "")).strip()
        con = str(entry.get("c", "")).strip()
        if flam.isdigit() and len(con) == 3:
            found.append((int(hip), int(flam), con))
    return found


@dataclass
class BrightStar:
    hr: int
    ra_hours: float  # rounded to 0.0001 h
    de_deg: float  # rounded to 0.0001 deg
    vmag: float
    name: str  # 10 characters: Flamsteed number, Bayer letter, constellation
    hd: int
    sao: int  # 0 when none

    @property
    def flamsteed(self):
        """(number, constellation) from the name field, or None."""
        number = self.name[0:3].strip()
        con = self.name[7:10].strip()
        if number.isdigit() and len(con) == 3:
            return int(number), con
        return None


_BSC_LINE = re.compile(r'^\s*(\S+)\s+(\S+)\s+(\S+)\s+"(.{10})"\s+(\d+)\s+(\d+)\s+(\d+)\s*$')


def read_bsc(path):
    """The Yale Bright Star Catalogue as xplanet ships it.

    Lines: Dec, RA (hours), V, "name", HR, HD, SAO.
    """
    stars = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            m = _BSC_LINE.match(line)
            if not m:
                raise ValueError(f"{path}: unexpected line: {line.rstrip()}")
            de, ra, vmag, name, hr, hd, sao = m.groups()
            stars.append(BrightStar(int(hr), float(ra), float(de), float(vmag),
                                    name, int(hd), int(sao)))
    return stars
