// Files, list texts and the command line's JSON keep their decimal point
// under a desktop locale with a decimal comma.
#include <gtest/gtest.h>

#include "files/json_writer.h"
#include "files/log_file.h"
#include "files/settings_file.h"
#include "files/station_list.h"
#include "platform/scripted.h"
#include "session/session_data.h"
#include "session_file_support.h"
#include "support/comma_locale.h"

using namespace testing_support;

namespace {

std::string SavedExample(const ScratchDir& dir, const char* name) {
    SessionData s;
    FillExampleSession(s);
    EXPECT_NE(SaveIn(s, dir, name), 0);
    return ReadText(dir.file(name));
}

}  // namespace

TEST(CommaLocale, SessionFilesAreWrittenAndReadWithADecimalPoint) {
    ScratchDir dir;
    const std::string c_text = SavedExample(dir, "c");
    CommaLocale comma;
    ASSERT_TRUE(comma.active());
    EXPECT_EQ(SavedExample(dir, "comma"), c_text);

    WriteText(dir.file("m01.dar"), kExampleFile);
    SessionData s;
    ASSERT_EQ(RetrieveFrom(s, dir.file("m01.dar")), 5);
    EXPECT_FLOAT_EQ(s.stars[0].mag, 2.5f);
    EXPECT_NEAR(s.stars[0].ra, 5.5, 1e-5);
    EXPECT_FLOAT_EQ(s.stars[0].pmra, 0.001f);
    EXPECT_EQ(s.stars[0].x, (std::vector<float>{10.0f, 10.002f}));
    EXPECT_FLOAT_EQ(s.x0, 11.0f);
}

TEST(CommaLocale, SettingsAndStationListKeepTheirNumbers) {
    ScratchDir dir;
    SettingsEnvironment env{dir.path(), "/home/Observer", 1920, 1080};
    WriteText(SettingsPath(env), "SkycatParms=2.50 6.5\n");
    StationData station;
    copy_text(station.name, "Darnholm");
    copy_text(station.latsec, "0.5");
    copy_text(station.lonsec, "2.5");
    const std::string c_record = StationRecord(station);
    CommaLocale comma;
    ASSERT_TRUE(comma.active());
    Options o;
    const StartSettings start = GetIniValues(env, o);
    EXPECT_FLOAT_EQ(o.radius, 2.5f);
    EXPECT_FLOAT_EQ(o.limit, 6.5f);
    ASSERT_TRUE(WriteIniValues(env, o, start, start.window, false));
    EXPECT_NE(ReadText(SettingsPath(env)).find("SkycatParms=2.50   6.5\n"), std::string::npos);

    EXPECT_EQ(StationRecord(station), c_record);
    EXPECT_NE(c_record.find("   0.5"), std::string::npos);
}

TEST(CommaLocale, LogLinesAndJsonNumbersKeepTheirDecimalPoint) {
    CommaLocale comma;
    ASSERT_TRUE(comma.active());
    SetExampleExposure();
    LogEntry e;
    e.w = 12.3456;
    e.sig = 0.0123;
    const std::string line = LogRecordLine(SessionData::dlgdat, e, "Darnholm");
    EXPECT_NE(line.find("   0.0 12.35 0.00   0.000"), std::string::npos) << line;
    EXPECT_EQ(line.find(','), std::string::npos) << line;

    JsonWriter j;
    j.BeginObject();
    j.Value("x", 2.5);
    j.EndObject();
    EXPECT_EQ(j.str(), "{\"x\":2.5}");
}
