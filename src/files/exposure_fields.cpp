#include "files/exposure_fields.h"

#include <cctype>

#include "files/numeric_text.h"
#include "session/fixed_text.h"

namespace {

constexpr int kNewStationStatus = -16;

// An empty date field counts as a value no range admits, except the year,
// which counts as 0 (equally refused).
constexpr unsigned long kEmptyField = 100;
constexpr long kEmptyDegrees = 1000;
constexpr double kEmptySeconds = 1000.0;
constexpr long kEmptyHeight = 10000;

bool InRange(const char* text, unsigned long empty, unsigned long low, unsigned long high) {
    const unsigned long v = LeadingUnsigned(text).value_or(empty);
    return v >= low && v <= high;
}

// Minutes and height are compared as unsigned, so a negative value is refused
// as too large.
bool UnsignedBelow(const char* text, long empty, unsigned long limit) {
    const long v = LeadingInteger(text).value_or(empty);
    return static_cast<unsigned long>(v) < limit;
}

bool DegreesWithin(const char* text, long bound) {
    const long v = LeadingInteger(text).value_or(kEmptyDegrees);
    return -bound < v && v < bound;
}

bool SecondsValid(const char* text) { return LeadingDecimal(text).value_or(kEmptySeconds) < 60.0; }

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// No station chosen: nothing, or the entry that leads to a new station.
bool NoStation(std::string_view station) {
    const std::string_view s = TrimRight(station);
    return s.empty() || s == kNewStationEntry;
}

// The station list's reader stops at a line whose name columns begin so.
bool EndsTheList(std::string_view name) { return name.substr(0, 11) == "End of file"; }

int FindTrimmed(const std::vector<std::string>& entries, std::size_t from, std::string_view want, bool anyCase) {
    for (std::size_t i = from; i < entries.size(); ++i) {
        const std::string_view e = TrimRight(entries[i]);
        if (anyCase ? EqualIgnoringCase(e, want) : e == want) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

void StoreExposureTexts(DialogData& d, const ExposureTexts& t, bool video) {
    if (d.status != kNewStationStatus && t.station != kNewStationEntry) copy_text(d.station, t.station);
    copy_text(d.image, t.image);
    copy_text(d.meteor, t.meteor);
    copy_text(d.year, t.year);
    copy_text(d.month, t.month);
    copy_text(d.day, t.day);
    copy_text(d.hour, t.hour);
    copy_text(d.minute, t.minute);
    copy_text(d.second, t.second);
    if (video) {
        copy_text(d.refhour, d.hour);
        copy_text(d.refminute, d.minute);
        copy_text(d.refsecond, d.second);
    } else {
        copy_text(d.refhour, t.refhour);
        copy_text(d.refminute, t.refminute);
        copy_text(d.refsecond, t.refsecond);
    }
    copy_text(d.objective, t.objective);
    copy_text(d.shutter, t.shutter);
    d.astrometry = t.turner ? 1 : 0;
}

ExposureField CheckExposureFields(const DialogData& d) {
    if (NoStation(d.station)) return ExposureField::Station;
    if (!InRange(d.year, 0, 1900, 2100)) return ExposureField::Year;
    if (!InRange(d.month, kEmptyField, 1, 12)) return ExposureField::Month;
    if (!InRange(d.day, kEmptyField, 1, 31)) return ExposureField::Day;
    if (!InRange(d.hour, kEmptyField, 0, 23)) return ExposureField::Hour;
    if (!InRange(d.minute, kEmptyField, 0, 59)) return ExposureField::Minute;
    if (!InRange(d.second, kEmptyField, 0, 59)) return ExposureField::Second;
    if (!InRange(d.refhour, kEmptyField, 0, 23)) return ExposureField::RefHour;
    if (!InRange(d.refminute, kEmptyField, 0, 59)) return ExposureField::RefMinute;
    if (!InRange(d.refsecond, kEmptyField, 0, 59)) return ExposureField::RefSecond;
    return ExposureField::None;
}

ExposureField CloseExposureDialog(DialogData& d, const ExposureTexts& t, bool video) {
    StoreExposureTexts(d, t, video);
    if (d.status == kNewStationStatus) return ExposureField::None;
    const ExposureField bad = CheckExposureFields(d);
    if (bad == ExposureField::None) d.status = 0;
    return bad;
}

StationField CheckStationFields(const StationData& s) {
    if (NoStation(s.name) || EndsTheList(s.name)) return StationField::Name;
    if (!DegreesWithin(s.latdeg, 90)) return StationField::LatDeg;
    if (!UnsignedBelow(s.latmin, kEmptyDegrees, 60)) return StationField::LatMin;
    if (!SecondsValid(s.latsec)) return StationField::LatSec;
    if (!DegreesWithin(s.londeg, 360)) return StationField::LonDeg;
    if (!UnsignedBelow(s.lonmin, kEmptyDegrees, 60)) return StationField::LonMin;
    if (!SecondsValid(s.lonsec)) return StationField::LonSec;
    if (!UnsignedBelow(s.height, kEmptyHeight, 10000)) return StationField::Height;
    return StationField::None;
}

StationField CloseStationDialog(StationData& s) {
    const StationField bad = CheckStationFields(s);
    if (bad == StationField::None) s.accepted = 0;
    return bad;
}

DialogOrigin CentreOverParent(int parentLeft, int parentTop, int parentWidth, int parentHeight, int width,
                              int height) {
    DialogOrigin o;
    o.x = parentWidth - width < 20 ? 50 : parentLeft + (parentWidth - width) / 2;
    o.y = parentHeight - height < 100 ? 50 : parentTop + (parentHeight - height) / 2;
    return o;
}

std::vector<std::string> ShutterEntries(const DialogData& d) {
    return {"0.0   ", d.customshutter, "8.333 ", "10.000", "16.667",
            "25.000", "30.000",        "50.000", "75.000", "100.00"};
}

std::vector<std::string> StationEntries(const std::vector<std::string>& names) {
    std::vector<std::string> entries{kNewStationEntry};
    entries.insert(entries.end(), names.begin(), names.end());
    return entries;
}

int FindEntryStartingWith(const std::vector<std::string>& entries, std::string_view prefix) {
    if (prefix.empty()) return -1;
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& e = entries[i];
        if (e.size() < prefix.size()) continue;
        bool match = true;
        for (std::size_t k = 0; k < prefix.size() && match; ++k) match = lower(e[k]) == lower(prefix[k]);
        if (match) return static_cast<int>(i);
    }
    return -1;
}

ListChoice ChooseStation(const std::optional<std::vector<std::string>>& names, std::string_view station) {
    ListChoice c;
    c.entries = StationEntries(names.value_or(std::vector<std::string>{}));
    if (NoStation(station)) {
        c.selected = names ? -1 : 0;
        return c;
    }
    const std::string_view want = TrimRight(station);
    c.selected = FindTrimmed(c.entries, 1, want, false);
    if (c.selected < 0) c.selected = FindTrimmed(c.entries, 1, want, true);
    if (c.selected < 0) {
        c.entries.insert(c.entries.begin() + 1, std::string(station));
        c.selected = 1;
    }
    return c;
}

int ChooseShutter(DialogData& d) {
    const std::string_view want = TrimRight(d.shutter);
    if (want.empty()) return 0;
    const int found = FindTrimmed(ShutterEntries(d), 0, want, false);
    if (found >= 0) return found;
    copy_text(d.customshutter, d.shutter);
    return 1;
}
