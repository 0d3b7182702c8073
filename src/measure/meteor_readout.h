#pragma once
// The meteor dialog's read-out of a click: the plate position and the sky
// position of the point, as two right-aligned columns of text, the values
// and their captions, lines separated by "\r\n".
//
// With the exposure data entered, the right ascension is brought to the
// meteor's time (the plate solution gives it at the reference time) and
// shown plainly; without them it is the reference time's and shown in
// parentheses, "(RA =" ... ")".
#include <string>

class SessionData;

struct MeteorReadout {
    std::string values;
    std::string captions;
    bool operator==(const MeteorReadout&) const = default;
};

// The texts for a point at (x, y) mm whose sky position is (ra, de),
// hours and degrees, already at the meteor's time when at_meteor_time.
MeteorReadout FormatMeteorReadout(float x, float y, float ra, float de, bool at_meteor_time);

// The read-out of a click at (x, y) mm from the session's plate solution.
// Raises NumericalError when the visible stars cannot be fitted; the
// session is left as it was either way.
MeteorReadout MeteorReadoutFor(SessionData& session, float x, float y);
