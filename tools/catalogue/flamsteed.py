"""Flamsteed designations: which ones to trust, and the index velkarn.ndx.

The index is a fixed table of 2 908 six-byte entries, grouped by
constellation in the order below; entry (first + n - 1) of a group holds the
skycat.dat record number of Flamsteed star n, or 65535 when there is none.
The reader derives the same entry numbers from the same table, so the table
must never change independently of the program.
"""

from collections import defaultdict

# (abbreviation, first index entry); the last row only closes the last group.
CONSTELLATION_GROUPS = [
    ("And", 0), ("Aql", 66), ("Aqr", 137), ("Ari", 245), ("Aur", 311),
    ("Boo", 377), ("Cam", 431), ("Cap", 484), ("Cas", 535), ("Cen", 590),
    ("Cep", 595), ("Cet", 630), ("CMa", 727), ("CMi", 758), ("Cnc", 772),
    ("Com", 855), ("CrB", 898), ("Crt", 919), ("Crv", 949), ("CVn", 958),
    ("Cyg", 983), ("Del", 1064), ("Dra", 1082), ("Equ", 1158), ("Eri", 1168),
    ("Gem", 1237), ("Her", 1322), ("Hya", 1435), ("Lac", 1495), ("Leo", 1511),
    ("Lep", 1606), ("Lib", 1625), ("LMi", 1675), ("Lyn", 1726), ("Lyr", 1769),
    ("Mon", 1790), ("Oph", 1819), ("Ori", 1893), ("Peg", 1968), ("Per", 2057),
    ("PsA", 2116), ("Psc", 2140), ("Pup", 2253), ("Sco", 2275), ("Ser", 2310),
    ("Sex", 2374), ("Sge", 2415), ("Sgr", 2433), ("Tau", 2498), ("Tri", 2638),
    ("UMa", 2653), ("UMi", 2739), ("Vir", 2763), ("Vul", 2873), ("Xxx", 2908),
]

INDEX_ENTRIES = CONSTELLATION_GROUPS[-1][1]
NO_RECORD = 65535
ENTRY_BYTES = 6

# Canonical spelling by lower case, for sources that write "Cma" or "CMA".
_GROUP_FIRST = {con.lower(): (con, first, nxt - first)
                for (con, first), (_, nxt) in zip(CONSTELLATION_GROUPS, CONSTELLATION_GROUPS[1:])}


def group_of(con):
    """(canonical abbreviation, first entry, group size), or None."""
    return _GROUP_FIRST.get(con.lower())


def entry_number(number, con):
    """Index entry of Flamsteed star `number` in `con`, or None when the
    designation has no place in the index."""
    group = group_of(con)
    if group is None or not 1 <= number <= group[2]:
        return None
    return group[1] + number - 1


def canonical(designation):
    number, con = designation
    return number, group_of(con)[0]


def confirmed_designations(fab, starnames, bright):
    """Designations a catalogue can carry, as {(number, con): [hip, ...]}.

    fab: (hip, number, con, component) from name.fab;
    starnames: (hip, number, con) from d3-celestial;
    bright: (hip, number, con) from the bright-star list, already matched to
    HIP numbers.
    A designation counts when the bright-star list gives it, or when both
    other sources give it to the same star. Numbers beyond a group's size and
    constellations without a group are dropped: the index cannot hold them.
    """
    def keyed(entries):
        out = set()
        for hip, number, con, *_ in entries:
            if entry_number(number, con) is not None:
                out.add((hip, canonical((number, con))))
        return out

    fab_set, names_set, bright_set = keyed(fab), keyed(starnames), keyed(bright)
    accepted = bright_set | (fab_set & names_set)
    by_designation = defaultdict(list)
    for hip, designation in sorted(accepted):
        by_designation[designation].append(hip)
    return by_designation, bright_set


def assign_designations(by_designation, bright_set, stars):
    """One star per designation, and one record name per star.

    Where components share a designation (59 And A and B), the one the
    bright-star list names wins, then the brighter. A star with two
    designations (Flamsteed numbered a few stars in two constellations)
    keeps both in the index; its record shows the bright-star list's one, or
    else the first in index order.
    Returns ({designation: hip}, {hip: designation shown in the record}).
    """
    chosen = {}
    for designation, hips in by_designation.items():
        present = [h for h in hips if h in stars]
        if not present:
            continue
        present.sort(key=lambda h: ((h, designation) not in bright_set, stars[h].vmag, h))
        chosen[designation] = present[0]

    shown = {}
    for designation in sorted(chosen, key=lambda d: entry_number(*d)):
        hip = chosen[designation]
        if hip not in shown or ((hip, designation) in bright_set
                                and (hip, shown[hip]) not in bright_set):
            shown[hip] = designation
    return chosen, shown


def index_bytes(chosen, record_of_hip):
    """The whole velkarn.ndx: one "%5u\\n" entry per designation slot."""
    entries = [NO_RECORD] * INDEX_ENTRIES
    for designation, hip in chosen.items():
        entries[entry_number(*designation)] = record_of_hip[hip]
    text = "".join(f"{record:5d}\n" for record in entries)
    assert len(text) == INDEX_ENTRIES * ENTRY_BYTES
    return text.encode("ascii")
