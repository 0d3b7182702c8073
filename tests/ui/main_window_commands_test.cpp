// The main window as a user meets it: its caption, the menu items enabled
// in each state, the panes switched by the Window menu, the image dialog,
// and About.
#include <QPushButton>

#include "main_window_fixture.h"

namespace ui_test {
namespace {

class MainWindowCommands : public MainWindowTest {
protected:
    // The enabled items of a menu (by its position in the menu bar) as the
    // user sees them when the menu opens.
    std::vector<int> EnabledItems(int menu_index) {
        QMenuBar* bar = window_->menuBar();
        QAction* top = bar->actions().at(menu_index);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
        EXPECT_TRUE(QTest::qWaitFor([top] { return top->menu()->isVisible(); }, 1000));
        std::vector<int> ids;
        for (QAction* a : top->menu()->actions())
            if (!a->isSeparator() && a->isEnabled()) ids.push_back(CommandOf(a));
        top->menu()->close();
        QApplication::processEvents();
        return ids;
    }
    std::string Caption() const { return window_->windowTitle().toStdString(); }
};

// Which items each state enables is tested on the commands; here the menus
// follow the state as it changes.
enum MenuIndex { kFile, kEdit, kImage, kMeasure, kOptions, kWindow, kHelp };

TEST_F(MainWindowCommands, CaptionAndEnabledItemsFollowTheSession) {
    Start();
    EXPECT_EQ(Caption(), "Velkarn - [No image]");
    EXPECT_EQ(EnabledItems(kFile), (std::vector<int>{cmd::ImgFileOpen, cmd::RetrieveSession, cmd::FileExit}));

    OpenImage(300, 200);
    EXPECT_EQ(Caption(), "Velkarn - [" + (dir_ / "ph990812.bmp").string() + "]");
    EXPECT_EQ(EnabledItems(kWindow), std::vector<int>{}) << "no star yet";

    // A session retrieved onto the image: stars, so saving and the
    // analysis window become possible.
    Retrieve(Example("per0812a.dar"));
    EXPECT_EQ(EnabledItems(kFile),
              (std::vector<int>{cmd::NewSession, cmd::SaveSession, cmd::ExportReport, cmd::FileExit}));
    EXPECT_EQ(EnabledItems(kWindow), (std::vector<int>{cmd::WindowMeasure, cmd::WindowAnalysis}));
    ASSERT_TRUE(Choose(cmd::WindowAnalysis));
    EXPECT_EQ(EnabledItems(kImage),
              (std::vector<int>{cmd::ImageShowResiduals, cmd::ImageShowCatalogue, cmd::ImagePlay, cmd::ImageInfo}))
        << "zoom and brightness need the image view";
    ASSERT_TRUE(Choose(cmd::WindowMeasure));

    // New session: back to no image.
    messages_.answers.push_back(MbAnswer::No);
    ASSERT_TRUE(Choose(cmd::NewSession));
    EXPECT_EQ(Caption(), "Velkarn - [No image]");
    EXPECT_FALSE(status().PlusButton()->isVisible());
}

TEST_F(MainWindowCommands, BrightnessStepsShowInTheImageViewAtOnceAndInfoAndAboutTellWhatTheyShould) {
    Start(600, 400);
    opt.markcenter = 0;
    OpenImage(300, 200);
    ASSERT_EQ(Painted(display().viewport()).pixelColor(100, 100), QColor(40, 40, 40));
    QColor while_open;
    WhenModal("", [&](QWidget* dialog) {
        QTest::mouseClick(qobject_cast<QPushButton*>(FindControl(dialog, 142)), Qt::LeftButton);
        while_open = Painted(display().viewport()).pixelColor(100, 100);
        QTest::mouseClick(qobject_cast<QPushButton*>(FindControl(dialog, 1)), Qt::LeftButton);
    });
    ASSERT_TRUE(Choose(cmd::ImageBrightness));
    EXPECT_EQ(Mimg->brightness, 1);
    // One step lifts the ramp by 7.68 grey levels: 40 becomes 47.
    EXPECT_EQ(while_open, QColor(47, 47, 47));
    EXPECT_EQ(display().PictureCache().samplings(), 1) << "a brightness step samples no pixels again";

    // Image > Info tells the size of a still image; About names the program,
    // its release and its libraries.
    ASSERT_TRUE(Choose(cmd::ImageInfo));
    ASSERT_TRUE(Choose(cmd::HelpAbout));
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[0].caption + ": " + messages_.shown[0].text,
              "      Image info      : Width: 300\nHeight: 200\nSize: 60000");
    EXPECT_EQ(messages_.shown[1].caption, "About Velkarn");
    EXPECT_NE(messages_.shown[1].text.find(std::string("Qt ") + qVersion()), std::string::npos);
}

}  // namespace
}  // namespace ui_test
