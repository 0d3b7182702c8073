#include <gtest/gtest.h>

#include "image/meteor_image.h"
#include "image/packed_dib.h"

namespace {

// A still source with a small picture whose colour table can be inspected.
class TestImage : public MeteorImage {
public:
    explicit TestImage(int kind = ImageType::Still) {
        type = kind;
        width = 4;
        height = 2;
        picture = packed_dib::MakeGreyDib(4, 2);
        frame_picture = packed_dib::MakeGreyDib(4, 2);
        AdjustDIBColors();
    }
    int Entry(int i) const { return picture[40 + 4 * i]; }
    std::vector<std::uint8_t> Table(const std::vector<std::uint8_t>& dib) const {
        return {dib.begin() + 40, dib.begin() + 1064};
    }
};

}  // namespace

TEST(ColourTable, StartsAsTheIdentityRampAndFullBrightnessShiftsItByAHundredAndFifteen) {
    TestImage img;
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(std::vector<int>(img.picture.begin() + 40 + 4 * i, img.picture.begin() + 44 + 4 * i),
                  (std::vector<int>{i, i, i, 0}));
    ASSERT_TRUE(img.SetBrightness(15));
    for (int i = 0; i <= 139; ++i) ASSERT_EQ(img.Entry(i), i + 115) << i;
    EXPECT_EQ(img.Entry(139), 254);
    for (int i = 140; i < 256; ++i) ASSERT_EQ(img.Entry(i), 255) << i;
    ASSERT_TRUE(img.SetBrightness(-15));
    EXPECT_EQ(img.Entry(115), 0);
    EXPECT_EQ(img.Entry(116), 0);  // 116 - 115.2 truncates to 0
    EXPECT_EQ(img.Entry(117), 1);
    EXPECT_EQ(img.Entry(255), 139);
}

TEST(ColourTable, InversionMirrorsAndContrastStepsSteepenOrFlattenTheRampAroundLevel128) {
    TestImage img;
    const auto normal = img.Table(img.picture);
    img.InvertGradation();
    EXPECT_EQ(img.gradation, -1);
    EXPECT_EQ(img.Entry(0), 255);  // 256 clamped
    EXPECT_EQ(img.Entry(1), 255);
    EXPECT_EQ(img.Entry(128), 128);
    EXPECT_EQ(img.Entry(255), 1);
    img.InvertGradation();
    EXPECT_EQ(img.Table(img.picture), normal);

    ASSERT_TRUE(img.SetContrast(15));  // slope 5.95
    EXPECT_EQ(img.Entry(128), 128);
    EXPECT_EQ(img.Entry(129), 133);
    EXPECT_EQ(img.Entry(127), 122);
    EXPECT_EQ(img.Entry(149), 252);
    EXPECT_EQ(img.Entry(150), 255);
    EXPECT_EQ(img.Entry(106), 0);
    ASSERT_TRUE(img.SetContrast(-15));  // slope 1 / 5.95
    EXPECT_EQ(img.Entry(0), 106);
    EXPECT_EQ(img.Entry(128), 128);
    EXPECT_EQ(img.Entry(255), 149);
}

TEST(ColourTable, StepsBeyondFifteenAreRefusedAndChangeNothing) {
    TestImage img;
    for (int press = 0; press < 16; ++press) img.SetBrightness(img.brightness + 1);
    EXPECT_EQ(img.brightness, 15);
    const auto at_limit = img.Table(img.picture);
    EXPECT_FALSE(img.SetBrightness(16));
    EXPECT_FALSE(img.SetContrast(-16));
    EXPECT_FALSE(img.SetContrast(16));
    EXPECT_EQ(img.brightness, 15);
    EXPECT_EQ(img.contrast, 0);
    EXPECT_EQ(img.Table(img.picture), at_limit);
}

TEST(ColourTable, OnlyAVideoSourceColoursItsFramePicture) {
    TestImage video(ImageType::Video);
    TestImage blank_video(ImageType::BlankVideo);
    video.SetBrightness(5);
    blank_video.SetBrightness(5);
    EXPECT_EQ(video.Table(video.frame_picture), video.Table(video.picture));
    EXPECT_EQ(blank_video.frame_picture[40 + 4 * 10], 10);  // untouched identity ramp
    EXPECT_NE(blank_video.Table(blank_video.frame_picture), blank_video.Table(blank_video.picture));
}
