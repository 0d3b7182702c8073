#pragma once
#include <cstdint>

// The exposure record. All texts are zero-terminated; the array sizes include
// the terminator and are the limits of every writer.
struct DialogData {
    char station[19] = "";
    char image[9] = "";
    char meteor[9] = "";
    char year[5] = "";
    char month[3] = "";
    char day[3] = "";
    char hour[3] = "";        // meteor time
    char minute[3] = "";
    char second[3] = "";
    char refhour[3] = "";     // reference time
    char refminute[3] = "";
    char refsecond[3] = "";
    char objective[57] = "";
    char shutter[11] = "0.0";  // breaks (video: frames) per second
    char customshutter[11] = "custom";
    std::int32_t astrometry = 1;  // 1 Turner, 0 Redsky
    std::int32_t status = -8;     // 0 entered, -8 never entered, -16 new station asked for
};
