#include <gtest/gtest.h>

#include "image/fake_image.h"
#include "shell_fixture.h"

namespace shell_test {

TEST_F(Shell, NewSessionThrowsUnsavedWorkAwayOnlyOnNoAndNotAfterASaveThatWroteNothing) {
    MeasuredPhotograph();
    sf.changed = 1;
    // Cancel; Yes and Cancel at the save's first question; Yes and a
    // cancelled file dialog: the work stays.
    for (const auto& answers : {std::deque{MbAnswer::Cancel}, std::deque{MbAnswer::Yes, MbAnswer::Cancel},
                                std::deque{MbAnswer::Yes, MbAnswer::Ok}}) {
        messages_.answers = answers;
        cmd().WMNewSession();
        EXPECT_EQ(session().nstar, 19u);
        EXPECT_EQ(sf.changed, 1);
    }
    EXPECT_EQ(Captions().front(), "New session: Session not saved. Save first?");
    messages_.answers = {MbAnswer::No};
    cmd().WMNewSession();
    EXPECT_EQ(session().nstar, 0u);
    EXPECT_EQ(sf.changed, 0);
}

// --- Retrieve session ---

TEST_F(Shell, RetrievingWithoutAnImageGivesABlankImageWithTheOriginAtItsCentreOfAtLeastOnePixel) {
    Retrieve(Example("spo0813b.kes"));
    ASSERT_NE(cmd().image(), nullptr);
    EXPECT_EQ(cmd().image()->type, ImageType::BlankVideo);
    EXPECT_EQ(cmd().image()->width, 720);
    EXPECT_EQ(cmd().image()->height, 576);
    EXPECT_EQ(session().nstar, 22u);
    EXPECT_EQ(sf.changed, 0);
    EXPECT_STREQ(opt.station, "Kestrup           ");  // as the file's column holds it
    cmd().MeasureAt(10, 10);  // a click on a blank image measures nothing
    EXPECT_TRUE(measure_.shown.empty());

    // Each side truncated from the float origin (7.2f is a little below
    // 7.2), at least one pixel, at most kMaxBlankSide.
    EXPECT_EQ(BlankImageSize(-3.0f, 0.001f).height, 1);
    EXPECT_EQ(BlankImageSize(7.2f, 4.32f).width, 1199);
    EXPECT_EQ(BlankImageSize(7.2f, 4.32f).height, 720);
    EXPECT_EQ(BlankImageSize(1e30f, 1.0f).width, kMaxBlankSide);

    // A session without stars, again without an image: a blank of one pixel.
    ScriptedMessageBox mb;
    ASSERT_NE(SessionData().Save(Path("empty.dar").c_str(), dir_.c_str(), mb), 0);
    Start();
    Retrieve(Path("empty.dar").string());
    ASSERT_NE(cmd().image(), nullptr) << testing::PrintToString(Captions());
    EXPECT_EQ(cmd().image()->width, 1);
    EXPECT_EQ(cmd().image()->height, 1);
}

TEST_F(Shell, AFileThatCannotBeReadLeavesTheSessionAsItWas) {
    MeasuredPhotograph();
    std::ofstream(Path("cut.dar")) << FileText(Example("per0812a.dar")).substr(0, 700);
    const DialogData before = SessionData::dlgdat;
    SessionData* const session_before = cmd().session();
    Retrieve(Path("cut.dar").string());
    Retrieve(Path("missing.dar").string());
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Retrieve session: Invalid file format",
                                                    "Retrieve session: File not accessible."}));
    EXPECT_EQ(cmd().session(), session_before);
    EXPECT_EQ(session().nstar, 19u);
    EXPECT_STREQ(SessionData::dlgdat.meteor, before.meteor);
}

// --- Open template ---

class Template : public Shell {
protected:
    // The example photograph's stars, on a fresh image of the same size.
    void OpenTemplate() {
        files_.answers.push_back(Example("per0812a.dar"));
        cmd().WMTemplate();
    }
};

TEST_F(Template, CancelSkipsAStarAndBreakEndsTheLoop) {
    OpenImage("next.bmp");
    measure_.ends = {DialogEnd::Ok, DialogEnd::Cancel, DialogEnd::Ok, DialogEnd::Break};
    OpenTemplate();
    EXPECT_EQ(measure_.shown.size(), 4u);
    EXPECT_EQ(session().nstar, 2u);
    EXPECT_EQ(view_.Count("PaintMarkers"), 1);
}

TEST_F(Template, CarriesTheStarsOverThroughOneDialogEachAfterTheExposureDataWhoseCancelLeavesEverything) {
    OpenImage("next.bmp");
    const DialogData before = SessionData::dlgdat;
    exposure_.results = {2};
    OpenTemplate();
    EXPECT_TRUE(measure_.shown.empty());
    EXPECT_EQ(std::memcmp(&SessionData::dlgdat, &before, sizeof before), 0);
    EXPECT_EQ(sf.changed, 0);

    OpenTemplate();
    EXPECT_EQ(exposure_.runs, 2);
    ASSERT_EQ(measure_.shown.size(), 19u);
    EXPECT_EQ(measure_.shown[0].name, "Alp Per  ");
    // Same reference time: each star comes back where the template had it.
    EXPECT_NEAR(measure_.shown[0].column, 7.236 * 250 / 3, 2);
    EXPECT_NEAR(measure_.shown[0].row, 800 - 5.640 * 250 / 3, 2);
    EXPECT_EQ(session().nstar, 19u);
    EXPECT_EQ(sf.changed, 1);
    EXPECT_STREQ(SessionData::dlgdat.image, "next");
    EXPECT_TRUE(messages_.shown.empty());  // never asks whether the file belongs to the image
}

}  // namespace shell_test
