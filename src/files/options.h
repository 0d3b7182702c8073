#pragma once
// The program-wide options, mirrored in the settings file velkarn.ini.
// Zero until the main window reads the file at start (GetIniValues,
// files/settings_file.h), which sets every field.

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
};

extern Options opt;
