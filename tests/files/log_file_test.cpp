#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "files/log_file.h"
#include "files/options.h"
#include "platform/scripted.h"
#include "session/session_data.h"
#include "session_file_support.h"

using namespace testing_support;

namespace {

const char* kHeader =
    "Meteor     year mo day H  M  S   mag   w    dw    RAB     DEB     RAE     DEE     sig sur  "
    "image      station            \n";

int Save(SessionData& s, const ScratchDir& dir) { return SaveIn(s, dir, "m01.dar"); }

int CountLines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

}  // namespace

TEST(LogRecord, FormatsTheDarnholmExampleByteForByteAndNamesItsFile) {
    SetExampleExposure();
    LogEntry e;
    e.w = 12.3456;
    e.dw = 0.5;
    e.rab = 82.5;
    e.deb = 7.25;
    e.rae = 85.0;
    e.dee = 8.0;
    e.sig = 0.0123;
    e.sur = 100;
    EXPECT_EQ(LogHeaderLine(), kHeader);
    EXPECT_EQ(LogRecordLine(SessionData::dlgdat, e, "Darnholm"),
              "\"m01     \" 1999  8 12 23 15 42   0.0 12.35 0.50  82.500   7.250  85.000   8.000 "
              "0.012 100 \"img01   \" \"Darnholm          \"\n");
    // Times are right-aligned, texts padded, and the magnitude always zero.
    copy_text(SessionData::dlgdat.hour, "5");
    copy_text(SessionData::dlgdat.second, "05");
    EXPECT_EQ(LogRecordLine(SessionData::dlgdat, LogEntry{}, "").substr(0, 40),
              "\"m01     \" 1999  8 12  5 15 05   0.0  0.");
    // Named by kind and two-digit year in the program directory.
    EXPECT_EQ(LogFilePath("/opt/velkarn", SessionData::dlgdat, false), "/opt/velkarn/photo99.log");
    EXPECT_EQ(LogFilePath("/opt/velkarn", SessionData::dlgdat, true), "/opt/velkarn/video99.log");
    copy_text(SessionData::dlgdat.year, "99");
    EXPECT_EQ(LogFilePath("/x", SessionData::dlgdat, false), "/x/photo.log");
}

TEST(LogFile, FirstSaveWritesTheHeaderLaterSavesAppendOnlyWithTheDefaultStation) {
    ScratchDir dir;
    SessionData s;
    FillExampleSession(s);
    copy_text(opt.station, "Kestrup");  // not the session's station
    ASSERT_EQ(Save(s, dir), 1);
    const std::string first = ReadText(dir.file("photo99.log"));
    ASSERT_TRUE(first.starts_with(kHeader));
    const std::string record = first.substr(std::string(kHeader).size());
    EXPECT_TRUE(record.ends_with(" \"img01   \" \"Kestrup           \"\n")) << record;
    ASSERT_EQ(Save(s, dir), 1);
    EXPECT_EQ(ReadText(dir.file("photo99.log")), first + record);
}

TEST(LogFile, TooFewMeasurementsOrNoPlateSolutionSaveTheFileButLogNothing) {
    struct Case {
        const char* what;
        void (*change)(SessionData&);
    };
    const Case cases[] = {
        // Two stars and one meteor point: the save and command-line tests.
        {"three stars, one hidden", [](SessionData& s) { s.stars[0].hidden = 1; s.nhide = 1; }},
        {"all points in one direction",
         [](SessionData& s) { s.meteors[1].x = s.meteors[0].x; s.meteors[1].y = s.meteors[0].y; }},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        SessionData s;
        FillExampleSession(s);
        c.change(s);
        EXPECT_EQ(Save(s, dir), 2) << c.what;
        EXPECT_TRUE(std::filesystem::exists(dir.file("m01.dar"))) << c.what;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "photo99.log")) << c.what;
    }
}

TEST(LogFile, ALogLineThatCannotBeWrittenIsReportedWhileTheSessionIsSaved) {
    ScratchDir dir;
    SessionData s;
    FillExampleSession(s);
    // Cannot be opened: a directory in its place.
    std::filesystem::create_directory(dir.path() / "photo99.log");
    errno = 0;
    EXPECT_EQ(Save(s, dir), 3);
    EXPECT_EQ(errno, EISDIR);
    EXPECT_EQ(ReadText(dir.file("m01.dar")), kExampleFile);
    // Cannot be written: a full disk.
    std::filesystem::remove(dir.path() / "photo99.log");
    std::filesystem::remove(dir.path() / "m01.dar");
    std::filesystem::create_symlink("/dev/full", dir.path() / "photo99.log");
    EXPECT_EQ(Save(s, dir), 3);
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_EQ(ReadText(dir.file("m01.dar")), kExampleFile);
    EXPECT_EQ(LogFailureText(ENOSPC),
              "The session has been saved, but the meteor has not been included in the log file:\n"
              "the disk is full.");
}

TEST(LogFile, ALogWhoseLastLineWasCutOffGetsTheNewLineOnALineOfItsOwn) {
    ScratchDir dir;
    SessionData s;
    FillExampleSession(s);
    WriteText(dir.file("photo99.log"), kHeader + std::string("\"m00     \" 1999  8"));
    ASSERT_EQ(Save(s, dir), 1);
    const std::string text = ReadText(dir.file("photo99.log"));
    EXPECT_EQ(CountLines(text), 3);
    EXPECT_NE(text.find("\"m00     \" 1999  8\n\"m01     \" 1999  8 12"), std::string::npos) << text;
}
