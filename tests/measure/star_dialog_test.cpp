// The star dialog's edges the window tests do not reach: the fields' limits,
// a failed search, a fit that fails while the candidates are tried, a plate
// centre not yet fixed that Cancel leaves unfixed, and a star picked on the
// catalogue overlay.
#include <gtest/gtest.h>

#include <memory>

#include "catalogue/test_catalogue.h"
#include "measure/star_dialog.h"
#include "measure_test_support.h"
#include "platform/scripted.h"
#include "shell/session_fields.h"

using namespace measure_test;
using namespace star_dialog;

namespace {

constexpr int kOri = 1893;  // first Flamsteed index entry of Orion
const TestStar k58Ori{.ra = 5.95, .de = 20.8, .mag = 3.5, .hd = 2, .flamsteed = 58, .constellation = "Ori"};
// Two candidates round 6 h 3 m, +19 deg 39 m; the second is brighter.
const std::vector<TestStar> kPair{{.ra = 6.05, .de = 19.6, .mag = 5.0, .hd = 10},
                                  {.ra = 6.06, .de = 19.75, .mag = 4.0, .hd = 11}};

// A 2000 x 1500 image of the field round RA 6 h, DE +20 deg.
class StarDialogTest : public CatalogueDir {
protected:
    void MeasureStars(int n) {
        const CatStar stars[4] = {Cat("A", 3.0f, 5.85, 18.5), Cat("B", 3.5f, 6.15, 18.8), Cat("C", 4.0f, 6.1, 21.5),
                                  Cat("D", 4.5f, 5.9, 21.2)};
        for (int i = 0; i < n; ++i) MeasureExactly(session_, stars[i]);
    }
    // A dialog whose window is centred on plate position (x, y).
    std::unique_ptr<StarDialog> Open(float x, float y) {
        return std::make_unique<StarDialog>(session_, image_, Column(x), Row(y, 1500), mb_,
                                            StarSearchSettings{files_, 0.5f, 8.0f, {}});
    }
    std::unique_ptr<StarDialog> OpenAt(double ra, double de) {
        float x, y;
        Plate(ra, de, x, y);
        return Open(x, y);
    }
    // Clicks the control pixel nearest to the sky position.
    static void ClickAt(StarDialog& d, double ra, double de) {
        float x, y;
        Plate(ra, de, x, y);
        d.Click(MarkerPixel(d.magnifier().origin(), x, y));
    }
    // Everything about the session and the exposure record a dialog might disturb.
    std::vector<std::string> State() const { return shell_test::SessionFields(session_, SessionData::dlgdat); }
    FieldImage image_;
    CurrentImage current_{&image_};
    SessionData session_;
    ScriptedMessageBox mb_;
};

TEST_F(StarDialogTest, ATypedPositionIsHoursAndDegreesWithMinutesAndAFailedSearchEmptiesTheList) {
    WriteCatalogue({{.ra = 5.5, .de = -5.5, .mag = 6, .hd = 7}, {.ra = 5.5, .de = -6.5, .mag = 5, .hd = 8}, k58Ori});
    WriteIndex({{kOri + 57, 2}});
    MeasureStars(2);
    auto d = OpenAt(6, 20);
    d->EditField(StarField::Name, "58 Ori");
    d->Search();
    ASSERT_EQ(d->lines().size(), 1u);
    d->EditField(StarField::RA, "5 30");
    d->EditField(StarField::DE, "-5 30");
    EXPECT_EQ(d->default_button(), kSearchButton);
    EXPECT_FALSE(d->list_valid());
    d->Search();
    // Only the star inside the box round 5.5 h, -5.5 deg.
    ASSERT_EQ(d->lines().size(), 1u);
    EXPECT_FLOAT_EQ(d->candidate(0)->mag, 6.0f);
    EXPECT_EQ(d->field(StarField::Name), "");
    // A name search empties the position fields.
    d->EditField(StarField::Name, "58 Ori");
    d->Search();
    EXPECT_EQ(d->field(StarField::RA), "");
    // Fields keep their limits.
    d->EditField(StarField::DE, "-12 345 6");
    EXPECT_EQ(d->field(StarField::DE), "-12 34");
    // A failed search shows its message and empties the list.
    d->EditField(StarField::Name, "");
    d->EditField(StarField::RA, "25");
    d->EditField(StarField::DE, "-5 30");
    d->Search();
    ASSERT_EQ(mb_.shown.size(), 1u);
    EXPECT_EQ(mb_.shown[0].text,
              "No stars found. Try increasing the\nsearch area or the limiting magnitude.\n"
              "Check for misidentified stars.");
    EXPECT_EQ(mb_.shown[0].caption, "Sky Catalogue");
    EXPECT_TRUE(d->lines().empty());
    EXPECT_EQ(d->selected(), -1);
}

TEST_F(StarDialogTest, ASingularFitWhileTryingCandidatesIsReportedAndBrightnessDecides) {
    // Six stars on two crossing lines through the image centre: the
    // seventh visible star sets the second order, whose fit of points on
    // two lines is singular.
    const float xs[6] = {12.0f, 12.0f, 12.0f, 6.0f, 9.0f, 18.0f};
    const float ys[6] = {3.0f, 6.0f, 15.0f, 9.0f, 9.0f, 9.0f};
    double ra, de;
    for (int i = 0; i < 6; ++i) {
        Sky(xs[i], ys[i], ra, de);
        session_.AddStar(Star(Cat("L", 4, ra, de), xs[i], ys[i]), 1);
    }
    ASSERT_EQ(session_.order, 1);
    ASSERT_EQ(session_.x0, 12.0f);
    Sky(12.0, 12.0, ra, de);
    WriteCatalogue({{.ra = ra, .de = de, .mag = 6.0, .hd = 10}, {.ra = ra + 0.002, .de = de, .mag = 5.0, .hd = 11}});
    const auto before = State();
    auto d = Open(12.0f, 12.0f);
    // The control pixel of plate position (12, 12) mm, pixel 1000 on both axes.
    const WindowOrigin o = d->magnifier().origin();
    d->Click({(1000 - o.x) * 4, 319 - (1000 - o.y) * 4});
    ASSERT_EQ(d->position().x, 12.0f);
    ASSERT_EQ(mb_.shown.size(), 1u);
    EXPECT_NE(mb_.shown[0].text.find("Singular"), std::string::npos);
    EXPECT_EQ(mb_.shown[0].caption, "Star measurement");
    ASSERT_EQ(d->lines().size(), 2u);
    EXPECT_EQ(d->selected(), 1);
    EXPECT_EQ(State(), before);
}

TEST_F(StarDialogTest, CancelLeavesTheSessionExactlyAsItWas) {
    WriteCatalogue(kPair);
    MeasureStars(3);
    // Exactly three stars: the plate centre is not fixed yet, and the
    // estimate at the click would fix it.
    ASSERT_EQ(session_.racen, -1.0f);
    const auto before = State();
    auto d = OpenAt(6.05, 19.6);
    ClickAt(*d, 6.05, 19.6);
    ASSERT_EQ(d->lines().size(), 2u);
    d->Cancel();
    EXPECT_TRUE(d->finished());
    EXPECT_EQ(d->result(), DialogEnd::Cancel);
    EXPECT_EQ(State(), before);
}

// A star picked on the catalogue overlay comes first and selected, whether
// the search round the click found it (the one the click is not on) or not.
TEST_F(StarDialogTest, AStarPickedOnTheOverlayIsListedFirstAndSelected) {
    WriteCatalogue({k58Ori, kPair[0], kPair[1]});
    MeasureStars(4);
    const SkyCat pair(files_, 6.05f, 19.6f, 0.5f, 8.0f);
    ASSERT_EQ(pair.candidates.size(), 2u);
    const SkyCat far(files_, 5.95f, 20.8f, 0.2f, 8.0f);
    ASSERT_EQ(far.candidates.size(), 1u);
    for (const CatStar& want : {pair.candidates[1], far.candidates[0]}) {
        float x, y;
        Plate(6.05, 19.6, x, y);
        StarSearchSettings settings{files_, 0.5f, 8.0f, {}};
        settings.preselect = want;
        StarDialog d(session_, image_, Column(x), Row(y, 1500), mb_, settings);
        ClickAt(d, 6.05, 19.6);
        ASSERT_GE(d.lines().size(), 2u);
        EXPECT_EQ(d.selected(), 0);
        ASSERT_NE(d.candidate(0), nullptr);
        EXPECT_STREQ(d.candidate(0)->name, want.name);
    }
    EXPECT_TRUE(mb_.shown.empty());
}

}  // namespace
