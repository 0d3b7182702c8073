#pragma once
// The sky catalogue: skycat.dat, fixed 107-byte text records sorted by right
// ascension, and its Flamsteed index velkarn.ndx, 6-byte entries holding a
// skycat.dat record number. A SkyCat runs one search in its constructor and
// then holds the candidates and a status. Both files are opened, read record
// by record and closed within the search.
//
// Record columns (from 0): 0-5 HD number; 7-12 SAO number (blank when none);
// 13-15 Flamsteed number, 16 its suffix; 22-24 constellation; 25-31 RA as
// HHMMSSs; 32 DE sign ("-" south); 33-38 DE as DDMMSS; 39-43 proper motion
// in RA, 0.001 s/yr; 44-47 proper motion in DE, 0.01"/yr; 48-51 V magnitude
// (hundredths when column 51 is not blank, else tenths).
//
// Right ascension is in hours (0..24), declination and radius in degrees,
// epoch and equinox 2000.0.

#include <filesystem>
#include <vector>

#include "session/records.h"

// Where a search finds its files.
struct CatalogueFiles {
    std::filesystem::path catalogue_dir;  // skycat.dat and its polar list skycat.pol
    std::filesystem::path index_dir;      // velkarn.ndx: the program's data directory
};

// Search results.
namespace SkyCatStatus {
constexpr int Found = 0;
constexpr int FileError = -1;  // a file cannot be opened or read
constexpr int BadName = -2;    // invalid Flamsteed name
constexpr int NoStars = -3;    // position out of range, or no star accepted
}  // namespace SkyCatStatus

// The message box that reports a failed search (status -1, -2 or -3).
struct SkyCatMessage {
    const char* text;
    const char* caption;
};
SkyCatMessage SkyCatStatusMessage(int status);

class SkyCat {
public:
    static constexpr int kRecordLength = 107;
    static constexpr int kIndexEntryLength = 6;
    // The record count of the catalogue whose polar records are built in.
    static constexpr long kBuiltInCatalogueCount = 50071;

    // Search by Flamsteed name, e.g. "58 Ori", "58Ori", " 58 ori"; at most
    // the first 9 characters are looked at (the dialog's field limit). The
    // radius is kept, not used.
    SkyCat(const CatalogueFiles& files, const char* name, float radius);
    // Search by position: every star inside the box around (ra, de) whose
    // magnitude is at most limit.
    SkyCat(const CatalogueFiles& files, float ra, float de, float radius, float limit);

    // The two searches; each returns the status.
    int AddFlamsteed(const char* name);
    int FillCat();

    // Converts one raw record (NUL-terminated) into a CatStar and appends it.
    void AddStar(const char* record);

    // The field conversions; each takes the field's first column (25, 32
    // and 48 of a NUL-terminated record).
    static float fCnvCatRA(const char* p);   // hours
    static float fCnvCatDE(const char* p);   // degrees
    static float fCnvCatMag(const char* p);  // magnitude

    float ra = 0.0f;      // centre of the search; after a search by name, the star's RA
    float de = 0.0f;      // the same for declination
    float radius = 0.0f;  // half-height of the search box in declination
    std::vector<CatStar> candidates;
    int count = 0;        // candidates.size()
    int status = SkyCatStatus::Found;
    int reads = 0;        // fixed-length reads of either file during the search

private:
    CatalogueFiles files_;
    float limit_ = 8.0f;
};
