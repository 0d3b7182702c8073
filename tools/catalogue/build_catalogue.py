#!/usr/bin/env python3
"""Builds Velkarn's star catalogue from public Hipparcos-class data.

Writes skycat.dat (fixed 107-byte records sorted by right ascension),
velkarn.ndx (the Flamsteed index), skycat.pol (the polar record list) and a
small extract of the bright-star list that the tests compare against.
See README.md beside this file for the sources and how to get them.
"""

import argparse
import math
import os
import sys
import tempfile
from pathlib import Path

import flamsteed
import skycat_record
import sources

REPO = Path(__file__).resolve().parents[2]
STELLARIUM = Path("/usr/share/stellarium/stars/default")
D3_DATA = Path("/tmp/d3c/node_modules/d3-celestial/data")
BSC = Path("/usr/share/xplanet/stars/BSC")

# A star this near a pole is out of reach of the scan by right ascension and
# is found through skycat.pol instead. The scan's band stops strictly below
# 86 degrees, so a star at exactly 86 degrees belongs to the list too.
POLAR_LIMIT_ARCSEC = 86 * 3600

MATCH_RADIUS_DEG = 60.0 / 3600.0
REFERENCE_STEP = 25


def separation_deg(ra1, de1, ra2, de2):
    """Angle between two directions, all in degrees (haversine)."""
    r1, d1, r2, d2 = map(math.radians, (ra1, de1, ra2, de2))
    h = (math.sin((d2 - d1) / 2) ** 2
         + math.cos(d1) * math.cos(d2) * math.sin((r2 - r1) / 2) ** 2)
    return math.degrees(2 * math.asin(min(1.0, math.sqrt(h))))


def match_bright_stars(bright, stars, cross_ids):
    """{hip: BrightStar}: each bright star joined to its Hipparcos star,
    by HD number where that lands within a minute of arc, else by the
    nearest star of similar brightness within that radius."""
    hips_of_hd = {}
    for hip, (_, hd, _) in cross_ids.items():
        if hd and hip in stars:
            hips_of_hd.setdefault(hd, []).append(hip)

    by_band = {}
    for star in stars.values():
        by_band.setdefault(math.floor(star.de_deg), []).append(star)

    def distance(star, b):
        return separation_deg(star.ra_deg, star.de_deg, b.ra_hours * 15.0, b.de_deg)

    matched = {}
    for b in bright:
        candidates = [stars[h] for h in hips_of_hd.get(b.hd, [])]
        if not candidates:
            band = math.floor(b.de_deg)
            candidates = [s for d in (band - 1, band, band + 1) for s in by_band.get(d, [])
                          if abs(s.vmag - b.vmag) < 1.0]
        near = [(distance(s, b), abs(s.vmag - b.vmag), s.hip) for s in candidates]
        near = [n for n in near if n[0] <= MATCH_RADIUS_DEG]
        if not near:
            continue
        _, dmag, hip = min(near)
        if hip not in matched or dmag < abs(stars[hip].vmag - matched[hip].vmag):
            matched[hip] = b
    return matched


def build_records(selected, stars, cross_ids, motions, bright_of_hip, shown, report):
    """[(sort key, hip, record text)] in file order."""
    rows = []
    for hip in selected:
        star = stars[hip]
        sao, hd, hr = cross_ids.get(hip, (0, 0, 0))
        b = bright_of_hip.get(hip)
        if b:
            sao, hd, hr = sao or b.sao, hd or b.hd, hr or b.hr
        pmra_mas, pmde_mas = motions.get(hip, (0.0, 0.0))
        if hip not in motions:
            report["without proper motion"] += 1
        if not (sao or hd or hip in shown):
            report["without HD, SAO or Flamsteed number"] += 1
        ra10 = skycat_record.ra_tenths(star.ra_deg)
        de_sec = skycat_record.de_arcsec(star.de_deg)
        fields = dict(hd=hd, sao=sao, flamsteed=shown.get(hip), ra10=ra10, de_sec=de_sec,
                      pmra=skycat_record.pm_ra_thousandths(pmra_mas, star.de_deg),
                      pmde=skycat_record.pm_de_hundredths(pmde_mas),
                      mag100=skycat_record.mag_hundredths(star.vmag), hip=hip, hr=hr)
        try:
            text = skycat_record.format_record(**fields)
        except skycat_record.FieldOverflow as e:
            report["left out, field overflow"].append((hip, str(e)))
            continue
        rows.append(((ra10, de_sec, hip), hip, text))
    rows.sort()
    return rows


def write_atomically(path, data):
    """Replace `path` only once the new content is complete on disk."""
    path.parent.mkdir(parents=True, exist_ok=True)
    fd, tmp = tempfile.mkstemp(dir=path.parent, prefix=path.name + ".")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
            f.flush()
            os.fsync(f.fileno())
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        os.unlink(tmp)
        raise


def reference_extract(bright, bsc_path):
    lines = [
        f"# Every {REFERENCE_STEP}th star of the Yale Bright Star Catalogue, 5th revised"
        f" edition, as Debian's xplanet ships it in {bsc_path}"
        " (J2000, epoch 2000.0; RA rounded to 0.0001 h, DE to 0.0001 deg).\n",
        "# HR  RA(h)  DE(deg)  V  \"name\" (Flamsteed number, Bayer letter, constellation)\n",
    ]
    for b in bright[::REFERENCE_STEP]:
        lines.append(f"{b.hr:4d} {b.ra_hours:7.4f} {b.de_deg:8.4f} {b.vmag:5.2f} \"{b.name}\"\n")
    return "".join(lines).encode("ascii")


def parse_args(argv):
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--stellarium", type=Path, default=STELLARIUM,
                   help="folder with cross-id.dat, hip_pm.dat, name.fab")
    p.add_argument("--d3", type=Path, default=D3_DATA,
                   help="d3-celestial's data folder (stars.14.json, starnames.json)")
    p.add_argument("--bsc", type=Path, default=BSC, help="xplanet's BSC file")
    p.add_argument("--limit", type=float, default=8.2, help="faintest V magnitude kept")
    p.add_argument("--out", type=Path, default=REPO / "data" / "catalogue")
    p.add_argument("--reference", type=Path,
                   default=REPO / "tests" / "catalogue" / "data" / "bsc_reference.txt")
    return p.parse_args(argv)


def missing_sources(args):
    needed = [args.d3 / "stars.14.json", args.d3 / "starnames.json", args.bsc,
              args.stellarium / "cross-id.dat", args.stellarium / "hip_pm.dat",
              args.stellarium / "name.fab"]
    return [p for p in needed if not p.is_file()]


def main(argv):
    args = parse_args(argv)
    missing = missing_sources(args)
    if missing:
        for path in missing:
            print(f"build_catalogue: source not found: {path}", file=sys.stderr)
        print("See tools/catalogue/README.md for how to get the sources.", file=sys.stderr)
        return 1
    stars = sources.read_d3_stars(args.d3 / "stars.14.json")
    cross_ids = sources.read_cross_ids(args.stellarium / "cross-id.dat")
    motions = sources.read_proper_motions(args.stellarium / "hip_pm.dat")
    bright = sources.read_bsc(args.bsc)
    bright_of_hip = match_bright_stars(bright, stars, cross_ids)

    bright_names = [(hip, *b.flamsteed) for hip, b in bright_of_hip.items() if b.flamsteed]
    by_designation, bright_set = flamsteed.confirmed_designations(
        sources.read_name_fab(args.stellarium / "name.fab"),
        sources.read_d3_starnames(args.d3 / "starnames.json"),
        bright_names)
    chosen, shown = flamsteed.assign_designations(by_designation, bright_set, stars)

    selected = sorted({h for h, s in stars.items() if s.vmag <= args.limit} | set(chosen.values()))
    report = {"without proper motion": 0, "without HD, SAO or Flamsteed number": 0,
              "left out, field overflow": []}
    rows = build_records(selected, stars, cross_ids, motions, bright_of_hip, shown, report)
    record_of_hip = {hip: n for n, (_, hip, _) in enumerate(rows)}
    chosen = {d: h for d, h in chosen.items() if h in record_of_hip}
    polar = [n for n, ((_, de_sec, _), _, _) in enumerate(rows)
             if abs(de_sec) >= POLAR_LIMIT_ARCSEC]

    write_atomically(args.out / "skycat.dat", "".join(t for _, _, t in rows).encode("ascii"))
    write_atomically(args.out / "velkarn.ndx", flamsteed.index_bytes(chosen, record_of_hip))
    write_atomically(args.out / "skycat.pol", "".join(f"{n}\n" for n in polar).encode("ascii"))
    write_atomically(args.reference, reference_extract(bright, args.bsc))

    print(f"records: {len(rows)} (V <= {args.limit})")
    print(f"polar records: {len(polar)}")
    print(f"bright stars matched: {len(bright_of_hip)} of {len(bright)}")
    print(f"index entries filled: {len(chosen)} of {flamsteed.INDEX_ENTRIES}")
    for what, value in report.items():
        print(f"{what}: {value if isinstance(value, int) else len(value)}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
