// Search by position: a window in right ascension of half-width w hours
// around the centre, a band in declination (edges excluded), and the limiting
// magnitude. Stars nearer than 4 degrees to a pole come from the polar record
// list; all others from a scan of the RA-sorted file that starts at the
// window's beginning, found by binary search, and wraps from the last record
// to record 0.

#include <cmath>
#include <numbers>

#include "catalogue/polar_records.h"
#include "catalogue/record_file.h"
#include "catalogue/sky_cat.h"

namespace {

// Limit of the polar cap, degrees: the scan covers |DE| < 86.
constexpr float kCapEdge = 86;

struct Box {
    float ra;     // hours
    float w;      // half-width in RA, hours
    float lower;  // declination band, degrees, edges excluded
    float upper;
    float limit;  // faintest magnitude accepted
};

// (r / 15) / cos(de), at most 12 hours.
float WindowHalfWidth(float r, float de) {
    const float w = (r / 15) / std::cos(de * std::numbers::pi / 180);
    return w > 12 ? 12 : w;
}

bool InWindow(const Box& b, float ra) {
    const float d = std::fabs(ra - b.ra);
    return d <= b.w || d >= 24 - b.w;  // the window may wrap through 0 h
}

// Declination band and magnitude of a record already inside the window.
bool InBandAndLimit(const Box& b, const char* record) {
    const float de = SkyCat::fCnvCatDE(record + 32);
    return b.lower < de && de < b.upper && SkyCat::fCnvCatMag(record + 48) <= b.limit;
}

}  // namespace

int SkyCat::FillCat() {
    // Written so that a NaN centre is refused too.
    if (!(de >= -90 && de <= 90 && ra >= 0 && ra <= 24)) return SkyCatStatus::NoStars;
    RecordFile cat(files_.catalogue_dir / "skycat.dat", kRecordLength);
    if (!cat.IsOpen() || cat.Count() == 0) return SkyCatStatus::FileError;
    const long n = cat.Count();
    char rec[kRecordLength + 1];
    auto read = [&](long i) { return cat.Read(i, rec, &reads) == kRecordLength; };
    // A file that fails part-way leaves no partial result behind.
    auto fail = [&] {
        candidates.clear();
        count = 0;
        return SkyCatStatus::FileError;
    };

    const float r = radius;
    Box box{ra, (de > -90 && de < 90) ? WindowHalfWidth(r, de) : 12.0f, de - r, de + r, limit_};
    const float p = kCapEdge - r;
    if (de > p || de < -p) {
        const auto polar = PolarRecords(files_.catalogue_dir, n);
        if (!polar) return fail();
        for (const long i : *polar) {
            if (!read(i)) return fail();
            if (InWindow(box, fCnvCatRA(rec + 25)) && InBandAndLimit(box, rec)) AddStar(rec);
        }
    }

    const float q = kCapEdge + r;
    if (!(de >= q || de <= -q)) {
        if (de > p) {
            const float h = (q - de) / 2;
            box.upper = kCapEdge;
            box.w = WindowHalfWidth(r, de - r + h);
        } else if (de < -p) {
            const float h = (q + de) / 2;
            box.lower = -kCapEdge;
            box.w = WindowHalfWidth(r, de + r - h);
        }
        float start = ra - box.w;
        if (start < 0) start += 24;

        // First record whose RA is not below the window's start; record 0
        // when every record lies below it.
        long lo = 0;
        long hi = n;
        while (lo < hi) {
            const long mid = lo + (hi - lo) / 2;
            if (!read(mid)) return fail();
            if (fCnvCatRA(rec + 25) < start) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        long i = lo == n ? 0 : lo;
        // Each record is visited at most once, even when the window spans
        // the whole file.
        for (long visited = 0; visited < n; ++visited, i = (i + 1) % n) {
            if (!read(i)) return fail();
            if (!InWindow(box, fCnvCatRA(rec + 25))) break;
            if (InBandAndLimit(box, rec)) AddStar(rec);
        }
    }
    return count > 0 ? SkyCatStatus::Found : SkyCatStatus::NoStars;
}
