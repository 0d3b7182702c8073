#include <gtest/gtest.h>

#include "shell_fixture.h"

namespace shell_test {

class Replay : public Shell {
protected:
    void SetUp() override {
        Shell::SetUp();
        MeasuredPhotograph();
        view_.calls.clear();
        sf.changed = 0;
        sf.measmode = kMeteorMode;
    }
    void ExpectNothingCounted(unsigned int replays) {
        EXPECT_EQ(session().nreplay, replays);
        EXPECT_EQ(sf.changed, 0);
        EXPECT_EQ(sf.measmode, kMeteorMode);
        EXPECT_EQ(view_.calls.back(), "RepaintStatus");
        for (const Star& s : session().stars) EXPECT_EQ(s.nrep, 1);
    }
};

TEST_F(Replay, StarsAndMeteorShowsEveryVisibleStarThenBeepsAndShowsEveryPoint) {
    session().fhide(1);
    cmd().WMReplay();
    std::vector<std::string> expected{"star replay 0"};
    for (int i = 2; i < 19; ++i) expected.push_back("star replay " + std::to_string(i));
    for (int j = 0; j < 12; ++j) expected.push_back("meteor replay " + std::to_string(j));
    EXPECT_EQ(measure_.Kinds(), expected);
    EXPECT_EQ(view_.Count("Beep"), 2);
    EXPECT_EQ(view_.Count("Pause 600"), 1);
    EXPECT_EQ(session().nreplay, 2u);
    EXPECT_EQ(session().stars[0].nrep, 2);
    EXPECT_EQ(session().stars[1].nrep, 1);
    EXPECT_EQ(session().meteors[11].nrep, 2);
    EXPECT_EQ(sf.changed, 1);
    EXPECT_EQ(sf.recalc, 1);
    EXPECT_EQ(sf.measmode, kMeteorMode);
}

TEST_F(Replay, BreakInTheFirstDialogShownCountsNothingWhateverItsIndex) {
    measure_.ends = {DialogEnd::Break};
    cmd().WMReplay();
    EXPECT_EQ(measure_.Kinds(), std::vector<std::string>{"star replay 0"});
    ExpectNothingCounted(1);

    session().fhide(0);
    measure_.shown.clear();
    measure_.ends = {DialogEnd::Break};
    cmd().WMReplay();
    EXPECT_EQ(measure_.Kinds(), std::vector<std::string>{"star replay 1"});
    ExpectNothingCounted(1);
    EXPECT_EQ(view_.Count("Beep"), 0);
}

}  // namespace shell_test
