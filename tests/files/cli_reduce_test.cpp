#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/scripted.h"
#include "session/session_data.h"
#include "session_file_support.h"

using namespace testing_support;

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& s) { return "'" + s + "'"; }

Outcome Reduce(const ScratchDir& dir, const std::vector<std::string>& args) {
    std::string command = Quote(VELKARN_CLI) + " reduce";
    for (const auto& a : args) command += " " + Quote(a);
    command += " >" + Quote(dir.file("stdout")) + " 2>" + Quote(dir.file("stderr"));
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(dir.file("stdout")),
            ReadText(dir.file("stderr"))};
}

std::string Example(const char* name) {
    return (std::filesystem::path(VELKARN_SOURCE_DIR) / "data/examples" / name).string();
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

std::string ExampleSessionFile(const ScratchDir& dir, int astrometry, bool hide_one) {
    SessionData s;
    FillExampleSession(s);
    SessionData::dlgdat.astrometry = astrometry;
    if (hide_one) {
        s.stars[0].hidden = 1;
        s.nhide = 1;
    }
    SaveIn(s, dir, "made.dar");
    return dir.file("made.dar");
}

// One line on standard error, nothing on standard output.
void ExpectOneLineError(const Outcome& o, int status, const std::string& part) {
    EXPECT_EQ(o.status, status) << o.err;
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(Count(o.err, "\n"), 1) << o.err;
    EXPECT_NE(o.err.find(part), std::string::npos) << o.err;
}

}  // namespace

TEST(CliReduce, ReportsTheShippedExamples) {
    ScratchDir dir;
    const Outcome photo = Reduce(dir, {Example("per0812a.dar")});
    ASSERT_EQ(photo.status, 0) << photo.err;
    EXPECT_EQ(photo.err, "");
    EXPECT_NE(photo.out.find("Astrometry    Turner"), std::string::npos);
    EXPECT_NE(photo.out.find("Surround      100%"), std::string::npos);
    EXPECT_NE(photo.out.find("Alp Per    1.8    3 24 19.4   49 51 40"), std::string::npos) << photo.out;
    EXPECT_NE(photo.out.find("    8 Maximum              7"), std::string::npos) << photo.out;
    EXPECT_NE(photo.out.find("Velocity      "), std::string::npos);

    const Outcome video = Reduce(dir, {Example("spo0813b.kes")});
    ASSERT_EQ(video.status, 0) << video.err;
    EXPECT_NE(video.out.find("(video, blank 720 x 576 pixels)"), std::string::npos) << video.out;
    EXPECT_NE(video.out.find("Order         3"), std::string::npos);
    EXPECT_NE(video.out.find("    9                    122"), std::string::npos);  // after the gap
}

TEST(CliReduce, JsonHoldsTheSameContentAsOneObject) {
    ScratchDir dir;
    const Outcome o = Reduce(dir, {Example("per0812a.dar"), "--json"});
    ASSERT_EQ(o.status, 0) << o.err;
    ASSERT_TRUE(o.out.starts_with("{\"file\":"));
    EXPECT_TRUE(o.out.ends_with("}\n"));
    EXPECT_EQ(Count(o.out, "\n"), 1);
    EXPECT_EQ(Count(o.out, "\"oc_ra_arcsec\":"), 19);
    EXPECT_EQ(Count(o.out, "\"ra_hours\":"), 19 + 12);
    EXPECT_NE(o.out.find("\"name\":\"Alp Per\",\"mag\":1.79,\"ra_hours\":3.405389"), std::string::npos);
    EXPECT_NE(o.out.find("\"time\":\"23:15:42\""), std::string::npos);
    EXPECT_NE(o.out.find("\"velocity_degrees_per_second\":22.19"), std::string::npos) << o.out;
    EXPECT_EQ(o.out.find("null"), std::string::npos);
}

TEST(CliReduce, OrderOptionActsLikeTheOrderButtons) {
    ScratchDir dir;
    const Outcome two = Reduce(dir, {Example("per0812a.dar"), "--order", "2"});
    ASSERT_EQ(two.status, 0) << two.err;
    EXPECT_NE(two.out.find("Order         2"), std::string::npos);

    ExpectOneLineError(Reduce(dir, {ExampleSessionFile(dir, 1, false), "--order", "3"}), 1,
                       "order 3 needs at least 11 visible stars");
    ExpectOneLineError(Reduce(dir, {Example("per0812a.dar"), "--order", "4"}), 2, "--order");
}

TEST(CliReduce, SaveWritesTheSessionAndItsLogLine) {
    ScratchDir dir;
    const std::string saved = dir.file("again.dar");
    const Outcome o =
        Reduce(dir, {Example("per0812a.dar"), "--save", saved, "--program-dir", dir.path().string()});
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string original = ReadText(Example("per0812a.dar"));
    const std::string text = ReadText(saved);
    EXPECT_EQ(text.substr(0, 300), original.substr(0, 300));
    EXPECT_TRUE(text.ends_with("Velkarn 3.2"));
    const std::string log = ReadText(dir.path() / "photo99.log");
    EXPECT_EQ(Count(log, "\n"), 2);
    EXPECT_NE(log.find("\"per0812a\" 1999  8 12 23 15 42   0.0 22.2"), std::string::npos) << log;
    EXPECT_NE(log.find("\"ph990812\" \"Darnholm          \""), std::string::npos) << log;
}

TEST(CliReduce, SaveWhoseLogLineCannotBeWrittenSaysSoAndFails) {
    ScratchDir dir;
    std::filesystem::create_directory(dir.path() / "photo99.log");
    const Outcome o = Reduce(dir, {Example("per0812a.dar"), "--save", dir.file("again.dar"), "--program-dir",
                                   dir.path().string()});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("has not been included in the log file: a directory has the log file's name."),
              std::string::npos)
        << o.err;
    EXPECT_TRUE(std::filesystem::exists(dir.file("again.dar")));
}

TEST(CliReduce, RedskyFishEyeQuestionIsAnsweredNoUnlessYesIsGiven) {
    ScratchDir dir;
    const std::string redsky = ExampleSessionFile(dir, 0, false);
    const std::string target = dir.file("out.dar");
    ExpectOneLineError(Reduce(dir, {redsky, "--save", target, "--program-dir", dir.path().string()}),
                       1, "not a fish-eye image");
    EXPECT_FALSE(std::filesystem::exists(target));
    const Outcome yes =
        Reduce(dir, {redsky, "--save", target, "--program-dir", dir.path().string(), "--yes"});
    EXPECT_EQ(yes.status, 0) << yes.err;
    EXPECT_TRUE(std::filesystem::exists(target));
}

TEST(CliReduce, BadInputGivesOneLineAndANonZeroStatus) {
    ScratchDir dir;
    ExpectOneLineError(Reduce(dir, {dir.file("nowhere.dar")}), 1, "cannot open");
    ExpectOneLineError(Reduce(dir, {dir.path().string()}), 1, "is a directory");

    WriteText(dir.file("short.dar"), std::string(kExampleFile).substr(0, 400));
    ExpectOneLineError(Reduce(dir, {dir.file("short.dar")}), 1, "not a valid session file");

    ExpectOneLineError(Reduce(dir, {ExampleSessionFile(dir, 1, true)}), 1, "too few stars");

    ExpectOneLineError(Reduce(dir, {}), 2, "no session file");
    ExpectOneLineError(Reduce(dir, {Example("per0812a.dar"), "--frobnicate"}), 2, "unknown option");
    ExpectOneLineError(Reduce(dir, {Example("per0812a.dar"), "--save"}), 2, "needs a value");

    const std::string nowhere = dir.file("missing/out.dar");
    ExpectOneLineError(Reduce(dir, {Example("per0812a.dar"), "--save", nowhere, "--program-dir",
                                    dir.path().string()}),
                       1, "cannot write");
}

TEST(CliReduce, SaveWithTooFewPointsWarnsButSucceeds) {
    ScratchDir dir;
    std::string text = kExampleFile;
    // Keep the first meteor point only: three stars, one point.
    text.replace(text.find("    5    3"), 10, "    4    3");
    text.erase(text.find("Maximum"), text.find('\n', text.find("Maximum")) + 1 - text.find("Maximum"));
    WriteText(dir.file("one.dar"), text);
    const Outcome o = Reduce(
        dir, {dir.file("one.dar"), "--save", dir.file("out.dar"), "--program-dir", dir.path().string()});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.err.find("not been included in the log file"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir.file("out.dar")));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "photo99.log"));
}
