// The analysis view: its rows for a shipped example are the numbers
// velkarn-cli reduce prints, it scrolls when the rows do not fit, and its
// context menu hides, unhides and deletes stars.
#include <QScrollBar>
#include <sstream>

#include "main_window_fixture.h"
#include "support/cli_run.h"

namespace ui_test {
namespace {

// The words of a text, blanks and tabs between them made one blank.
std::string Words(const std::string& s) {
    std::istringstream in(s);
    std::string out;
    for (std::string w; in >> w;) out += (out.empty() ? "" : " ") + w;
    return out;
}

class AnalysisView : public MainWindowTest {
protected:
    void ExampleInAnalysis(int width = 900, int height = 600) {
        Start(width, height);
        Retrieve(Example("per0812a.dar"));
        ASSERT_TRUE(Choose(cmd::WindowAnalysis));
        Painted(&analysis());
    }
    // The row under the middle of star row i as shown.
    QPoint RowPoint(int i) {
        return {200, (i - analysis().Scroll().first_row) * analysis().LineHeight() + 40 + analysis().LineHeight() / 2};
    }
};

TEST_F(AnalysisView, RowsOfAnExampleShowTheNumbersOfTheCommandLineTool) {
    ExampleInAnalysis();
    // The residual table of velkarn-cli reduce, one line per star, as words.
    const testing_support::CliRun run = testing_support::RunCli("reduce '" + Example("per0812a.dar") + "'");
    ASSERT_EQ(run.status, 0) << run.out;
    std::vector<std::string> cli;
    bool in_table = false;
    std::istringstream out(run.out);
    for (std::string line; std::getline(out, line);) {
        if (in_table && (line.rfind("rms", 0) == 0 || line.empty())) break;
        if (in_table) cli.push_back(Words(line));
        in_table = in_table || line.rfind("Star ", 0) == 0;
    }
    const AnalysisTable& table = analysis().Table();
    ASSERT_EQ(cli.size(), 19u);
    ASSERT_EQ(table.rows.size(), 19u);
    for (std::size_t i = 0; i < cli.size(); ++i) {
        // Name, Mv, RA, DE, X, Y, O-C RA and DE, st.dev with the star hidden
        // and surround; the row's end marker is the window's own.
        std::string shown = table.rows[i];
        shown.erase(shown.find_last_not_of("\t!") + 1);
        EXPECT_EQ(Words(shown), cli[i]);
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
    // Column k of row i as shown, without its blanks.
    const auto column = [this](int i, int k) {
        return Words(QString::fromStdString(analysis().Table().rows[i]).split('\t')[k].toStdString());
    };
    EXPECT_EQ(RightClick(&analysis(), RowPoint(3)),
              (std::vector<std::string>{"&Hide for analysis", "&Switch to measuring", "&Delete"}));
    RightClick(&analysis(), RowPoint(3), [](QMenu* m) { ClickItem(m, cmd::CtxHide); });
    EXPECT_EQ(session().stars[3].hidden, 1);
    EXPECT_EQ(SelectedStar::iselect, -1);
    Painted(&analysis());
    EXPECT_EQ(column(3, 6), "") << "a hidden star has no residuals";
    RightClick(&analysis(), RowPoint(3), [](QMenu* m) { ClickItem(m, cmd::CtxUnhide); });
    Painted(&analysis());
    EXPECT_NE(column(3, 6), "");
    const std::string name = Words(session().stars[3].name);
    RightClick(&analysis(), RowPoint(3), [](QMenu* m) { ClickItem(m, cmd::CtxDelete); });
    Painted(&analysis());
    EXPECT_EQ(analysis().Table().rows.size(), 18u);
    EXPECT_NE(column(3, 0), name);

    // Outside the rows only the switch is offered and the selection goes.
    RightClick(&analysis(), RowPoint(5));
    EXPECT_EQ(RightClick(&analysis(), QPoint(200, 10)), std::vector<std::string>{"&Switch to measuring"});
    EXPECT_EQ(SelectedStar::iselect, -1);
    // The selected row is drawn white on red.
    RightClick(&analysis(), RowPoint(2));
    const QImage shown = Painted(&analysis());
    const int y0 = 40 + 2 * analysis().LineHeight();
    int red = 0;
    for (int x = 0; x < 600; ++x)
        for (int y = y0; y < y0 + analysis().LineHeight(); ++y) red += shown.pixelColor(x, y) == QColor(255, 0, 0);
    EXPECT_GT(red, 100);
    RightClick(&analysis(), RowPoint(30), [](QMenu* m) { ClickItem(m, cmd::CtxSwitch); });
    EXPECT_TRUE(display().isVisible());
    EXPECT_FALSE(analysis().isVisible());
}

}  // namespace
}  // namespace ui_test
