"""One 107-byte record of skycat.dat.

Columns, counted from 0 (the reader uses only 0-51):

   0-5   HD number, right-aligned, blank when none
   6     blank
   7-12  SAO number, right-aligned, blank when none
   13-15 Flamsteed number, right-aligned, blank when none
   16-21 blank
   22-24 constellation of the Flamsteed number, blank when none
   25-31 right ascension HHMMSSs (tenths of a second of time)
   32    "+" north, "-" south
   33-38 declination DDMMSS
   39-43 proper motion in RA, 0.001 s of time per year, sign and 4 digits
   44-47 proper motion in DE, 0.01" per year, sign and 3 digits
   48-51 V magnitude in hundredths (-146 is -1.46), zero-padded
   52    blank
   53-58 Hipparcos number
   59    blank
   60-63 HR number (Bright Star Catalogue), blank when none
   64-104 blank
   105-106 CR LF

The reader parses 25-51 with scanf "%Nf" conversions, which skip leading
blanks and then count the width, so a blank or short field would read on
into its neighbour. Every numeric field is therefore written to its full
width with zeros, and column 52 is kept blank to stop the magnitude.
Column 51 is never blank, which tells the reader the magnitude is in
hundredths.
"""

import math

RECORD_BYTES = 107
LINE_END = "\r\n"

_TENTHS_PER_DAY = 24 * 36000


def ra_tenths(ra_deg):
    """Right ascension as a count of tenths of seconds of time, 0..863999."""
    return round(ra_deg / 15.0 * 36000.0) % _TENTHS_PER_DAY


def de_arcsec(de_deg):
    """Declination as signed whole arcseconds."""
    return int(math.copysign(round(abs(de_deg) * 3600.0), de_deg))


def ra_field(tenths):
    h, rest = divmod(tenths, 36000)
    m, s10 = divmod(rest, 600)
    return f"{h:02d}{m:02d}{s10:03d}"


def de_field(arcsec):
    sign = "-" if arcsec < 0 else "+"
    d, rest = divmod(abs(arcsec), 3600)
    m, s = divmod(rest, 60)
    return f"{sign}{d:02d}{m:02d}{s:02d}"


class FieldOverflow(ValueError):
    pass


def _signed(value, width):
    """Sign and width-1 digits; out of range raises FieldOverflow."""
    limit = 10 ** (width - 1) - 1
    if abs(value) > limit:
        raise FieldOverflow(f"{value} does not fit {width} columns")
    return f"{value:+0{width}d}"


def pm_ra_thousandths(pm_ra_cosde_mas, de_deg):
    """Hipparcos mu_alpha* (mas/yr, already times cos DE) as 0.001 s of
    time per year along the RA circle."""
    cosde = math.cos(math.radians(de_deg))
    return round(pm_ra_cosde_mas / (15.0 * cosde))


def pm_de_hundredths(pm_de_mas):
    return round(pm_de_mas / 10.0)


def mag_hundredths(vmag):
    return round(vmag * 100.0)


def mag_field(hundredths):
    if not -999 <= hundredths <= 9999:
        raise FieldOverflow(f"magnitude {hundredths / 100} does not fit")
    return f"{hundredths:04d}"


def format_record(*, hd, sao, flamsteed, ra10, de_sec, pmra, pmde, mag100, hip, hr):
    """flamsteed: (number, constellation) or None; the numeric arguments are
    the integer field values (see the helpers above)."""
    number, con = flamsteed if flamsteed else ("", "")
    text = (
        f"{hd or '':>6} "
        f"{sao or '':>6}"
        f"{number:>3}"
        f"{'':6}"
        f"{con:3}"
        f"{ra_field(ra10)}"
        f"{de_field(de_sec)}"
        f"{_signed(pmra, 5)}"
        f"{_signed(pmde, 4)}"
        f"{mag_field(mag100)}"
        f" {hip:6d} {hr or '':>4}"
    )
    text = text.ljust(RECORD_BYTES - len(LINE_END)) + LINE_END
    if len(text) != RECORD_BYTES:
        raise FieldOverflow(f"record of {len(text)} bytes: {text!r}")
    return text
