#pragma once
// Shared fixtures of the session file, log and reduce tests: the Darnholm
// example session and its file text, saved and read in a scratch directory.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "files/exposure_fields.h"
#include "platform/scripted.h"
#include "session/fixed_text.h"
#include "session/session_data.h"
#include "support/scratch_dir.h"

namespace testing_support {

// Save into the directory (its log beside it) and Retrieve, with message
// boxes that answer no question.
inline int SaveIn(SessionData& s, const ScratchDir& dir, const std::string& name) {
    ScriptedMessageBox mb;
    return s.Save(dir.file(name).c_str(), dir.path().c_str(), mb);
}
inline int RetrieveFrom(SessionData& s, const std::string& path) {
    ScriptedMessageBox mb;
    return s.Retrieve(path.c_str(), mb, false);
}

inline Star MakeStar(const char* name, float mag, float ra, float pmra, float de, float pmde,
                     float x, float y) {
    CatStar c{"", mag, ra, pmra, ra, de, pmde, de};
    copy_text(c.name, name);
    return Star(c, x, y);
}

inline void AddRecord(SessionData& s, const Star& st) {
    s.stars.push_back(st);
    ++s.nstar;
}

inline void AddRecord(SessionData& s, const Meteor& m) {
    s.meteors.push_back(m);
    ++s.nmet;
}

// A star or meteor point measured once more.
template <class Record>
void Remeasure(Record& r, float x, float y) {
    r.x.push_back(x);
    r.y.push_back(y);
    ++r.nrep;
}

inline void SetExampleExposure() {
    DialogData& d = SessionData::dlgdat;
    d = DialogData{};
    StoreExposureTexts(d, {"Darnholm", "img01", "m01", "1999", "8", "12", "23", "15", "42", "23", "10", "00",
                           "50 mm f/1.8", "25.000"}, false);
    d.status = 0;
}

// Three stars, two meteor points, every record measured twice; the plate
// centre at 5h45m, +8 degrees, origin (11, 13) mm.
inline void FillExampleSession(SessionData& s) {
    SetExampleExposure();
    Star a = MakeStar("SAO112740", 2.5f, 5.5f, 0.001f, 7.5f, -0.01f, 10.0f, 12.0f);
    Remeasure(a, 10.002f, 11.998f);
    Star b = MakeStar("SAO113389", 3.25f, 5.75f, 0.0f, 9.0f, 0.0f, 14.5f, 15.25f);
    Remeasure(b, 14.504f, 15.25f);
    Star c = MakeStar(" 58 Ori", 0.5f, 6.0f, 0.002f, 7.25f, 0.01f, 8.125f, 16.0f);
    Remeasure(c, 8.121f, 16.004f);
    AddRecord(s, a);
    AddRecord(s, b);
    AddRecord(s, c);
    Meteor m1(11.0f, 13.5f, 0);
    Remeasure(m1, 11.006f, 13.496f);
    Meteor m2(12.5f, 14.0f, 1);
    Remeasure(m2, 12.498f, 14.002f);
    copy_text(m2.label, "Maximum");
    AddRecord(s, m1);
    AddRecord(s, m2);
    s.nreplay = 1;
    s.order = 1;
    s.racen = static_cast<float>(5.75 * M_PI / 12);
    s.decen = static_cast<float>(8.0 * M_PI / 180);
    s.x0 = 11.0f;
    s.y0 = 13.0f;
}

// A test on the example session in a scratch directory.
class ExampleSessionTest : public ::testing::Test {
protected:
    void SetUp() override { FillExampleSession(s); }
    ScratchDir dir;
    SessionData s;
};

inline const char* kExampleFile =
    "Darnholm                1999    8   12  23.  15.  42.  img01    m01     \n"
    "50 mm f/1.8                                             \n"
    "    5    3    0    0    0    0    1\n"
    "2000000000000000000000000\n"
    " 23.  10.  00. 25.000  1.\n"
    "   0.   0.   0.   0.   0.   0.   0.   0.   0.   0.   0.   0.   0.   0.   0.   0.\n"
    "SAO112740 2.50    53000.0   0.001    73000.    -0.01    10.001    11.999\n"
    "SAO113389 3.25    54500.0   0.000    90000.     0.00    14.502    15.250\n"
    " 58 Ori   0.50    60000.0   0.002    71500.     0.01     8.123    16.002\n"
    "                                                        11.003    13.498\n"
    "Maximum                                                 12.499    14.001\n"
    "   54500.0        80000.0      11.000    13.000\n"
    "\n"
    "\n"
    " Star         x1      y1      x2      y2  \n"
    "\n"
    "SAO112740   10.000  12.000  10.002  11.998\n"
    "SAO113389   14.500  15.250  14.504  15.250\n"
    " 58 Ori      8.125  16.000   8.121  16.004\n"
    "\n"
    " Break        x1      y1      x2      y2  \n"
    "\n"
    "    1       11.000  13.500  11.006  13.496\n"
    "    2       12.500  14.000  12.498  14.002\n"
    "\n"
    "Velkarn 3.2";

}  // namespace testing_support
