#include "files/station_list.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <system_error>

#include "files/atomic_file.h"
#include "files/numeric_text.h"
#include "platform/c_locale.h"

namespace {

constexpr std::size_t kNameColumn = 2;
constexpr std::size_t kNameLength = 18;

bool IsEndLine(const std::string& line) {
    return line.size() >= kNameColumn && line.compare(kNameColumn, 11, "End of file") == 0;
}

void StripLineEnd(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
}

// Moves past the heading and the empty line under it.
void SkipHeading(std::istream& in) {
    std::string line;
    for (int skipped = 0; skipped < 2 && std::getline(in, line); ++skipped) {
    }
}

// Copies the records of an existing list (behind its heading and empty line)
// up to and including the end line. False on a read error.
bool CopyRecords(std::ifstream& in, std::FILE* out) {
    SkipHeading(in);
    std::string line;
    while (std::getline(in, line)) {
        line.push_back('\n');
        // Byte for byte: a stray NUL must not cut the line and its end.
        if (std::fwrite(line.data(), 1, line.size(), out) != line.size()) return false;
        if (IsEndLine(line)) break;
    }
    return !in.bad();
}

bool FinishFile(std::FILE* f) {
    bool good = std::ferror(f) == 0;
    good = std::fflush(f) == 0 && good;
    good = fsync(fileno(f)) == 0 && good;
    return std::fclose(f) == 0 && good;
}

std::filesystem::path TempPathBeside(const std::filesystem::path& list) {
    std::filesystem::path temp = list.parent_path() / kStationTempName;
    // A list that is itself called tempstat.dat must not be emptied by
    // building its successor in the same file.
    if (list.filename() == kStationTempName) temp += ".new";
    return temp;
}

}  // namespace

std::string StationRecord(const StationData& s) {
    CNumericLocale c_numbers;
    char line[160];
    std::snprintf(line, sizeof line, "  %-18s     0%6s.%4s.%6.1f%6s.%4s.%6.1f%6s.\n", s.name, s.latdeg,
                  s.latmin, LeadingDecimal(s.latsec).value_or(0.0), s.londeg, s.lonmin,
                  LeadingDecimal(s.lonsec).value_or(0.0), s.height);
    return line;
}

std::optional<std::vector<std::string>> ReadStationNames(const std::filesystem::path& list) {
    std::ifstream in(list, std::ios::binary);
    if (!in) return std::nullopt;
    SkipHeading(in);
    std::vector<std::string> names;
    std::string line;
    while (std::getline(in, line)) {
        StripLineEnd(line);
        if (IsEndLine(line)) break;
        if (line.size() <= kNameColumn) continue;  // no name on this line
        names.push_back(line.substr(kNameColumn, kNameLength));
    }
    return names;
}

bool AddStation(const std::filesystem::path& list, const StationData& s) {
    std::error_code ec;
    const bool exists = std::filesystem::exists(list, ec);
    if (ec) return false;
    std::ifstream old;
    if (exists) {
        old.open(list, std::ios::binary);
        if (!old) return false;  // would otherwise replace it with one station
    }
    const std::filesystem::path temp = TempPathBeside(list);
    std::FILE* out = std::fopen(temp.c_str(), "w");
    if (!out) return false;
    std::fputs(kStationHeading, out);
    std::fputs("\n", out);
    std::fputs(StationRecord(s).c_str(), out);
    bool good = !exists || CopyRecords(old, out);
    old.close();
    if (exists) std::filesystem::permissions(temp, std::filesystem::status(list, ec).permissions(), ec);
    good = FinishFile(out) && good;
    if (good) good = RenameDurably(temp, list);
    if (!good) std::remove(temp.c_str());
    return good;
}
