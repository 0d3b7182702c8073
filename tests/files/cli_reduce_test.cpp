#include <gtest/gtest.h>
#include <sys/wait.h>

#include <vector>

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

// --save with the program directory for the log.
std::vector<std::string> Saving(const ScratchDir& dir, const std::string& session, const std::string& target) {
    return {session, "--save", target, "--program-dir", dir.path().string()};
}

}  // namespace

TEST(CliReduce, ReportsTheShippedExamplesAsTextOrJsonAndInTheOrderAsked) {
    ScratchDir dir;
    const Outcome photo = Reduce(dir, {Example("per0812a.dar")});
    ASSERT_EQ(photo.status, 0) << photo.err;
    EXPECT_EQ(photo.err, "");
    EXPECT_NE(photo.out.find("Astrometry    Turner"), std::string::npos);
    EXPECT_NE(photo.out.find("Alp Per    1.8    3 24 19.4   49 51 40"), std::string::npos) << photo.out;
    EXPECT_NE(photo.out.find("    8 Maximum              7"), std::string::npos) << photo.out;
    EXPECT_NE(photo.out.find("Velocity      "), std::string::npos);

    const Outcome video = Reduce(dir, {Example("spo0813b.kes")});
    ASSERT_EQ(video.status, 0) << video.err;
    EXPECT_NE(video.out.find("(video, blank 720 x 576 pixels)"), std::string::npos) << video.out;
    EXPECT_NE(video.out.find("Order         3"), std::string::npos);
    EXPECT_NE(video.out.find("    9                    122"), std::string::npos);  // after the gap

    const Outcome o = Reduce(dir, {Example("per0812a.dar"), "--json"});
    ASSERT_EQ(o.status, 0) << o.err;
    ASSERT_TRUE(o.out.starts_with("{\"file\":"));
    EXPECT_TRUE(o.out.ends_with("}\n"));
    EXPECT_EQ(Count(o.out, "\n"), 1);
    EXPECT_EQ(Count(o.out, "\"ra_hours\":"), 19 + 12);
    EXPECT_NE(o.out.find("\"time\":\"23:15:42\""), std::string::npos);
    EXPECT_EQ(o.out.find("null"), std::string::npos);

    const Outcome two = Reduce(dir, {Example("per0812a.dar"), "--order", "2"});
    ASSERT_EQ(two.status, 0) << two.err;
    EXPECT_NE(two.out.find("Order         2"), std::string::npos);

    ExpectOneLineError(Reduce(dir, {ExampleSessionFile(dir, 1, false), "--order", "3"}), 1,
                       "order 3 needs at least 11 visible stars");
    ExpectOneLineError(Reduce(dir, {Example("per0812a.dar"), "--order", "4"}), 2, "--order");
}

TEST(CliReduce, SaveWritesTheSessionAndItsLogLineAndSaysWhenTheLineIsMissing) {
    ScratchDir dir;
    const std::string saved = dir.file("again.dar");
    const Outcome o = Reduce(dir, Saving(dir, Example("per0812a.dar"), saved));
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(ReadText(saved).substr(0, 300), ReadText(Example("per0812a.dar")).substr(0, 300));
    const std::string log = ReadText(dir.path() / "photo99.log");
    EXPECT_EQ(Count(log, "\n"), 2);
    EXPECT_NE(log.find("\"per0812a\" 1999  8 12 23 15 42   0.0 22.2"), std::string::npos) << log;
    EXPECT_NE(log.find("\"ph990812\" \"Darnholm          \""), std::string::npos) << log;

    // A log line that cannot be written fails the command.
    ScratchDir blocked;
    std::filesystem::create_directory(blocked.path() / "photo99.log");
    const Outcome no_log = Reduce(blocked, Saving(blocked, Example("per0812a.dar"), blocked.file("again.dar")));
    EXPECT_EQ(no_log.status, 1);
    EXPECT_NE(no_log.err.find("has not been included in the log file: a directory has the log file's name."),
              std::string::npos)
        << no_log.err;
    EXPECT_TRUE(std::filesystem::exists(blocked.file("again.dar")));

    // Too few points for the log: a warning, but the session is saved.
    std::string text = kExampleFile;
    text.replace(text.find("    5    3"), 10, "    4    3");
    text.erase(text.find("Maximum"), text.find('\n', text.find("Maximum")) + 1 - text.find("Maximum"));
    ScratchDir few;
    WriteText(few.file("one.dar"), text);
    const Outcome warned = Reduce(few, Saving(few, few.file("one.dar"), few.file("out.dar")));
    EXPECT_EQ(warned.status, 0) << warned.err;
    EXPECT_NE(warned.err.find("not been included in the log file"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(few.file("out.dar")));
    EXPECT_FALSE(std::filesystem::exists(few.path() / "photo99.log"));
}

TEST(CliReduce, RedskyFishEyeQuestionIsAnsweredNoUnlessYesIsGiven) {
    ScratchDir dir;
    const std::string target = dir.file("out.dar");
    auto args = Saving(dir, ExampleSessionFile(dir, 0, false), target);
    ExpectOneLineError(Reduce(dir, args), 1, "not a fish-eye image");
    EXPECT_FALSE(std::filesystem::exists(target));
    args.push_back("--yes");
    const Outcome yes = Reduce(dir, args);
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
    ExpectOneLineError(Reduce(dir, Saving(dir, Example("per0812a.dar"), dir.file("missing/out.dar"))), 1,
                       "cannot write");
}
