// File > Export report: the CSV and the JSON of a known session, the JSON the
// very text `velkarn-cli reduce --json` prints, and a failed export that
// leaves nothing behind.
#include <gtest/gtest.h>

#include "support/cli_run.h"

#include "shell/command_ids.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

class ExportReport : public Shell {};

}  // namespace

TEST_F(ExportReport, WritesTheCsvAndTheJsonOfTheCommandLineAndAFailureOrAnOldReportLeavesNothingBehind) {
    const std::string example = Example("per0812a.dar");
    Retrieve(example);  // on a blank image, as the command line reduces it
    ASSERT_TRUE(cmd().Enabled(cmd::ExportReport));
    const auto before = SessionFields(session(), SessionData::dlgdat);

    files_.answers.push_back(Path("per0812a.csv").string());
    cmd().WMExportReport();
    EXPECT_EQ(messages_.shown.size(), 0u) << Captions()[0];
    EXPECT_EQ(files_.asked.back().request.file_name, "per0812a");
    EXPECT_EQ(SessionFields(session(), SessionData::dlgdat), before) << "exporting changes nothing";
    EXPECT_EQ(sf.changed, 0);

    EXPECT_EQ(FileText(Path("per0812a.json")), testing_support::RunCli("reduce '" + example + "' --json").out);

    const std::string csv = FileText(Path("per0812a.csv"));
    EXPECT_TRUE(csv.starts_with("star,mag,ra_hours,de_degrees,x_mm,y_mm,hidden,oc_ra_arcsec,oc_de_arcsec,"
                                "sd_reversed_arcsec,surround_reversed_percent\nAlp Per,1.79,3.405389,"))
        << csv;
    EXPECT_NE(csv.find("\n\npoint,label,frame,x_mm,y_mm,ra_hours,de_degrees\n1,,"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\n\nquantity,value\norder,"), std::string::npos) << csv;
    // Header, 19 stars, blank, header, 12 points, blank, 13 quantities.
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 19 + 1 + 1 + 12 + 1 + 13);

    // The report's numbers are the JSON's, digit for digit.
    const std::string json = FileText(Path("per0812a.json"));
    const std::size_t v = json.find("\"velocity_degrees_per_second\":") + 30;
    const std::string velocity = json.substr(v, json.find(',', v) - v);
    EXPECT_NE(csv.find("\nvelocity_degrees_per_second," + velocity + "\n"), std::string::npos) << velocity;

    // A failure says why and leaves nothing behind.
    files_.answers.push_back(Path("missing/dir/r").string());
    cmd().WMExportReport();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption, "Export report");
    EXPECT_TRUE(messages_.shown[0].text.starts_with("Report not written.\n")) << messages_.shown[0].text;
    EXPECT_FALSE(fs::exists(Path("missing")));

    // An old report: No asks again, the dialog's Cancel ends with it kept.
    std::ofstream(Path("r.json")) << "old";
    files_.answers.push_back(Path("r.png").string());
    files_.answers.push_back(std::nullopt);
    messages_.answers.push_back(MbAnswer::No);
    cmd().WMExportReport();
    EXPECT_EQ(messages_.shown.back().text, "Report already exists. Overwrite?");
    EXPECT_EQ(FileText(Path("r.json")), "old");
    EXPECT_FALSE(fs::exists(Path("r.csv")));
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_EQ(entry.path().filename().string().find(".velkarn-"), std::string::npos) << entry.path();
}

}  // namespace shell_test
