#include <gtest/gtest.h>

#include <cerrno>

#include "files/log_file.h"
#include "shell_fixture.h"

namespace shell_test {

namespace {

const std::string kNotSurrounded = ": Meteor not surrounded by reference stars.\nContinue saving?";
const std::string kNoBrightest = ": Brightest point of meteor not specified.\nContinue saving?";
const std::string kNoExposure = ": Exposure data not specified.\nDo it now?";
const std::string kNotReplayed = ": Session not replayed. Do it now?";
const std::string kNotLogged =
    "Save session: Meteor has not been included in the log file because\n too few stars and/or meteor points were "
    "measured";

}  // namespace

class SaveSession : public Shell {
protected:
    void SetUp() override {
        Shell::SetUp();
        MeasuredPhotograph();
        sf.changed = 1;
        files_.asked.clear();
    }
    // Every question of the save asked.
    void Unfinished() {
        session().surround = 50.0f;
        session().nreplay = 0;
        SessionData::dlgdat.status = -8;
        for (Meteor& m : session().meteors) m.label[0] = '\0';
    }
};

TEST_F(SaveSession, AsksItsQuestionsInOrderCancelAtAnyOfThemWritesNothingAndYesDoesWhatTheyAsk) {
    Unfinished();
    messages_.answers = {MbAnswer::Ok, MbAnswer::Ok, MbAnswer::No, MbAnswer::No};
    EXPECT_FALSE(cmd().WMSaveSession());  // cancelled in the file dialog
    EXPECT_EQ(Captions(), (std::vector<std::string>{kNotSurrounded, kNoBrightest, kNoExposure, kNotReplayed}));
    ASSERT_EQ(files_.asked.size(), 1u);
    EXPECT_EQ(files_.asked[0].request.file_name, "per0812a.dar");
    for (std::size_t k = 0; k < 4; ++k) {
        messages_.shown.clear();
        files_.asked.clear();
        messages_.answers = {MbAnswer::Ok, MbAnswer::Ok, MbAnswer::No, MbAnswer::No};
        messages_.answers[k] = MbAnswer::Cancel;
        EXPECT_FALSE(cmd().WMSaveSession());
        EXPECT_EQ(messages_.shown.size(), k + 1);
        EXPECT_TRUE(files_.asked.empty());
    }
    EXPECT_EQ(exposure_.runs, 0);
    EXPECT_EQ(sf.changed, 1);

    // Yes enters the exposure data and replays before the file is chosen.
    messages_.answers = {MbAnswer::Ok, MbAnswer::Ok, MbAnswer::Yes, MbAnswer::Yes};
    files_.answers = {Path("m.dar").string()};
    EXPECT_TRUE(cmd().WMSaveSession());
    EXPECT_EQ(exposure_.runs, 1);
    EXPECT_EQ(measure_.shown.size(), 19u + 12u);
    EXPECT_TRUE(fs::exists(Path("m.dar")));
    EXPECT_EQ(sf.changed, 0);
}

TEST_F(SaveSession, AnExistingFileIsOverwrittenOnlyOnYesAndNoBringsTheDialogBack) {
    const std::string path = Path("old.dar").string();
    std::ofstream(path) << "old";
    files_.answers = {path, path};
    messages_.answers = {MbAnswer::No, MbAnswer::Yes};
    EXPECT_TRUE(cmd().WMSaveSession());
    EXPECT_EQ(Captions(), (std::vector<std::string>(2, "Save session: File already exists. Overwrite?")));
    ASSERT_EQ(files_.asked.size(), 2u);
    EXPECT_EQ(files_.asked[1].request.file_name, "old.dar");
    EXPECT_EQ(FileText(path).substr(0, 8), "Darnholm");
    EXPECT_EQ(std::string(opt.outputdir), dir_.string());
    EXPECT_TRUE(fs::exists(Path("photo99.log")));
}

TEST_F(SaveSession, AMeteorLeftOutOfTheLogIsReportedWithAWarning) {
    while (session().nstar > 2) session().DropStar(0);
    files_.answers = {Path("few.dar").string()};
    messages_.answers = {MbAnswer::Ok};
    EXPECT_TRUE(cmd().WMSaveSession());
    ASSERT_EQ(Captions(), (std::vector<std::string>{kNotSurrounded, kNotLogged}));
    EXPECT_EQ(messages_.shown[1].icon, MbIcon::Exclamation);
    EXPECT_FALSE(fs::exists(Path("photo99.log")));
    EXPECT_EQ(sf.changed, 0);
}

TEST_F(SaveSession, ClosingAsksAboutUnsavedWorkAndWritesTheSettingsOnlyWhenItCloses) {
    for (const auto& answers : {std::deque{MbAnswer::Cancel}, std::deque{MbAnswer::Yes, MbAnswer::Cancel}}) {
        messages_.answers = answers;
        EXPECT_FALSE(cmd().CanClose());
        EXPECT_FALSE(SettingsWritten());
    }
    EXPECT_EQ(Captions().front(), "Exit Velkarn: Session not saved. Save first?");
    messages_.answers = {MbAnswer::No};
    EXPECT_TRUE(cmd().CanClose());
    EXPECT_TRUE(SettingsWritten());
    EXPECT_FALSE(view_.watching);
}

TEST_F(SaveSession, ALogLineThatCannotBeWrittenIsReportedWhileTheSessionIsSaved) {
    fs::create_directory(Path("photo99.log"));
    files_.answers = {Path("m.dar").string()};
    messages_.answers = {MbAnswer::Ok};
    EXPECT_TRUE(cmd().WMSaveSession());
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Save session: " + LogFailureText(EISDIR)}));
    EXPECT_TRUE(fs::exists(Path("m.dar")));
    EXPECT_EQ(sf.changed, 0);
}

TEST_F(SaveSession, AFileThatCannotBeWrittenIsReportedWithItsReasonAndADirectoryTooLongToRememberIsSaidAndNeverCut) {
    const fs::path deep = Path(std::string(200, 'a')) / std::string(100, 'b');
    fs::create_directories(deep);
    const std::string before = opt.outputdir;
    files_.answers = {Path(std::string(300, 'n')).string(), Path("no such dir/m.dar").string(),
                      (deep / "m.dar").string()};
    EXPECT_FALSE(cmd().WMSaveSession());
    EXPECT_FALSE(cmd().WMSaveSession());
    EXPECT_EQ(sf.changed, 1);
    EXPECT_TRUE(cmd().WMSaveSession());
    EXPECT_TRUE(fs::exists(deep / "m.dar"));
    EXPECT_EQ(Captions(), (std::vector<std::string>{
                              "Save session: Session not saved.\nThe path is too long.",
                              "Save session: Session not saved.\nThe directory does not exist.",
                              "Session directory: " +
                                  OverlongPathText(deep.string(), "The directory is not remembered for the next session file.")}));
    EXPECT_EQ(std::string(opt.outputdir), before);
}

}  // namespace shell_test
