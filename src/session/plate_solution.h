#pragma once
// The plate solution of a session as a value: the constants the reduction
// fits to the visible stars, with the projection both ways. The reverse way
// (sky to plate) is what the image view needs to show where a catalogue star
// or a star's catalogue position falls; the reduction itself only goes from
// plate to sky.

#include "astro/solver.h"

class SessionData;

struct PlateSolution {
    bool valid = false;  // 3 or more visible stars that fix the constants
    int order = 1;
    Matrix pc;           // rows 1..n, column 1 xi, column 2 eta (as PlateConstants)
    float cen[3] = {0, 0, 0};
    float south[3] = {0, 0, 0};
    float west[3] = {0, 0, 0};
    float x0 = 0.0f;     // origin of the plate coordinates, mm
    float y0 = 0.0f;
};

// The constants PlateConstants fits, taken from a copy: the session, its
// centre and origin stay as they are. Invalid with fewer than 3 visible
// stars, or when they do not fix the constants (on one line).
PlateSolution SolvePlate(const SessionData& session);

// Sky position (hours, degrees) of an absolute plate position (mm).
void PlateToSky(const PlateSolution& plate, double x, double y, double* ra, double* de);

// Absolute plate position (mm) of a sky position (hours, degrees): the
// gnomonic projection about the centre, then the plate polynomial solved for
// X, Y (exactly at order 1; by Newton's method from the linear solution at
// orders 2 and 3). False when the direction lies 80 degrees or more from the
// centre, or the iteration does not settle.
bool SkyToPlate(const PlateSolution& plate, double ra, double de, double* x, double* y);
