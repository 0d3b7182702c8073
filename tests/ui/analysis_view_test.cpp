// The analysis view: its rows for a shipped example are the numbers
// velkarn-cli reduce prints, it scrolls when the rows do not fit, and its
// context menu hides, unhides and deletes stars.
#include <QScrollBar>
#include <sstream>

#include "main_window_fixture.h"
#include "support/cli_run.h"

namespace ui_test {
namespace {

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::string field;
    std::istringstream in(s);
    while (std::getline(in, field, sep)) out.push_back(field);
    return out;
}

std::string Trim(std::string s) {
    s.erase(0, s.find_first_not_of(' '));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// The residual table of velkarn-cli reduce, one line per star: the fields
// separated by blanks (names have a blank inside, so they are cut by
// column).
struct CliRow {
    std::string name;
    std::vector<std::string> fields;  // Mv, RA (3), DE (3), X, Y, O-C RA, O-C DE, st.dev, surr.
};
std::vector<CliRow> CliTable(const std::string& session) {
    const testing_support::CliRun cli = testing_support::RunCli("reduce '" + session + "'");
    EXPECT_EQ(cli.status, 0) << cli.out;
    std::vector<CliRow> rows;
    bool in_table = false;
    for (const std::string& line : Split(cli.out, '\n')) {
        if (line.rfind("Star ", 0) == 0) {
            in_table = true;
            continue;
        }
        if (!in_table) continue;
        if (line.rfind("rms", 0) == 0 || line.empty()) break;
        CliRow row{Trim(line.substr(0, 9)), {}};
        std::istringstream rest(line.substr(9));
        for (std::string f; rest >> f;) row.fields.push_back(f);
        rows.push_back(row);
    }
    return rows;
}

class AnalysisView : public MainWindowTest {
protected:
    void ExampleInAnalysis(int width = 900, int height = 600) {
        Start(width, height);
        Retrieve(Example("per0812a.dar"));
        ASSERT_EQ(session().nstar, 19u);
        ASSERT_TRUE(Choose(cmd::WindowAnalysis));
        ASSERT_TRUE(analysis().isVisible());
        Painted(&analysis());
    }
    // The row under the middle of star row i as shown.
    QPoint RowPoint(int i) {
        const int y = (i - analysis().Scroll().first_row) * analysis().LineHeight() + 40 + analysis().LineHeight() / 2;
        return QPoint(200, y);
    }
    std::vector<std::string> RightClickRow(QPoint p, std::function<void(QMenu*)> then = {}) {
        return RightClick(&analysis(), p, std::move(then));
    }
};

TEST_F(AnalysisView, RowsOfAnExampleShowTheNumbersOfTheCommandLineTool) {
    ExampleInAnalysis();
    const std::vector<CliRow> cli = CliTable(Example("per0812a.dar"));
    const AnalysisTable& table = analysis().Table();
    ASSERT_EQ(cli.size(), 19u);
    ASSERT_EQ(table.rows.size(), 19u);
    for (std::size_t i = 0; i < cli.size(); ++i) {
        SCOPED_TRACE(cli[i].name);
        const std::vector<std::string> f = Split(table.rows[i], '\t');
        ASSERT_GE(f.size(), 10u) << table.rows[i];
        const std::vector<std::string>& c = cli[i].fields;
        ASSERT_EQ(c.size(), 13u);
        EXPECT_EQ(Trim(f[0]), cli[i].name);
        EXPECT_EQ(Trim(f[1]), c[0]);
        EXPECT_EQ(Trim(f[2]), c[1] + " " + c[2] + " " + c[3]);
        EXPECT_EQ(Trim(f[3]), c[4] + " " + c[5] + " " + c[6]);
        EXPECT_EQ(Trim(f[4]), c[7]);
        EXPECT_EQ(Trim(f[5]), c[8]);
        EXPECT_EQ(Trim(f[6]), c[9]);    // O-C RA, "18."
        EXPECT_EQ(Trim(f[7]), c[10]);   // O-C DE
        EXPECT_EQ(Trim(f[8]), c[11]);   // st.dev with the star hidden
        EXPECT_EQ(Trim(f[9]), c[12]);   // surr.
    }
    EXPECT_EQ(sf.recalc, 0) << "the paint that rebuilt the rows clears the request";
}

TEST_F(AnalysisView, ScrollsWhenTheRowsDoNotFitByFiveRowsAPage) {
    ExampleInAnalysis(800, 300);
    QScrollBar* bar = analysis().ScrollBar();
    const int lh = analysis().LineHeight();
    const int fit = (300 - 19 - 40 - 2 * lh) / lh;
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry(), QRect(800 - bar->width(), 40, bar->width(), fit * lh));
    EXPECT_EQ(bar->maximum(), 19 - fit);
    // A click on the bar below its handle pages down.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 20));
    Painted(&analysis());
    EXPECT_EQ(bar->value(), std::min(5, 19 - fit));
    EXPECT_EQ(analysis().Scroll().first_row, bar->value());
    // A window tall enough for every row shows no bar.
    ResizeClient(800, 700);
    Painted(&analysis());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(analysis().Scroll().first_row, 0);
}

// Which items the selection offers is tested on the commands; here the row
// menu reaches them and the view follows.
TEST_F(AnalysisView, TheRowMenuHidesUnhidesDeletesAndSwitchesAndTheSelectedRowIsRed) {
    ExampleInAnalysis();
    const auto columns = [this](int row) { return Split(analysis().Table().rows[row], '\t'); };
    EXPECT_EQ(RightClickRow(RowPoint(3)), (std::vector<std::string>{"&Hide for analysis", "&Switch to measuring", "&Delete"}));
    RightClickRow(RowPoint(3), [](QMenu* m) { ClickItem(m, cmd::CtxHide); });
    EXPECT_EQ(session().stars[3].hidden, 1);
    EXPECT_EQ(SelectedStar::iselect, -1);
    Painted(&analysis());
    EXPECT_EQ(Trim(columns(3)[6]), "") << "a hidden star has no residuals";
    RightClickRow(RowPoint(3), [](QMenu* m) { ClickItem(m, cmd::CtxUnhide); });
    Painted(&analysis());
    EXPECT_NE(Trim(columns(3)[6]), "");
    const std::string name = session().stars[3].name;
    RightClickRow(RowPoint(3), [](QMenu* m) { ClickItem(m, cmd::CtxDelete); });
    Painted(&analysis());
    EXPECT_EQ(analysis().Table().rows.size(), 18u);
    EXPECT_NE(columns(3)[0], name);

    // Outside the rows only the switch is offered and the selection goes.
    RightClickRow(RowPoint(5));
    EXPECT_EQ(RightClickRow(QPoint(200, 10)), std::vector<std::string>{"&Switch to measuring"});
    EXPECT_EQ(SelectedStar::iselect, -1);
    // The selected row is drawn white on red.
    RightClickRow(RowPoint(2));
    const QImage shown = Painted(&analysis());
    const int y0 = 40 + 2 * analysis().LineHeight();
    int red = 0;
    for (int x = 0; x < 600; ++x)
        for (int y = y0; y < y0 + analysis().LineHeight(); ++y) red += shown.pixelColor(x, y) == QColor(255, 0, 0);
    EXPECT_GT(red, 100);
    RightClickRow(RowPoint(30), [](QMenu* m) { ClickItem(m, cmd::CtxSwitch); });
    EXPECT_TRUE(display().isVisible());
    EXPECT_FALSE(analysis().isVisible());
}

}  // namespace
}  // namespace ui_test
