// The status strip during a long load: its progress, Escape aborting it and
// every other input kept away from the program.
#include <QPushButton>

#include "main_window_fixture.h"

namespace ui_test {
namespace {

class StatusStrip : public MainWindowTest {};

TEST_F(StatusStrip, EscapeAbortsALoadWhileNoOtherInputReachesTheProgram) {
    Start(600, 400);
    files_.answers.push_back(WriteBmpFile(dir_ / "large.bmp", 4000, 3000, [](int c, int r) {
        return static_cast<std::uint8_t>(c + r);
    }));
    int progress_seen = -1;
    bool ink_at_right = false, popup_opened = false;
    QTimer during_load;
    during_load.setInterval(1);
    QObject::connect(&during_load, &QTimer::timeout, [&] {
        if (status().ProgressShown() < 0) return;
        during_load.stop();
        progress_seen = status().ProgressShown();
        const QImage strip = Painted(&status());  // "ESC to abort" at the right
        for (int x = strip.width() - 100; x < strip.width() - 10; ++x)
            for (int y = 3; y < strip.height() - 1; ++y) ink_at_right |= strip.pixelColor(x, y) != QColor(192, 192, 192);
        // A user trying the menu, a click on the image, a key and closing
        // the window: none of it reaches the program.
        QMenuBar* bar = window_->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions().first()).center());
        QTest::keyClick(window_.get(), Qt::Key_F, Qt::AltModifier);
        popup_opened = QApplication::activePopupWidget() != nullptr;
        QTest::mouseClick(display().viewport(), Qt::LeftButton, {}, QPoint(100, 100));
        window_->close();
        QTest::keyClick(window_.get(), Qt::Key_Escape);
    });
    during_load.start();
    ASSERT_TRUE(Choose(cmd::ImgFileOpen));
    during_load.stop();

    EXPECT_GE(progress_seen, 0);
    EXPECT_LT(progress_seen, 100);
    EXPECT_TRUE(ink_at_right);
    EXPECT_FALSE(popup_opened);
    EXPECT_EQ(Mimg, nullptr) << "Escape ends the load with no image";
    EXPECT_TRUE(messages_.shown.empty()) << "an aborted load shows no message";
    EXPECT_EQ(files_.asked.size(), 1u) << "no second command ran during the load";
    EXPECT_TRUE(measure_.shown.empty());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(status().ProgressShown(), -1);
    EXPECT_FALSE(status().PlusButton()->isVisible()) << "the strip's buttons wait for an image";
}

}  // namespace
}  // namespace ui_test
