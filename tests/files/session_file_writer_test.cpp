#include <gtest/gtest.h>

#include "../../tools/examples/synthetic_session.h"
#include "files/options.h"
#include "files/session_file.h"
#include "image/fake_image.h"
#include "session_file_support.h"

using namespace testing_support;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1) {
        lines.push_back(text.substr(start, nl - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

using SessionFileWriter = ExampleSessionTest;

}  // namespace

TEST_F(SessionFileWriter, WritesTheDarnholmExampleByteForByteAndLogsIt) {
    ScriptedMessageBox mb;
    EXPECT_EQ(s.Save(dir.file("m01.dar").c_str(), dir.path().c_str(), mb), 1);
    EXPECT_EQ(ReadText(dir.file("m01.dar")), kExampleFile);
    EXPECT_TRUE(mb.shown.empty());
    char name[13];
    EXPECT_STREQ(s.OutFilename(name), "m01.dar");
}

class ReplayColumns : public testing::TestWithParam<std::pair<int, bool>> {};

TEST_P(ReplayColumns, TableIsWrittenOnlyForTwoToEightMeasurements) {
    const auto [r, table] = GetParam();
    ScratchDir dir;
    // One star and one meteor point, each measured r times.
    SetExampleExposure();
    Star st = MakeStar("Alp Per", 1.8f, 3.4f, 0, 49.9f, 0, 5.0f, 5.0f);
    Meteor m(6.0f, 6.0f, 0);
    for (int k = 1; k < r; ++k) {
        Remeasure(st, 5.0f + 0.001f * k, 5.0f);
        Remeasure(m, 6.0f, 6.0f + 0.001f * k);
    }
    SessionData s;
    AddRecord(s, st);
    AddRecord(s, m);
    ASSERT_EQ(SaveIn(s, dir, "s"), 2);
    const std::string text = ReadText(dir.file("s"));
    EXPECT_EQ(text.find(" Star     ") != std::string::npos, table);
    if (table) {
        const auto lines = Lines(text);
        EXPECT_EQ(lines[lines.size() - 3].size(), 10u + 16u * r);  // the meteor row
        EXPECT_EQ(lines[lines.size() - 2], "");
    } else {
        EXPECT_NE(text.find("\n\n\n\n\nVelkarn 3.2"), std::string::npos);
    }
    // The mean is written either way.
    EXPECT_NE(text.find("    6.000     6.00"), std::string::npos);

    // Read back: every measurement of the table, or the mean alone.
    SessionData back;
    ASSERT_EQ(RetrieveFrom(back, dir.file("s")), 5);
    EXPECT_EQ(std::pair(back.meteors[0].nrep, back.stars[0].nrep), std::pair(table ? r - 1 : 0, table ? r - 1 : 0));
    if (table) {
        EXPECT_EQ(back.meteors[0].y, s.meteors[0].y);
    }
}

INSTANTIATE_TEST_SUITE_P(R, ReplayColumns,
                         testing::Values(std::pair{1, false}, std::pair{2, true}, std::pair{8, true},
                                         std::pair{9, false}));

TEST(SessionFileFrameList, RecordsSevenGapsAndNumbersLaterPointsOnFromTheSeventh) {
    std::vector<Meteor> pts;
    for (int g = 0; g < 9; ++g) pts.emplace_back(0.f, 0.f, 10 * g);  // a gap before every point
    const session_file::FrameList f = session_file::BuildFrameList(pts);
    EXPECT_EQ(f, (session_file::FrameList{0, 0, 10, 10, 20, 20, 30, 30, 40, 40, 50, 50, 60, 60, 70, 80}));
    const std::vector<int> back = session_file::RestoreFrames(f, 9);
    EXPECT_EQ(std::vector<int>(back.begin(), back.begin() + 8),
              (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70}));
    EXPECT_NE(back[8], 80);  // behind the eighth gap the frame is lost
}

TEST_F(SessionFileWriter, RedskyQuestionForANarrowLensKeepsTheOldFileOnNoAndFishEyesGetTheirCodes) {
    SessionData::dlgdat.astrometry = 0;
    s.stars[2].hidden = s.nhide = 1;  // two visible stars: no plate solution, the fish-eye code, no question
    ScriptedMessageBox none;
    EXPECT_EQ(s.Save(dir.file("r").c_str(), dir.path().c_str(), none), 2);
    EXPECT_TRUE(none.shown.empty());
    const auto lines = Lines(ReadText(dir.file("r")));
    EXPECT_EQ(lines[2] + "|" + lines[3] + "|" + lines[4],
              "    2    2  354    7|    11.000    13.000  2000.0|  23.  10.  00.    25.000  1.");
    // No centre line: three empty lines.
    EXPECT_EQ(lines[10] + lines[12] + "|" + lines[13], "| Star         x1      y1      x2      y2  ");
    s.stars[2].hidden = s.nhide = 0;
    // The example's plate scale is that of a lens of about 116 mm on an
    // image 1000 pixels high (the focal length goes with 1 / height).
    FakeImage small(100, 1000, ImageType::Still);
    CurrentImage current(&small);
    WriteText(dir.file("r"), "previous");
    ScriptedMessageBox no;
    EXPECT_EQ(s.Save(dir.file("r").c_str(), dir.path().c_str(), no), 0);
    ASSERT_EQ(no.shown.size(), 1u);
    EXPECT_EQ(no.shown[0].buttons, MbButtons::YesNo);
    EXPECT_EQ(ReadText(dir.file("r")), "previous");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "photo99.log"));

    ScriptedMessageBox yes;
    yes.answers.push_back(MbAnswer::Yes);
    EXPECT_EQ(s.Save(dir.file("r").c_str(), dir.path().c_str(), yes), 1);
    EXPECT_NEAR(std::stoi(Lines(ReadText(dir.file("r")))[2].substr(15)), 115, 5);  // the equivalent focal length

    // A fish-eye plate scale takes its code and asks nothing.
    FakeImage fish_eye(100, 8000, ImageType::Still);
    CurrentImage replaced(&fish_eye);
    EXPECT_EQ(s.Save(dir.file("r").c_str(), dir.path().c_str(), none), 1);
    EXPECT_TRUE(none.shown.empty());
    EXPECT_EQ(std::stoi(Lines(ReadText(dir.file("r")))[2].substr(15)), 16);
}

TEST(SessionFileExamples, ShippedExamplesAreWhatSaveWritesToday) {
    ScratchDir dir;
    for (const auto& x : synthetic::ExampleImages()) {
        FakeImage image(x.width, x.height, x.type);
        CurrentImage current(&image);
        SessionData s;
        const synthetic::Example e = x.make(s);
        s.surround = s.Getsurround(-1);
        s.CalculateOC();
        copy_text(opt.station, SessionData::dlgdat.station);
        ScriptedMessageBox mb;
        ASSERT_EQ(s.Save(dir.file(e.file_name).c_str(), dir.path().c_str(), mb), 1);
        EXPECT_EQ(ReadText(dir.file(e.file_name)),
                  ReadText(std::filesystem::path(VELKARN_SOURCE_DIR) / "data/examples" / e.file_name))
            << e.file_name << ": run velkarn-make-examples";
    }
}
