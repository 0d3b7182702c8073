#pragma once
// The program-wide options, mirrored in the settings file velkarn.ini.
// Zero until the main window reads the file at start (GetIniValues,
// files/settings_file.h), which sets every field.

#include <cstddef>
#include <string>
#include <string_view>

struct Options {
    char stationfile[260] = "";  // full path of the station list
    char skycatdir[260] = "";    // directory of the sky catalogue and its index
    char image[260] = "";        // last image directory with a file pattern
    char outputdir[260] = "";    // directory of the last session file
    char station[19] = "";       // default station, at most 18 characters
    int pcdres = 0;              // Photo CD resolution step, 2..5
    int randomness = 0;          // replay randomness, pixels, 0..10
    float radius = 0.0f;         // star search radius, degrees, 0.1..5.0
    float limit = 0.0f;          // star limiting magnitude, 6.0..8.0
    unsigned int markcenter = 0; // nonzero: mark the plate centre
    // Nonzero: a click on a star in the star and replay dialogs measures the
    // star's centroid. Off at every start: not kept in the settings file,
    // whose lines other programs read.
    unsigned int snapcentre = 0;
    // Nonzero: the image view draws each star's O-C as an arrow. Off at
    // every start.
    unsigned int showresiduals = 0;
    // Nonzero: the image view rings the catalogue stars the plate solution
    // puts on the image. Kept in the settings file (CatalogueOverlay=).
    unsigned int catoverlay = 0;
    // The plate solver's time limit of Identify stars automatically, seconds.
    float identifytime = 30.0f;
};

extern Options opt;

// The longest path a path field of Options holds. A longer path is never cut
// (a cut path names another file or directory): where paths enter the
// options (the settings file, the file dialogs, the command line) a longer
// one is refused, the field keeps its old or default value, and the user is
// told with OverlongPathText.
inline constexpr std::size_t kMaxOptionPath = sizeof(Options::stationfile) - 1;
bool FitsOptionPath(std::string_view path);

// "The path\n<path>\nis longer than 259 characters.\n<consequence>"; a long
// path is shown by its start and its end.
std::string OverlongPathText(std::string_view path, std::string_view consequence);
