// Search by Flamsteed name through the index velkarn.ndx. The index holds one
// entry per possible Flamsteed number, grouped by constellation in the order
// of the table below; inside a group, entry k belongs to number k + 1.

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>

#include "catalogue/record_file.h"
#include "catalogue/sky_cat.h"

namespace {

struct ConstellationRow {
    char abbreviation[4];
    int first;  // first index entry of the group
};

// The last row only ends the last group and never matches.
constexpr ConstellationRow kConstellations[] = {
    {"And", 0},    {"Aql", 66},   {"Aqr", 137},  {"Ari", 245},  {"Aur", 311},  {"Boo", 377},
    {"Cam", 431},  {"Cap", 484},  {"Cas", 535},  {"Cen", 590},  {"Cep", 595},  {"Cet", 630},
    {"CMa", 727},  {"CMi", 758},  {"Cnc", 772},  {"Com", 855},  {"CrB", 898},  {"Crt", 919},
    {"Crv", 949},  {"CVn", 958},  {"Cyg", 983},  {"Del", 1064}, {"Dra", 1082}, {"Equ", 1158},
    {"Eri", 1168}, {"Gem", 1237}, {"Her", 1322}, {"Hya", 1435}, {"Lac", 1495}, {"Leo", 1511},
    {"Lep", 1606}, {"Lib", 1625}, {"LMi", 1675}, {"Lyn", 1726}, {"Lyr", 1769}, {"Mon", 1790},
    {"Oph", 1819}, {"Ori", 1893}, {"Peg", 1968}, {"Per", 2057}, {"PsA", 2116}, {"Psc", 2140},
    {"Pup", 2253}, {"Sco", 2275}, {"Ser", 2310}, {"Sex", 2374}, {"Sge", 2415}, {"Sgr", 2433},
    {"Tau", 2498}, {"Tri", 2638}, {"UMa", 2653}, {"UMi", 2739}, {"Vir", 2763}, {"Vul", 2873},
    {"Xxx", 2908}};
constexpr int kGroups = sizeof kConstellations / sizeof kConstellations[0] - 1;

// Index of the group whose abbreviation matches case-insensitively, or -1.
int FindConstellation(const std::string& abbreviation) {
    for (int g = 0; g < kGroups; ++g) {
        if (abbreviation.size() == 3 && strncasecmp(abbreviation.c_str(), kConstellations[g].abbreviation, 3) == 0)
            return g;
    }
    return -1;
}

constexpr unsigned kNoRecord = 65535;

}  // namespace

int SkyCat::AddFlamsteed(const char* typed) {
    using namespace SkyCatStatus;
    const std::string text(typed, strnlen(typed, 9));
    auto is_digit = [&](std::size_t i) { return std::isdigit(static_cast<unsigned char>(text[i])) != 0; };
    auto is_letter = [&](std::size_t i) { return std::isalpha(static_cast<unsigned char>(text[i])) != 0; };

    std::size_t digit = 0;
    while (digit < 5 && digit < text.size() && !is_digit(digit)) ++digit;
    if (digit >= 5 || digit >= text.size()) return BadName;
    // As scanf's "%i": leading blanks skipped, a leading 0 reads octal and 0x
    // hexadecimal. Nine characters cannot overflow an int.
    int number = 0;
    if (std::sscanf(text.c_str(), "%i", &number) != 1) return BadName;
    std::size_t letter = digit;
    while (letter < 7 && letter < text.size() && !is_letter(letter)) ++letter;
    if (letter >= 7 || letter >= text.size()) return BadName;

    const int g = FindConstellation(text.substr(letter, 3));
    if (g < 0) return BadName;
    const long entry = static_cast<long>(kConstellations[g].first) + number - 1;
    if (number < 1 || entry >= kConstellations[g + 1].first) return BadName;

    unsigned record = 0;
    {
        RecordFile index(files_.index_dir / "velkarn.ndx", kIndexEntryLength);
        if (!index.IsOpen()) return FileError;
        char buf[kIndexEntryLength + 1];
        // The last entry may lack its trailing padding.
        if (index.Read(entry, buf, &reads) == 0 || std::sscanf(buf, "%u", &record) != 1) return FileError;
    }
    if (record == kNoRecord) return BadName;

    RecordFile cat(files_.catalogue_dir / "skycat.dat", kRecordLength);
    if (!cat.IsOpen()) return FileError;
    char rec[kRecordLength + 1];
    if (static_cast<long>(record) >= cat.Count() || cat.Read(record, rec, &reads) != kRecordLength)
        return FileError;

    ra = fCnvCatRA(rec + 25);
    de = fCnvCatDE(rec + 32);
    AddStar(rec);
    std::snprintf(candidates.back().name, sizeof candidates.back().name, "%3i %s", number,
                  kConstellations[g].abbreviation);
    return Found;
}
