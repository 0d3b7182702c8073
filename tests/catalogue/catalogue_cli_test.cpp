// velkarn-cli catalogue on a catalogue written by the test.
#include <gtest/gtest.h>

#include "support/cli_run.h"
#include "test_catalogue.h"

namespace {

using testing_support::RunCli;

class CatalogueCli : public CatalogueDir {
protected:
    void SetUp() override {
        WriteCatalogue({{.ra = 5 + 55 / 60.0 + 10.3 / 3600, .de = 7 + 24 / 60.0 + 25 / 3600.0, .mag = 0.46,
                         .hd = 39801, .flamsteed = 58, .constellation = "Ori"},
                        {.ra = 5.93, .de = 7.25, .mag = 7.5, .hd = 40000, .sao = 113300}});
        WriteIndex({{1893 + 57, 0}});
        dirs_ = " --catalogue-dir " + dir_.string() + " --program-dir " + dir_.string();
    }
    std::string dirs_;
};

TEST_F(CatalogueCli, PrintsTheFullPrecisionRowOfEachCandidate) {
    auto r = RunCli("catalogue name 58 Ori" + dirs_);
    EXPECT_EQ(std::tuple(r.status, r.out), std::tuple(0, "   58 Ori\t0.5\t 5 55 10.3\t  7 24 25\n"));
    r = RunCli("catalogue near 5.92 7.3 --limit 8" + dirs_);
    EXPECT_EQ(std::tuple(r.status, r.out),
              std::tuple(0, "   58 Ori\t0.5\t 5 55 10.3\t  7 24 25\nSAO113300\t7.5\t 5 55 48.0\t  7 15 00\n"));

    r = RunCli("catalogue near 5.92 7.3 --limit 7 --json" + dirs_);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("{\"status\":0,\"candidates\":[{\"name\":\" 58 Ori\",\"mag\":0.46"), std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("SAO113300"), std::string::npos);
}

TEST_F(CatalogueCli, FailedSearchPrintsItsMessageWithExitStatusOneAndBadArgumentsTheUsageWithTwo) {
    auto r = RunCli("catalogue name 12 Ori" + dirs_);
    EXPECT_EQ(std::tuple(r.status, r.out), std::tuple(1, "velkarn-cli catalogue: Invalid Flamsteed name!\n"));

    r = RunCli("catalogue near 12 -40 --json" + dirs_);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("{\"status\":-3,\"message\":\"No stars found."), std::string::npos) << r.out;

    r = RunCli("catalogue near 5.9 7 --catalogue-dir /nonexistent");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("File cannot be opened!"), std::string::npos);

    for (const char* args : {"catalogue near 5.9", "catalogue near 5h 7", "catalogue near 5.9 7 --radius 9",
                             "catalogue find 58 Ori"}) {
        r = RunCli(std::string(args) + dirs_);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.out.find("usage: velkarn-cli catalogue"), std::string::npos) << args;
    }
}

}  // namespace
