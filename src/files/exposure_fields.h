#pragma once
// What the exposure-data and new-station dialogs decide, as functions over
// the texts of their fields: storing the texts in the exposure record,
// checking them when the dialog closes, and choosing the list entries to
// select. The dialogs gather the texts, call these and show the message.

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
// is kept while status is -16 (the detour to "New station"); for a video the
// reference time becomes the exposure time.
void StoreExposureTexts(DialogData& d, const ExposureTexts& t, bool video);

// The first date or time field of the record that is missing or out of range.
ExposureField CheckExposureFields(const DialogData& d);

// TDataDialog::CanClose without the message: stores the texts, then lets a
// "New station" close pass unchecked; otherwise checks, and on success sets
// status to 0. None means the dialog may close; otherwise the dialog shows
// kItemMissing with kExposureCaption and stays open, the texts stored.
ExposureField CloseExposureDialog(DialogData& d, const ExposureTexts& t, bool video);

// The first coordinate or height field that is missing or out of range. The
// name is not checked.
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

// The first entry that begins with prefix, ignoring letter case, as a list
// box's prefix search selects; -1 when none does or the prefix is empty.
int FindEntryStartingWith(const std::vector<std::string>& entries, std::string_view prefix);
