#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "image/meteor_image.h"
#include "image/packed_dib.h"
#include "image/still_file_image.h"
#include "ui/dialogs/image_dialog.h"
#include "ui/dialogs/resolution_dialog.h"

namespace {

// A still picture whose colour table the dialog acts on.
struct Picture : MeteorImage {
    Picture() {
        type = ImageType::Still;
        width = height = 4;
        picture = packed_dib::MakeGreyDib(4, 4);
        AdjustDIBColors();
    }
    std::uint8_t Entry(int i) const { return picture[packed_dib::kHeaderSize + 4 * i]; }
};

void Press(TImageDialog& dialog, int id, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::mouseClick(dialog.ControlAs<QPushButton>(id), Qt::LeftButton);
}

TEST(ImageDialog, BrightnessStepsStopAtTheLimitEveryPressRepaintsAndEnterMeansOk) {
    Picture image;
    int repaints = 0;
    TImageDialog dialog{nullptr, image, [&] { ++repaints; }};
    dialog.show();
    // An 8-bit picture has no black or white point.
    EXPECT_EQ(dialog.Control(146), nullptr);
    EXPECT_EQ(dialog.Control(149), nullptr);
    Press(dialog, 142, 16);
    EXPECT_EQ(image.brightness, 15);
    EXPECT_EQ(image.Entry(0), 115);
    EXPECT_EQ(repaints, 16);
    Press(dialog, 141, 31);
    EXPECT_EQ(image.brightness, -15);
    Press(dialog, 144, 2);
    Press(dialog, 143);
    EXPECT_EQ(image.contrast, 1);
    // Enter means OK whichever step button was pressed last.
    QPushButton* up = dialog.ControlAs<QPushButton>(142);
    up->setFocus();
    EXPECT_TRUE(dialog.ControlAs<QPushButton>(1)->isDefault());
    QTest::keyClick(up, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(image.brightness, -15) << "Enter did not step again";
}

// A picture deeper than 8 bits: samples 1000, 2000, 3000, 9000, stretched
// from 2000 (the median) to 3000.
struct DeepPicture : StillFileImage {
    DeepPicture() : StillFileImage("", "FITS") {
        width = 4;
        height = 1;
        picture = packed_dib::MakeGreyDib(4, 1);
        samples.width = 4;
        samples.height = 1;
        samples.values = {1000, 2000, 3000, 9000};
        Conclude(0);
    }
    int Level(int x) const { return picture[packed_dib::kPixelOffset + x]; }
};

TEST(DeepImageDialog, BlackAndWhiteStepsReMakeThePixelsAndShowThePoints) {
    DeepPicture image;
    int repaints = 0, repixels = 0;
    TImageDialog dialog(nullptr, image, [&] { ++repaints; }, [&] { ++repixels; });
    dialog.show();
    auto* points = dialog.ControlAs<QLabel>(150);
    ASSERT_NE(points, nullptr);
    EXPECT_EQ(points->text(), "Black 2000   White 3000");
    EXPECT_EQ(image.Level(1), 0);

    Press(dialog, 146, 4);
    EXPECT_EQ(points->text(), "Black 1500   White 3000");
    EXPECT_EQ(image.Level(1), 85);  // 500 of 1500
    EXPECT_EQ(repixels, 4);
    EXPECT_EQ(repaints, 0);

    Press(dialog, 149, 16);
    EXPECT_EQ(image.white_step, 15);
    EXPECT_EQ(image.Level(1), 1);  // 500 of a ramp 181 519 wide
    // Brightness still acts on the colour table alone.
    Press(dialog, 142);
    EXPECT_EQ(image.brightness, 1);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(image.Level(1), 1);
}

TEST(ResolutionDialog, OpensOnTheCurrentStepAndADoubleClickActsAsOk) {
    int step = 5;
    TResolutionDialog dialog(nullptr, &step);
    dialog.show();
    auto* list = dialog.ControlAs<QListWidget>(199);
    EXPECT_EQ(list->currentRow(), 3);
    const QPoint line = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(step, 2);
}

}  // namespace
