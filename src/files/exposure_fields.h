#pragma once
// What the exposure-data and new-station dialogs decide, as functions over
// the texts of their fields: storing the texts in the exposure record,
// checking them when the dialog closes, and choosing the list entries to
// select. The dialogs gather the texts, call these and show the message.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/station_list.h"
#include "session/dialog_data.h"

// The message a dialog shows, with its own caption, when a check fails.
inline constexpr const char* kItemMissing = "Item missing or\nout of range";
inline constexpr const char* kExposureCaption = "Exposure Data";
inline constexpr const char* kStationCaption = "New station";
// Shown (caption "Exposure data") when the station list cannot be opened.
inline constexpr const char* kStationFileMissing = "Station file cannot be opened!";
inline constexpr const char* kNewStationEntry = "New station";

// The field that failed its check, by its control id; None when all passed.
enum class ExposureField {
    None = 0,
    Station = 151,  // empty: no station chosen
    Year = 154,
    Month = 155,
    Day = 156,
    Hour = 157,
    Minute = 158,
    Second = 159,
    RefHour = 160,
    RefMinute = 161,
    RefSecond = 162,
};

enum class StationField {
    None = 0,
    Name = 251,  // empty, "New station", or a name that would end the list
    LatDeg = 252,
    LatMin = 253,
    LatSec = 254,
    LonDeg = 255,
    LonMin = 256,
    LonSec = 257,
    Height = 258,
};

// The texts of the exposure dialog's fields as the user left them.
struct ExposureTexts {
    std::string station;  // the station combo box text
    std::string image, meteor;
    std::string year, month, day, hour, minute, second;
    std::string refhour, refminute, refsecond;  // ignored for a video
    std::string objective;
    std::string shutter;  // the shutter combo box text
    bool turner = true;   // "Turner" checked, else "Redsky"
};

// Stores the texts in the record, each cut to its field's limit. The station
// is kept while status is -16 (the detour to "New station") and whenever the
// combo box shows "New station", which is never a station's name; for a video
// the reference time becomes the exposure time.
void StoreExposureTexts(DialogData& d, const ExposureTexts& t, bool video);

// The first field of the record that is missing or out of range: an empty
// station, then the date and time fields.
ExposureField CheckExposureFields(const DialogData& d);

// TDataDialog::CanClose without the message: stores the texts, then lets a
// "New station" close pass unchecked; otherwise checks, and on success sets
// status to 0. None means the dialog may close; otherwise the dialog shows
// kItemMissing with kExposureCaption and stays open, the texts stored.
ExposureField CloseExposureDialog(DialogData& d, const ExposureTexts& t, bool video);

// The first field that is missing or out of range. The name must be there,
// must not be "New station" (the list's first entry) and must not begin with
// "End of file" (it would end the list when read back); the coordinates and
// the height must lie in their ranges.
StationField CheckStationFields(const StationData& s);

// TStationDialog::CanClose without the message, on a record whose texts the
// dialog has filled: on success sets accepted to 0.
StationField CloseStationDialog(StationData& s);

// Where both dialogs put their top-left corner, screen pixels: centred over
// the parent; a coordinate is 50 when the parent is less than 20 wider (or
// 100 taller) than the dialog.
struct DialogOrigin {
    int x = 0;
    int y = 0;
};
DialogOrigin CentreOverParent(int parentLeft, int parentTop, int parentWidth, int parentHeight, int width,
                              int height);

// The ten entries of the shutter list, the custom text second.
std::vector<std::string> ShutterEntries(const DialogData& d);

// The combo box entries: "New station" followed by the names of the list.
std::vector<std::string> StationEntries(const std::vector<std::string>& names);

// A combo box's entries and the one to select (-1: none).
struct ListChoice {
    std::vector<std::string> entries;
    int selected = -1;
};

// The station combo box: "New station", the names of the list (nothing when
// the list could not be read), and the entry showing the record's station.
// The station is matched exactly, trailing blanks ignored (the list pads its
// names to 18 characters), then without regard to case; never by a prefix,
// which would put another station's name into the record. A station the list
// does not hold is offered as an extra entry behind "New station", so that OK
// keeps it. An empty station selects "New station" when the list is missing,
// else nothing.
ListChoice ChooseStation(const std::optional<std::vector<std::string>>& names, std::string_view station);

// The shutter entry showing the record's shutter value, matched exactly
// (trailing blanks ignored). A value no entry shows (the session reader turns
// 20.00 or 60.000 into the "custom" choice) becomes the custom entry's text,
// so that OK keeps it; an empty value selects "0.0". Returns the index into
// ShutterEntries(d) afterwards.
int ChooseShutter(DialogData& d);

// The first entry that begins with prefix, ignoring letter case, as a list
// box's prefix search selects; -1 when none does or the prefix is empty.
int FindEntryStartingWith(const std::vector<std::string>& entries, std::string_view prefix);
