#pragma once
// The station list: a text file of station records, read for the names the
// exposure dialog offers, and extended at the top when a new station is
// entered.
//
//     STATION             EN       LATITUDE         LONGITUDE     HEIGHT
//
//   Darnholm               0    48.  30.   0.0    11.  15.   2.5   450.
//   End of file
//
// Only the names (columns 2..19, counted from 0, blank-padded to 18) are ever
// read back; coordinates and height are kept for the observer.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The new-station dialog's record. Texts are zero-terminated; the sizes
// include the terminator and are the field limits of the dialog.
struct StationData {
    char name[19] = "";
    char latdeg[4] = "";   // northern latitude, whole degrees, may be negative
    char latmin[3] = "";
    char latsec[5] = "";   // may carry a decimal point
    char londeg[5] = "";   // eastern longitude, whole degrees, may be negative
    char lonmin[3] = "";
    char lonsec[5] = "";
    char height[5] = "";   // metres
    std::int32_t accepted = -1;  // 0 once the dialog closed with a valid OK
};

inline constexpr const char* kStationHeading =
    "    STATION             EN       LATITUDE         LONGITUDE     HEIGHT\n";
// The name of the file the new list is built in, beside the list.
inline constexpr const char* kStationTempName = "tempstat.dat";

// One record line, newline included; the seconds are written as numbers
// (leading decimal digits and point of the text), the rest as typed.
std::string StationRecord(const StationData& s);

// The station names in file order, each the 18 characters of columns 2..19
// (shorter when the line is); reading stops at the end line ("End of file"
// in columns 2..12) or the end of the file. Nothing when the list cannot be
// opened.
std::optional<std::vector<std::string>> ReadStationNames(const std::filesystem::path& list);

// Puts the station at the top of the list. The new list is built in
// tempstat.dat in the list's directory and renamed over the list, so a failure
// at any point leaves the old list as it was; false then. A list that does not
// exist yet is created; one that exists but cannot be read is left alone.
bool AddStation(const std::filesystem::path& list, const StationData& s);
