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

int Grey(const RasterCanvas& c, int x, int y) {
    const Rgb p = c.At(x, y);
    EXPECT_TRUE(p.red == p.green && p.green == p.blue) << "not grey at " << x << "," << y;
    return p.green;
}

const Rgb kUntouched{1, 2, 3};

}  // namespace

TEST(Display, TheTopCanvasRowShowsTheTopPictureRow) {
    Picture img;
    RasterCanvas c(4, 3, kUntouched);
    img.Display(c, 0, 0, 4, 3, 0, 0, 4, 3, -1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(Grey(c, x, y), 10 * (2 - y) + x) << x << "," << y;
}

TEST(Display, SourceRectanglesAreCountedFromTheBottomRow) {
    Picture img;
    RasterCanvas c(4, 4, kUntouched);
    // Columns 1..2 of DIB row 1 (the middle row), enlarged four times.
    img.Display(c, 0, 0, 4, 4, 1, 1, 2, 1, -1);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(Grey(c, 0, y), 11);
        EXPECT_EQ(Grey(c, 1, y), 11);
        EXPECT_EQ(Grey(c, 2, y), 12);
        EXPECT_EQ(Grey(c, 3, y), 12);
    }
}

TEST(Display, ShrinkingDropsPixelsInsteadOfBlendingThem) {
    Picture img;
    RasterCanvas c(2, 1, kUntouched);
    img.Display(c, 0, 0, 2, 1, 0, 0, 4, 1, -1);  // bottom row 0 1 2 3 onto two pixels
    EXPECT_EQ(Grey(c, 0, 0), 1);
    EXPECT_EQ(Grey(c, 1, 0), 3);
}

TEST(Display, PixelsAreShownThroughTheCurrentColourTable) {
    Picture img;
    img.InvertGradation();
    RasterCanvas c(4, 3);
    img.Display(c, 0, 0, 4, 3, 0, 0, 4, 3, -1);
    EXPECT_EQ(Grey(c, 0, 2), 255);  // pixel 0: 256 clamped
    EXPECT_EQ(Grey(c, 3, 0), 256 - 23);
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
    blank.SetBrightness(15);
    RecordingCanvas rec;
    blank.Display(rec, 5, 6, 50, 40, 0, 0, 100, 80, -1);
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(rec.calls[0].kind, RecordingCanvas::Call::Fill);
    EXPECT_EQ(rec.calls[0].dst, (CanvasRect{5, 6, 50, 40}));
    EXPECT_EQ(rec.calls[0].green, 248);
}
