#include <gtest/gtest.h>

#include <cerrno>

#include "files/log_file.h"
#include "files/options.h"
#include "session_file_support.h"

using namespace testing_support;

namespace {

const char* kHeader =
    "Meteor     year mo day H  M  S   mag   w    dw    RAB     DEB     RAE     DEE     sig sur  "
    "image      station            \n";

int Save(SessionData& s, const ScratchDir& dir) { return SaveIn(s, dir, "m01.dar"); }

using LogFile = ExampleSessionTest;

}  // namespace

TEST(LogRecord, FormatsTheDarnholmExampleByteForByteAndNamesItsFile) {
    SetExampleExposure();
    const LogEntry e{12.3456, 0.5, 82.5, 7.25, 85.0, 8.0, 0.0123, 100};
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

TEST_F(LogFile, FirstSaveWritesTheHeaderLaterSavesAppendAndACutOffLastLineIsEnded) {
    copy_text(opt.station, "Kestrup");  // not the session's station
    ASSERT_EQ(Save(s, dir), 1);
    const std::string first = ReadText(dir.file("photo99.log"));
    ASSERT_TRUE(first.starts_with(kHeader));
    const std::string record = first.substr(std::string(kHeader).size());
    EXPECT_TRUE(record.ends_with(" \"img01   \" \"Kestrup           \"\n")) << record;
    ASSERT_EQ(Save(s, dir), 1);
    EXPECT_EQ(ReadText(dir.file("photo99.log")), first + record);

    WriteText(dir.file("photo99.log"), kHeader + std::string("\"m00     \" 1999  8"));
    ASSERT_EQ(Save(s, dir), 1);
    const std::string text = ReadText(dir.file("photo99.log"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    EXPECT_NE(text.find("\"m00     \" 1999  8\n\"m01     \" 1999  8 12"), std::string::npos) << text;
}

TEST_F(LogFile, TooFewMeasurementsOrNoPlateSolutionSaveTheFileButLogNothing) {
    // Three stars, one of them hidden (every point in one direction: the
    // reduce command's save test).
    s.stars[0].hidden = s.nhide = 1;
    EXPECT_EQ(Save(s, dir), 2);
    EXPECT_TRUE(std::filesystem::exists(dir.file("m01.dar")));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "photo99.log"));
}

TEST_F(LogFile, ALogLineThatCannotBeWrittenIsReportedWhileTheSessionIsSaved) {
    // Cannot be opened: a directory in its place.
    std::filesystem::create_directory(dir.path() / "photo99.log");
    errno = 0;
    EXPECT_EQ((std::pair{Save(s, dir), errno}), std::pair(3, EISDIR));  // braces: Save before errno
    EXPECT_EQ(ReadText(dir.file("m01.dar")), kExampleFile);
    // Cannot be written: a full disk.
    std::filesystem::remove(dir.path() / "photo99.log");
    std::filesystem::remove(dir.path() / "m01.dar");
    std::filesystem::create_symlink("/dev/full", dir.path() / "photo99.log");
    EXPECT_EQ((std::pair{Save(s, dir), errno}), std::pair(3, ENOSPC));
    EXPECT_EQ(ReadText(dir.file("m01.dar")), kExampleFile);
    EXPECT_EQ(LogFailureText(ENOSPC),
              "The session has been saved, but the meteor has not been included in the log file:\n"
              "the disk is full.");
}

