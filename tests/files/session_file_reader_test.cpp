#include <gtest/gtest.h>

#include <memory>

#include "files/session_file.h"
#include "image/fake_image.h"
#include "session_file_support.h"
#include "shell/session_fields.h"

using namespace testing_support;

namespace {

// Everything Retrieve may change, field by field.
std::vector<std::string> Dump(const SessionData& s) { return shell_test::SessionFields(s, SessionData::dlgdat); }

// Saves the session and reads the file back into a new session, as New
// session and Retrieve session do; with Retrieve's result (-1: not saved).
std::pair<int, std::unique_ptr<SessionData>> SaveAndRetrieve(SessionData& from, const ScratchDir& dir, int order = 1) {
    if (SaveIn(from, dir, "rt") == 0) return {-1, nullptr};
    auto to = std::make_unique<SessionData>();
    to->order = order;
    const int kind = RetrieveFrom(*to, dir.file("rt"));
    return {kind, std::move(to)};
}

// The example file, or text, with line index replaced.
std::string ExampleWithLine(int index, const std::string& replacement, const std::string& text = kExampleFile) {
    std::istringstream in(text);
    std::string line, out;
    for (int i = 0; std::getline(in, line); ++i) out += (i == index ? replacement : line) + "\n";
    out.pop_back();
    return out;
}

}  // namespace

TEST(SessionFileReader, ReadsTheDarnholmExampleIntoItsValuesAndKeepsAPredictionRunInsideThePoints) {
    ScratchDir dir;
    WriteText(dir.file("m01.dar"), kExampleFile);
    SessionData s;
    // A prediction run begun before, beyond the points to be read.
    for (int i = 0; i < 6; ++i) AddRecord(s, Meteor(1.0f * i, 1.0f, i));
    s.mstart = 5;
    // The session the file was written from, with the texts padded to their
    // columns and the stars moved to the date.
    SessionData want;
    FillExampleSession(want);
    copy_text(SessionData::dlgdat.station, "Darnholm          ");
    copy_text(SessionData::dlgdat.objective, "50 mm f/1.8" + std::string(45, ' '));
    copy_text(want.stars[2].name, " 58 Ori  ");
    copy_text(want.meteors[1].label, "Maximum        ");
    want.ProperMotion(-1);
    want.mstart = 2;  // the run begun before ends at the last point read
    const auto expected = Dump(want);
    ScriptedMessageBox mb;
    ASSERT_EQ(s.Retrieve(dir.file("m01.dar").c_str(), mb, false), 5);
    EXPECT_TRUE(mb.shown.empty());
    EXPECT_EQ(Dump(s), expected);
}

class LayoutRoundTrip : public testing::TestWithParam<int> {};

TEST_P(LayoutRoundTrip, KeepsTheVisibleRecordsAndTheirMeasurements) {
    ScratchDir dir;
    SessionData a;
    FillExampleSession(a);
    SessionData::dlgdat.astrometry = GetParam();
    a.stars[0].hidden = 1;  // hidden stars are not written and do not come back
    a.nhide = 1;
    const auto [kind, back] = SaveAndRetrieve(a, dir, 2);
    ASSERT_EQ(kind, 5);
    const SessionData& b = *back;
    EXPECT_EQ(SessionData::dlgdat.astrometry, GetParam());
    EXPECT_EQ(std::tuple(b.nstar, b.nhide, b.nreplay), std::tuple(2u, 0u, 1u));
    EXPECT_STREQ(b.stars[0].name, "SAO113389");
    EXPECT_EQ(std::tie(b.stars[1].x, b.stars[1].y, b.meteors[0].x),
              std::tie(a.stars[2].x, a.stars[2].y, a.meteors[0].x));
    EXPECT_STREQ(b.meteors[1].label, "Maximum        ");
    if (GetParam() == 1) {
        EXPECT_EQ(b.order, 1);
        EXPECT_NEAR(b.racen, a.racen, 1e-6);
        EXPECT_FLOAT_EQ(b.x0, 11.0f);
        // A plate centre saved before it was determined comes back undetermined.
        a.racen = -1, a.decen = 100;
        const auto [again, c] = SaveAndRetrieve(a, dir);
        ASSERT_EQ(again, 5);
        EXPECT_EQ(std::pair(c->racen, c->decen), std::pair(-1.0f, 100.0f));
    } else {
        // A Redsky file holds no plate centre: it is to be determined anew,
        // from an origin at the mean star position; the order stays.
        EXPECT_EQ(std::tuple(b.order, b.racen, b.decen), std::tuple(2, -1.0f, 100.0f));
        EXPECT_FLOAT_EQ(b.x0, (14.502f + 8.123f) / 2);
        EXPECT_FLOAT_EQ(b.y0, (15.25f + 16.002f) / 2);
    }
}

INSTANTIATE_TEST_SUITE_P(TurnerAndRedsky, LayoutRoundTrip, testing::Values(1, 0));

TEST(SessionFileReader, AShutterOutsideTheListBecomesTheCustomEntryAndAnEmptyOneStaysEmpty) {
    ScratchDir dir;
    const struct {
        int astrometry;
        const char *shutter, *custom;
    } cases[] = {{1, "12.5", "12.5"}, {1, "20.00", "custom"}, {1, "100.00", "custom"}, {1, "", ""}, {0, "", ""}};
    for (const auto& c : cases) {
        SessionData a;
        FillExampleSession(a);
        SessionData::dlgdat.astrometry = c.astrometry;
        copy_text(SessionData::dlgdat.shutter, c.shutter);
        ASSERT_EQ(SaveAndRetrieve(a, dir).first, 5);
        EXPECT_EQ(std::string(SessionData::dlgdat.shutter) + "|" + SessionData::dlgdat.customshutter,
                  std::string(c.shutter) + "|" + c.custom) << "layout " << c.astrometry;
    }
}

TEST(SessionFileReader, VideoFramesComeBackThroughTheFrameList) {
    ScratchDir dir;
    FakeImage video(720, 576, ImageType::Video);
    CurrentImage current(&video);
    const std::vector<std::pair<std::vector<int>, int>> cases = {
        {{10, 11, 12, 13, 14, 20, 21, 22}, 14},
        {{}, 14},           // no points: -1, -1 still marks a video
        {{0, 5, 6, 7}, 14},  // a first run of the single frame 0 starts the list with 0, 0
    };
    for (const auto& [frames, kind] : cases) {
        SessionData a;
        FillExampleSession(a);
        a.meteors.clear();
        a.nmet = 0;
        for (int f : frames) AddRecord(a, Meteor(11.0f + 0.1f * f, 13.0f, f));
        const auto [got, b] = SaveAndRetrieve(a, dir);
        ASSERT_EQ(got, kind);
        std::vector<int> back;
        for (const Meteor& m : b->meteors) back.push_back(m.frame);
        EXPECT_EQ(back, frames);
    }
}

TEST(SessionFileReader, FourthLineStartingWithADigitUpToTwoMeansTurnerAndAFrameListEndedByANulHasNoFrames) {
    ScratchDir dir;
    WriteText(dir.file("t"),
              ExampleWithLine(2, "    5    3  354    7", ExampleWithLine(3, "0000020000000000000000000")));
    SessionData s;
    ASSERT_EQ(RetrieveFrom(s, dir.file("t")), 5);
    EXPECT_EQ(std::tuple(SessionData::dlgdat.astrometry, s.order, s.nstar, s.nmet), std::tuple(1, 2, 3u, 2u));
    WriteText(dir.file("nul.dar"), ExampleWithLine(5, std::string(1, '\0') + "   3.   4."));
    ASSERT_EQ(RetrieveFrom(s, dir.file("nul.dar")), 5);
    EXPECT_EQ(s.meteors[1].frame, 1);
}

using AnotherFile = ExampleSessionTest;

TEST_F(AnotherFile, OfAnotherImageIsReadOnlyWhenTheUserAgreesAndAMissingOneIsToldFromACancel) {
    WriteText(dir.file("m01.dar"), kExampleFile);
    copy_text(SessionData::dlgdat.image, "img02");
    copy_text(SessionData::dlgdat.objective, "kept");
    const auto before = Dump(s);

    ScriptedMessageBox cancel;
    EXPECT_EQ(s.Retrieve(dir.file("m01.dar").c_str(), cancel, true), SessionData::kRetrieveDeclined);
    ASSERT_EQ(cancel.shown.size(), 1u);
    EXPECT_EQ(std::tuple(cancel.shown[0].text, cancel.shown[0].caption, cancel.shown[0].buttons),
              std::tuple("File does not belong to the\n loaded image. Continue?", "Load session", MbButtons::OkCancel));
    EXPECT_EQ(RetrieveFrom(s, dir.file("none")), SessionData::kRetrieveCannotOpen);
    EXPECT_NE(SessionData::kRetrieveCannotOpen, SessionData::kRetrieveDeclined);
    EXPECT_EQ(Dump(s), before);

    ScriptedMessageBox ok;
    ok.answers.push_back(MbAnswer::Ok);
    EXPECT_EQ(s.Retrieve(dir.file("m01.dar").c_str(), ok, true), 5);
    // The loaded image keeps its name.
    EXPECT_EQ(std::string(SessionData::dlgdat.image) + "|" + SessionData::dlgdat.objective,
              "img02|" + std::string(kExampleFile).substr(73, 56));

    copy_text(SessionData::dlgdat.image, "img0");  // the file's image name begins with it
    ScriptedMessageBox none;
    EXPECT_EQ(s.Retrieve(dir.file("m01.dar").c_str(), none, true), 5);
    EXPECT_TRUE(none.shown.empty());
}

class RejectedFile : public ExampleSessionTest,
                     public testing::WithParamInterface<std::pair<const char*, std::string>> {};

TEST_P(RejectedFile, RaisesAndLeavesSessionAndExposureRecordAsTheyWere) {
    WriteText(dir.file("bad"), GetParam().second);
    s.nreplay = 3;
    copy_text(SessionData::dlgdat.station, "Elsewhere");
    copy_text(SessionData::dlgdat.customshutter, "12.5");
    SessionData::dlgdat.status = -8;
    const auto before = Dump(s);
    EXPECT_THROW(RetrieveFrom(s, dir.file("bad")), SessionFileError);
    EXPECT_EQ(Dump(s), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RejectedFile,
    testing::Values(
        std::pair{"FewerPointsThanStars", ExampleWithLine(2, "    2    3    0    0    0    0    1")},
        std::pair{"NegativeRedskyCount",
                  ExampleWithLine(2, "   -3    2  354    7", ExampleWithLine(3, "    11.000    13.000  2000.0"))},
        std::pair{"CountsFarBeyondTheFile", ExampleWithLine(2, "2000000000 1000000000")},
        // Values the fixed columns cannot hold again, found by fuzzing.
        std::pair{"StarOffTheSky",
                  ExampleWithLine(6, "SAO112740 2.50   253000.0   0.001    73000.    -0.01    10.001    11.999")},
        std::pair{"ReplayedPositionNotANumber", ExampleWithLine(16, "SAO112740   10.000  12.000     nan  11.998")},
        std::pair{"FrameNumberBeyondItsColumns", ExampleWithLine(5, "123456.   0.")}),
    [](const auto& info) { return std::string(info.param.first); });
