#include <gtest/gtest.h>

#include "image/fake_image.h"
#include "image/meteor_image.h"
#include "image/packed_dib.h"
#include "platform/raster_canvas.h"
#include "platform/scripted.h"

namespace {

// A 4 x 3 still picture whose pixel at column x, DIB row y is 10 * y + x.
class Picture : public MeteorImage {
public:
    Picture() {
        type = ImageType::Still;
        width = 4;
        height = 3;
        picture = packed_dib::MakeGreyDib(4, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) packed_dib::Row(picture, 4, y)[x] = static_cast<std::uint8_t>(10 * y + x);
        AdjustDIBColors();
    }
};

const Rgb kUntouched{1, 2, 3};

}  // namespace

TEST(Display, TheTopCanvasRowShowsTheTopPictureRowThroughTheColourTable) {
    Picture img;
    RasterCanvas c(4, 3, kUntouched);
    img.Display(c, 0, 0, 4, 3, 0, 0, 4, 3, -1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const int v = 10 * (2 - y) + x;
            EXPECT_EQ(c.At(x, y), (Rgb{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)})) << x << "," << y;
        }
    img.InvertGradation();
    img.Display(c, 0, 0, 4, 3, 0, 0, 4, 3, -1);
    EXPECT_EQ(c.At(0, 2).green, 255);  // pixel 0: 256 clamped
    EXPECT_EQ(c.At(3, 0).green, 256 - 23);
}

TEST(Display, SourceRectanglesCountFromTheBottomRowAndShrinkingDropsPixels) {
    Picture img;
    RasterCanvas big(4, 4, kUntouched);
    // Columns 1..2 of DIB row 1 (the middle row), enlarged four times.
    img.Display(big, 0, 0, 4, 4, 1, 1, 2, 1, -1);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(big.At(1, y).green, 11);
        EXPECT_EQ(big.At(2, y).green, 12);
    }
    RasterCanvas small(2, 1, kUntouched);
    img.Display(small, 0, 0, 2, 1, 0, 0, 4, 1, -1);  // bottom row 0 1 2 3 onto two pixels
    EXPECT_EQ(small.At(0, 0).green, 1);
    EXPECT_EQ(small.At(1, 0).green, 3);
}

TEST(Display, AStillSourceDrawsNothingForAFrameAndNothingOutsideTheDestination) {
    Picture img;
    RasterCanvas c(6, 5, kUntouched);
    img.Display(c, 0, 0, 6, 5, 0, 0, 4, 3, 0);
    img.Display(c, 1, 1, 2, 2, 0, 0, 2, 2, -1);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 3 && y >= 1 && y < 3;
            EXPECT_EQ(c.At(x, y) == kUntouched, !inside) << x << "," << y;
        }
}

TEST(Display, ABlankImageFillsTheDestinationInItsGreyLevel) {
    FakeImage blank(100, 80, ImageType::BlankPhoto);
    RecordingCanvas rec;
    for (const int step : {-15, -1, 0, 15}) {
        blank.SetBrightness(step);
        blank.Display(rec, 5, 6, 50, 40, 0, 0, 100, 80, -1);
    }
    ASSERT_EQ(rec.calls.size(), 4u);
    EXPECT_EQ(rec.calls[0].kind, RecordingCanvas::Call::Fill);
    EXPECT_EQ(rec.calls[0].dst, (CanvasRect{5, 6, 50, 40}));
    EXPECT_EQ(rec.calls[0].green, 8);
    EXPECT_EQ(rec.calls[1].green, 120);
    EXPECT_EQ(rec.calls[2].green, 128);
    EXPECT_EQ(rec.calls[3].green, 248);
    EXPECT_FALSE(blank.HasPicture());
}
