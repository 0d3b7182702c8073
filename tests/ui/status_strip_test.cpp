// The status strip as painted and used (the order buttons are pressed in
// the settings and observation tests), and the progress of a long load with Escape and with every other input
// kept away from the program.
#include <QPushButton>

#include "main_window_fixture.h"

namespace ui_test {
namespace {

bool Ink(const QImage& strip, int x, int y) {
    const QColor c = strip.pixelColor(x, y);
    return c != QColor(192, 192, 192);
}

// The first column from x0 on whose pixels in the text rows are not the
// strip's grey; -1 when none up to x1.
int FirstInk(const QImage& strip, int x0, int x1) {
    for (int x = x0; x < x1 && x < strip.width(); ++x)
        for (int y = 3; y < strip.height() - 1; ++y)
            if (Ink(strip, x, y)) return x;
    return -1;
}

class StatusStrip : public MainWindowTest {};

TEST_F(StatusStrip, ShowsNothingAndHidesItsButtonsUntilAnImageIsLoaded) {
    Start(600, 400);
    EXPECT_EQ(status().geometry(), QRect(0, 400 - 19, 600, 19));
    EXPECT_FALSE(status().PlusButton()->isVisible());
    EXPECT_FALSE(status().MinusButton()->isVisible());
    const QImage empty = Painted(&status());
    EXPECT_NE(empty.pixelColor(5, 0), QColor(0, 0, 0)) << "no line along the top edge";
    EXPECT_NE(empty.pixelColor(5, 10), QColor(192, 192, 192)) << "no grey of the strip";
    Retrieve(Example("per0812a.dar"));
    EXPECT_TRUE(status().PlusButton()->isVisible());
    EXPECT_TRUE(status().MinusButton()->isVisible());
    const QImage strip = Painted(&status());
    EXPECT_EQ(strip.pixelColor(5, 0), QColor(0, 0, 0)) << "the line along the top edge";
    EXPECT_EQ(strip.pixelColor(5, 10), QColor(192, 192, 192));
}

TEST_F(StatusStrip, EscapeAbortsALoadWhileNoOtherInputReachesTheProgram) {
    Start(600, 400);
    files_.answers.push_back(WriteBmpFile(dir_ / "large.bmp", 4000, 3000, [](int c, int r) {
        return static_cast<std::uint8_t>(c + r);
    }));
    int progress_seen = -1;
    bool ink_at_right = false;
    bool popup_opened = false;
    QTimer during_load;
    during_load.setInterval(1);
    QObject::connect(&during_load, &QTimer::timeout, [&] {
        if (status().ProgressShown() < 0) return;
        during_load.stop();
        progress_seen = status().ProgressShown();
        const QImage strip = Painted(&status());
        ink_at_right = FirstInk(strip, strip.width() - 100, strip.width() - 10) > 0;  // "ESC to abort"
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
    EXPECT_EQ(window_->windowTitle().toStdString(), kNoImageCaption);
    EXPECT_EQ(status().ProgressShown(), -1);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

}  // namespace
}  // namespace ui_test
