#include <gtest/gtest.h>

#include "bmp_test_files.h"
#include "image/bmp_clip_image.h"
#include "image/packed_dib.h"
#include "platform/scripted.h"

using bmp_test::Layout;

namespace {

int ClipStatus(std::optional<std::vector<std::uint8_t>> dib) {
    ScriptedClipboard clip;
    clip.dib = std::move(dib);
    return BMPClipImage(clip).status;
}

}  // namespace

TEST(ClipImage, RefusesWhatIsNotAnUncompressed8BitDib) {
    EXPECT_EQ(ClipStatus(std::nullopt), -7);
    EXPECT_EQ(ClipStatus(std::vector<std::uint8_t>(10, 0)), -7);
    EXPECT_EQ(ClipStatus(bmp_test::Dib(Layout{.bit_count = 24, .colours = 0})), -5);
    EXPECT_EQ(ClipStatus(bmp_test::Dib(Layout{.compression = 1})), -14);
    EXPECT_EQ(ClipStatus(bmp_test::Dib(Layout{.width = 0})), -7);
    EXPECT_EQ(ClipStatus(bmp_test::Dib(Layout{.header_size = 12})), -7);
    std::vector<std::uint8_t> truncated = bmp_test::Dib(Layout{});
    truncated.pop_back();
    EXPECT_EQ(ClipStatus(truncated), -7);
    std::vector<std::uint8_t> huge = bmp_test::Dib(Layout{});
    huge[4] = huge[5] = huge[6] = 0xFF, huge[7] = 0x7F;
    EXPECT_EQ(ClipStatus(huge), -9) << "a claim beyond the picture limit is refused as such";
}

TEST(ClipImage, TakesThePixelsOfEverySoundLayoutBottomRowFirst) {
    for (const Layout& l : {Layout{.width = 1001, .height = 3}, Layout{.height = -5},
                            Layout{.colours = 16, .clr_used = 16}, Layout{.header_size = 108}}) {
        SCOPED_TRACE(testing::Message() << "width " << l.width << " height " << l.height);
        ScriptedClipboard clip;
        clip.dib = bmp_test::Dib(l);
        BMPClipImage img(clip);
        ASSERT_EQ(img.status, 0);
        const int rows = l.height < 0 ? -l.height : l.height;
        EXPECT_EQ(img.width, l.width);
        EXPECT_EQ(img.height, rows);
        EXPECT_EQ(img.type, 1);
        EXPECT_TRUE(img.filename.empty());
        ASSERT_EQ(img.picture.size(), 1064 + packed_dib::Stride(l.width) * rows);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < l.width; ++x)
                ASSERT_EQ(packed_dib::Row(img.picture, l.width, y)[x], bmp_test::Pattern(x, y)) << x << "," << y;
        EXPECT_EQ(img.picture[40 + 4 * 7], 7);  // grey ramp, not the DIB's own table
    }
}

TEST(ClipImage, AColourTableOtherThanTheGreyRampGivesEachPixelItsGreenLevel) {
    ScriptedClipboard clip;
    const Layout l{.editor_table = true};
    clip.dib = bmp_test::Dib(l);
    BMPClipImage img(clip);
    ASSERT_EQ(img.status, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < l.width; ++x)
            ASSERT_EQ(packed_dib::Row(img.picture, l.width, y)[x], 255 - bmp_test::Pattern(x, y)) << x << "," << y;
}
