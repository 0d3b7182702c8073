#include <gtest/gtest.h>

#include "shell_fixture.h"

namespace shell_test {

class Selection : public Shell {
protected:
    void SetUp() override {
        Shell::SetUp();
        MeasuredPhotograph();
        view_.calls.clear();
        sf.changed = 0;
        sf.recalc = 0;
    }
    void ExpectMarkedAndCleared() {
        EXPECT_EQ(sf.changed, 1);
        EXPECT_EQ(SelectedStar::iselect, -1);
        EXPECT_FALSE(cmd().Enabled(7));
    }
};

TEST_F(Selection, HidingRecomputesAtOnceInTheImageViewAndAtTheNextPaintInTheAnalysisView) {
    const float sd = session().sd;
    OnSelected(3, &MainCommands::WMEditHide);
    EXPECT_EQ(session().stars[3].hidden, 1);
    EXPECT_NE(session().sd, sd);
    EXPECT_EQ(view_.Count("PaintMarkers"), 1);
    ExpectMarkedAndCleared();

    const float one_hidden = session().sd;
    cmd().WMWindowAnalysis();
    OnSelected(4, &MainCommands::WMEditHide);
    EXPECT_EQ(session().stars[4].hidden, 1);
    EXPECT_EQ(session().sd, one_hidden);  // the analysis view recomputes when it paints
    EXPECT_EQ(sf.recalc, 1);
    EXPECT_EQ(view_.Count("RepaintAnalysis"), 1);
}

TEST_F(Selection, LabelsSetOrClearedAreUnsavedWork) {
    for (Meteor& m : session().meteors) m.label[0] = '\0';
    text_.answers = {{true, "a label far too long"}};
    OnSelected(19 + 1, &MainCommands::LabelSelected);
    EXPECT_STREQ(session().meteors[1].label, "a label far too");
    ExpectMarkedAndCleared();

    OnSelected(19 + 2, &MainCommands::ToggleMaximumSelected);
    EXPECT_STREQ(session().meteors[2].label, "Maximum");
    ExpectMarkedAndCleared();
    OnSelected(2, &MainCommands::LabelSelected);  // a star is no meteor point
    EXPECT_EQ(text_.asked.size(), 1u);
}

TEST_F(Selection, ASingularStarSetIsReportedAndEveryMeasurementKept) {
    // Every star on one slanted line: no plate solution exists.
    for (unsigned int i = 0; i < session().nstar; ++i) {
        session().stars[i].x.assign(2, 1.0f + 0.3f * i);
        session().stars[i].y.assign(2, 0.5f + 0.2f * i);
    }
    cmd().WMExpData();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_NE(messages_.shown[0].text.find("Singular"), std::string::npos);
    EXPECT_EQ(session().nstar, 19u);
    EXPECT_EQ(session().nmet, 12u);
}

TEST_F(Shell, AClickMeasuresInTheModeAndMarksTheSessionWhenSomethingWasAdded) {
    // What is added is followed through every kind of change in the undo
    // test; here a dialog that adds nothing and one that only labels.
    OpenImage("plate.bmp", 200, 100);
    SelectedStar::iselect = 0;
    cmd().MeasureAt(50, 40);
    EXPECT_EQ(sf.changed, 0);
    EXPECT_EQ(SelectedStar::iselect, -1);
    cmd().WMMeteorMode();
    measure_.points_to_add = {Meteor(1.0f, 0.5f, 0)};
    cmd().MeasureAt(60, 40);
    sf.changed = 0;
    measure_.in_meteor_dialog = [] { copy_text(Session->meteors[0].label, "Maximum"); };
    cmd().MeasureAt(60, 40);
    EXPECT_EQ(sf.changed, 1);

    cmd().MeasureAt(200, 40);  // outside the image
    cmd().MeasureAt(-1, 40);
    EXPECT_EQ(measure_.Kinds(), (std::vector<std::string>{"star -1", "meteor -1", "meteor -1"}));
    EXPECT_EQ(measure_.shown[2].column, 60);
}

}  // namespace shell_test
