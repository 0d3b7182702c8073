#include <gtest/gtest.h>
#include <sys/wait.h>

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

// The example session, changed, saved in the directory.
std::string ExampleSessionFile(const ScratchDir& dir, void (*change)(SessionData&) = nullptr) {
    SessionData s;
    FillExampleSession(s);
    if (change) change(s);
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
    for (const char* part : {"Astrometry    Turner", "Alp Per    1.8    3 24 19.4   49 51 40",
                             "    8 Maximum              7", "Velocity      "})
        EXPECT_NE(photo.out.find(part), std::string::npos) << part << " in\n" << photo.out;

    const Outcome video = Reduce(dir, {Example("spo0813b.kes")});
    ASSERT_EQ(video.status, 0) << video.err;
    // The point after the gap keeps its frame.
    for (const char* part : {"(video, blank 720 x 576 pixels)", "Order         3", "    9                    122"})
        EXPECT_NE(video.out.find(part), std::string::npos) << part << " in\n" << video.out;

    const Outcome o = Reduce(dir, {Example("per0812a.dar"), "--json"});
    ASSERT_EQ(o.status, 0) << o.err;
    ASSERT_TRUE(o.out.starts_with("{\"file\":"));
    EXPECT_TRUE(o.out.ends_with("}\n"));
    EXPECT_EQ(std::pair(Count(o.out, "\n"), Count(o.out, "\"ra_hours\":")), std::pair(1, 19 + 12));
    EXPECT_NE(o.out.find("\"time\":\"23:15:42\""), std::string::npos);
    EXPECT_EQ(o.out.find("null"), std::string::npos);

    const Outcome two = Reduce(dir, {Example("per0812a.dar"), "--order", "2"});
    ASSERT_EQ(two.status, 0) << two.err;
    EXPECT_NE(two.out.find("Order         2"), std::string::npos);

    ExpectOneLineError(Reduce(dir, {ExampleSessionFile(dir), "--order", "3"}), 1,
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

    // Every point in one direction, no line for the log: a warning, but the session is saved.
    ScratchDir few;
    const std::string one_way = ExampleSessionFile(few, [](SessionData& s) { s.meteors[1] = s.meteors[0]; });
    const Outcome warned = Reduce(few, Saving(few, one_way, few.file("out.dar")));
    EXPECT_EQ(warned.status, 0) << warned.err;
    EXPECT_NE(warned.err.find("not been included in the log file"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(few.file("out.dar")));
    EXPECT_FALSE(std::filesystem::exists(few.path() / "photo99.log"));
}

TEST(CliReduce, BadInputGivesOneLineAndANonZeroStatusAsDoesAFishEyeQuestionWithoutYes) {
    ScratchDir dir;
    ExpectOneLineError(Reduce(dir, {dir.file("nowhere.dar")}), 1, "cannot open");
    WriteText(dir.file("short.dar"), std::string(kExampleFile).substr(0, 400));
    ExpectOneLineError(Reduce(dir, {dir.file("short.dar")}), 1, "not a valid session file");
    const std::string two_stars = ExampleSessionFile(dir, [](SessionData& s) { s.stars[0].hidden = s.nhide = 1; });
    ExpectOneLineError(Reduce(dir, {two_stars}), 1, "too few stars");
    ExpectOneLineError(Reduce(dir, {}), 2, "no session file");
    ExpectOneLineError(Reduce(dir, {Example("per0812a.dar"), "--save"}), 2, "needs a value");
    ExpectOneLineError(Reduce(dir, Saving(dir, Example("per0812a.dar"), dir.file("missing/out.dar"))), 1,
                       "cannot write");

    // The Redsky fish-eye question is answered no unless --yes is given.
    const std::string target = dir.file("out.dar");
    auto args = Saving(dir, ExampleSessionFile(dir, [](SessionData&) { SessionData::dlgdat.astrometry = 0; }), target);
    ExpectOneLineError(Reduce(dir, args), 1, "not a fish-eye image");
    EXPECT_FALSE(std::filesystem::exists(target));
    args.push_back("--yes");
    const Outcome yes = Reduce(dir, args);
    EXPECT_EQ(yes.status, 0) << yes.err;
    EXPECT_TRUE(std::filesystem::exists(target));
}
