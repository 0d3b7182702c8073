// Help > Manual: the program's own help window on the shipped manual,
// opened at its contents; every link of the manual leads somewhere.
#include <QRegularExpression>
#include <QTextBrowser>
#include <set>

#include "main_window_fixture.h"
#include "ui/app/help_window.h"

namespace ui_test {
namespace {

const fs::path kManual = fs::path(VELKARN_SOURCE_DIR) / "docs" / "manual";

class Help : public MainWindowTest {};

TEST_F(Help, ManualOpensInTheProgramsOwnWindowAtItsContents) {
    Start();
    ASSERT_TRUE(Choose(cmd::HelpManual));
    THelpWindow* help = window_->HelpWin();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    QTextBrowser* browser = help->browser();
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(QString::fromStdString((kManual / "index.html").string())));
    EXPECT_EQ(browser->documentTitle(), "Velkarn manual");
    EXPECT_TRUE(browser->toPlainText().contains("Contents"));

    // Somewhere else in the manual, Help > Manual goes back to the contents.
    browser->setSource(QUrl::fromLocalFile(QString::fromStdString((kManual / "files.html").string())));
    EXPECT_EQ(browser->documentTitle(), "Files read and written");
    ASSERT_TRUE(Choose(cmd::HelpManual));
    EXPECT_EQ(browser->documentTitle(), "Velkarn manual");
    EXPECT_EQ(window_->HelpWin(), help) << "one help window";

    // It closes with the program.
    window_->close();
    EXPECT_FALSE(help->isVisible());
}

TEST_F(Help, AManualThatCannotBeFoundIsReported) {
    manual_dir_ = dir_ / "no-manual";
    Start();
    ASSERT_TRUE(Choose(cmd::HelpManual));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption, "Manual");
    EXPECT_NE(messages_.shown[0].text.find("no-manual"), std::string::npos);
    EXPECT_EQ(window_->HelpWin(), nullptr);
}

TEST(Manual, EveryLinkLeadsToAPageAndAnchorThatExist) {
    const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    const QRegularExpression anchor(QStringLiteral("(?:name|id)=\"([^\"]+)\""));
    std::set<std::string> pages;
    int links = 0;
    for (const auto& entry : fs::directory_iterator(kManual)) {
        if (entry.path().extension() != ".html") continue;
        pages.insert(entry.path().filename().string());
        const QString text = QString::fromStdString(ReadFile(entry.path()));
        for (auto it = href.globalMatch(text); it.hasNext();) {
            const QString target = it.next().captured(1);
            if (target.startsWith("http")) continue;
            ++links;
            const QString file = target.section('#', 0, 0);
            const QString name = target.section('#', 1);
            const fs::path page = file.isEmpty() ? entry.path() : kManual / file.toStdString();
            ASSERT_TRUE(fs::exists(page)) << entry.path().filename() << " links to " << target.toStdString();
            if (name.isEmpty()) continue;
            bool found = false;
            const QString target_text = QString::fromStdString(ReadFile(page));
            for (auto a = anchor.globalMatch(target_text); a.hasNext();) found |= a.next().captured(1) == name;
            EXPECT_TRUE(found) << entry.path().filename() << " links to the missing anchor " << target.toStdString();
        }
    }
    EXPECT_GT(links, 20);
    // Every page is reachable from the contents.
    const std::string contents = ReadFile(kManual / "index.html");
    for (const std::string& page : pages) {
        if (page == "index.html") continue;
        EXPECT_NE(contents.find("href=\"" + page), std::string::npos) << page;
    }
}

}  // namespace
}  // namespace ui_test
