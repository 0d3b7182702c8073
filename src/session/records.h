#pragma once
// The measurement records of a session.
//
// Positions are millimetres of a nominal image plane with 0.012 mm per pixel:
// x = column * 0.012 from the left edge, y = (height - 1 - row) * 0.012 from
// the bottom row, growing upward. Right ascension is in hours, declination in
// degrees.

#include <string>
#include <vector>

// One star of the sky catalogue.
struct CatStar {
    char name[10] = "";  // at most 9 characters
    float mag = 0.0f;    // visual magnitude
    float ra = 0.0f;     // hours, epoch and equinox 2000.0
    float pmra = 0.0f;   // seconds of time per year
    float raobs = 0.0f;  // hours, at the date of observation
    float de = 0.0f;     // degrees, epoch and equinox 2000.0
    float pmde = 0.0f;   // arcseconds per year
    float deobs = 0.0f;  // degrees, at the date of observation

    // The full-precision row of the analysis view and the star dialog,
    // fields separated by tabs: name, magnitude, RA "h m s.s", DE "d m s",
    // from the catalogue position (not the observation-date one).
    std::string MakeListBoxText() const;
    // The rounded row of the candidate list: RA "h m.m", DE "d m".
    std::string MakeListBoxShortText() const;
};

// A measured reference star: a catalogue star with its measurements.
// x and y hold nrep + 1 measurements each.
struct Star : CatStar {
    std::vector<float> x;
    std::vector<float> y;
    int nrep = -1;   // index of the last measurement; -1 while none is held
    int hidden = 0;  // 1 when hidden from the reduction

    Star() = default;
    // A star measured once at (mx, my).
    Star(const CatStar& cat, float mx, float my) : CatStar(cat), x{mx}, y{my}, nrep(0) {}
};

// One measured point of the meteor trail.
struct Meteor {
    std::vector<float> x;
    std::vector<float> y;
    int nrep = -1;
    // Video: the frame the point was measured on. Still image: the number of
    // points the session held when this one was measured.
    int frame = 0;
    char label[16] = "";  // "Maximum" marks the brightest point

    Meteor() = default;
    Meteor(float mx, float my, int frame_number) : x{mx}, y{my}, nrep(0), frame(frame_number) {}
};

// The marker last picked with the right mouse button: 0 .. nstar-1 a star,
// nstar .. nstar+nmet-1 a meteor point, -1 nothing.
struct SelectedStar {
    static int iselect;
};
