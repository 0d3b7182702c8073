// What the program keeps between runs and how it writes files: the settings
// read at start and written at close, and a session saved under a desktop
// locale with a decimal comma, byte for byte as under "C".
#include <clocale>

#include "main_window_fixture.h"
#include "support/comma_locale.h"
#include "ui/app/velkarn_app.h"

namespace ui_test {
namespace {

class Settings : public MainWindowTest {
protected:
    // The main window as the program makes it and shows it at start.
    Settings() { as_program_ = true; }
};

TEST_F(Settings, AreReadAtStartAndWrittenBackWithTheChangesAtClose) {
    std::ofstream(dir_ / "velkarn.ini") << "[Velkarn]\n"
                                           "Window=30 40 700 500\n"
                                           "MarkCenter=0\n"
                                           "Randomness=4\n"
                                           "SkycatDir=/data/sky\n"
                                           "Station=Kestrup\n";
    Start();
    EXPECT_EQ(window_->geometry(), QRect(30, 40, 700, 500));
    EXPECT_EQ(opt.randomness, 4);
    EXPECT_STREQ(opt.station, "Kestrup");
    EXPECT_FALSE(window_->CommandAction(cmd::OptionMarkCenter)->isChecked());
    // A file from before the catalogue overlay leaves it off.
    EXPECT_FALSE(window_->CommandAction(cmd::ImageShowCatalogue)->isChecked());

    // Three options changed through their menu items.
    text_.answers.push_back({true, "7"});
    ASSERT_TRUE(Choose(cmd::OptionRandom));
    ASSERT_TRUE(Choose(cmd::OptionMarkCenter));
    ASSERT_TRUE(Choose(cmd::ImageShowCatalogue));
    window_->setGeometry(50, 60, 640, 480);
    QApplication::processEvents();
    ASSERT_TRUE(Choose(cmd::FileExit));
    QTest::qWait(20);  // the close that File > Exit posts
    EXPECT_FALSE(window_->isVisible());
    // How the file is written is tested on the settings file; here the
    // changes reach it and what was not changed stays.
    const std::string ini = testing_support::ReadText(dir_ / "velkarn.ini");
    for (const char* line : {"Window=50 60 640 480\n", "MarkCenter=1\n", "Randomness=7\n", "Station=Kestrup\n",
                             "SkycatDir=/data/sky\n", "CatalogueOverlay=1\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << " not in\n" << ini;
}

class CommaLocaleSave : public MainWindowTest {
protected:
    // Saves the example session (retrieved without its image) to a file
    // and returns the file and the log line the save appended.
    std::pair<std::string, std::string> SaveExample(const std::string& name) {
        Start();
        Retrieve(Example("per0812a.dar"));
        for (int i = 0; i < 4; ++i) messages_.answers.push_back(MbAnswer::Ok);
        files_.answers.push_back((dir_ / name).string());
        EXPECT_TRUE(Choose(cmd::SaveSession));
        const std::string log = testing_support::ReadText(dir_ / "photo99.log");
        const std::size_t last = log.rfind('\n', log.size() - 2);
        return {testing_support::ReadText(dir_ / name), log.substr(last + 1)};
    }
};

TEST_F(CommaLocaleSave, WritesTheSameBytesAsUnderC) {
    const auto [in_c, log_in_c] = SaveExample("c.dar");
    ASSERT_FALSE(in_c.empty());
    ASSERT_FALSE(log_in_c.empty());

    const testing_support::CommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma can be had here (none installed, localedef failed)";

    // What the program does after the QApplication took the desktop's
    // locale.
    UseFileNumberFormat();
    const auto [in_comma, log_in_comma] = SaveExample("comma.dar");
    EXPECT_EQ(in_comma, in_c);
    EXPECT_EQ(log_in_comma, log_in_c);
    // The rest of the desktop's locale stays the user's.
    EXPECT_STRNE(std::setlocale(LC_CTYPE, nullptr), "C");
}

}  // namespace
}  // namespace ui_test
