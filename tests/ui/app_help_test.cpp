// Help > Manual: the program's own help window on the shipped manual,
// opened at its contents; every link of the manual leads somewhere.
#include <QRegularExpression>
#include <QTextBrowser>
#include <map>

#include "main_window_fixture.h"
#include "ui/app/help_window.h"

namespace ui_test {
namespace {

const fs::path kManual = fs::path(VELKARN_SOURCE_DIR) / "docs" / "manual";

class Help : public MainWindowTest {};

TEST_F(Help, ManualOpensInTheProgramsOwnWindowAtItsContentsOrIsReportedMissing) {
    Start();
    ASSERT_TRUE(Choose(cmd::HelpManual));
    THelpWindow* help = window_->HelpWin();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    QTextBrowser* browser = help->browser();
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(QString::fromStdString((kManual / "index.html").string())));
    EXPECT_EQ(browser->documentTitle(), "Velkarn manual");

    // Somewhere else in the manual, Help > Manual goes back to the contents.
    browser->setSource(QUrl::fromLocalFile(QString::fromStdString((kManual / "files.html").string())));
    EXPECT_EQ(browser->documentTitle(), "Files read and written");
    ASSERT_TRUE(Choose(cmd::HelpManual));
    EXPECT_EQ(browser->documentTitle(), "Velkarn manual");
    EXPECT_EQ(window_->HelpWin(), help) << "one help window";

    // It closes with the program.
    window_->close();
    EXPECT_FALSE(help->isVisible());

    // A manual that cannot be found is reported.
    manual_dir_ = dir_ / "no-manual";
    Start();
    ASSERT_TRUE(Choose(cmd::HelpManual));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption, "Manual");
    EXPECT_NE(messages_.shown[0].text.find("no-manual"), std::string::npos) << messages_.shown[0].text;
    EXPECT_EQ(window_->HelpWin(), nullptr);
}

// Every link leads to a page and anchor that exist, and every page is
// reachable from the contents.
TEST(Manual, EveryLinkLeadsToAPageAndAnchorThatExist) {
    const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    std::map<std::string, QString> pages;
    for (const auto& entry : fs::directory_iterator(kManual))
        if (entry.path().extension() == ".html")
            pages[entry.path().filename().string()] = QString::fromStdString(testing_support::ReadText(entry.path()));
    int links = 0;
    for (const auto& [name, text] : pages) {
        for (auto it = href.globalMatch(text); it.hasNext();) {
            const QString target = it.next().captured(1), file = target.section('#', 0, 0), id = target.section('#', 1);
            if (target.startsWith("http")) continue;
            ++links;
            const fs::path page = kManual / (file.isEmpty() ? name : file.toStdString());
            ASSERT_TRUE(fs::exists(page)) << name << " links to " << target.toStdString();
            const QRegularExpression anchor("(?:name|id)=\"" + QRegularExpression::escape(id) + "\"");
            EXPECT_TRUE(id.isEmpty() || QString::fromStdString(testing_support::ReadText(page)).contains(anchor))
                << name << " links to the missing anchor " << target.toStdString();
        }
        EXPECT_TRUE(name == "index.html" || pages["index.html"].contains(QString::fromStdString("href=\"" + name)))
            << name << " is not reachable from the contents";
    }
    EXPECT_GT(links, 20);
}

}  // namespace
}  // namespace ui_test
