// The display stretch of deep pictures: the points it chooses, the ramp it
// draws, and the black and white steps the image dialog takes.
#include <gtest/gtest.h>

#include <cmath>

#include "image/fits_file_image.h"
#include "image/packed_dib.h"
#include "image/stretch.h"
#include "platform/scripted.h"
#include "still_test_files.h"

namespace {

DeepSamples Samples(const std::vector<float>& values, bool integer = true) {
    return {static_cast<int>(values.size()), 1, {values.begin(), values.end()}, integer};
}

std::vector<std::uint8_t> Pixels(const MeteorImage& img) {
    return {img.picture.begin() + packed_dib::kPixelOffset, img.picture.end()};
}

}  // namespace

TEST(Stretch, PercentilesLieWithinABinSkipWhatIsNoNumberAndALargePictureIsCountedAcrossAllItsColumns) {
    std::vector<float> v;
    for (int i = 0; i < 1000; ++i) v.push_back(static_cast<float>((i * 7919) % 1000) * 1000.0f);  // shuffled
    v.push_back(std::nanf(""));
    v.push_back(INFINITY);
    // A range of a million: bins of about 15.3, the result a bin's lower edge.
    const StretchHistogram wide(Samples(v));
    EXPECT_EQ(wide.total, 1000u);
    EXPECT_NEAR(wide.Percentile(50), 499000, 16);
    EXPECT_LE(wide.Percentile(50), 499000);

    // Each sample is its column. A width that divides the spacing of the
    // counted runs (8 x 1024 here) and one that does not must both see
    // every band of columns.
    for (const auto& [width, height] : {std::pair{4096, 2100}, std::pair{6000, 1500}}) {
        DeepSamples s{width, height, decltype(DeepSamples::values)(static_cast<std::size_t>(width) * height), true};
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < width; ++x) s.Row(y)[x] = static_cast<float>(x);
        const StretchHistogram h(s);
        EXPECT_NEAR(static_cast<double>(h.total), 1 << 20, (1 << 20) / 10) << width;
        EXPECT_NEAR(h.Percentile(50), width / 2, width / 100) << width;
        EXPECT_NEAR(h.Percentile(99.5), width * 0.995, width / 100) << width;
    }
}

TEST(Stretch, AFlatOrAlmostFlatPictureStillGetsARampThatRisesWithItsValues) {
    // Mostly one value: the median and the high percentile coincide, so
    // the extremes are taken.
    std::vector<float> sky(1000, 500.0f);
    sky[3] = 20;
    sky[7] = 9000;
    EXPECT_EQ(std::tuple(AutomaticStretch(Samples(sky)), AutomaticStretch(Samples(std::vector<float>(50, 7.5f), false)),
                         AutomaticStretch(Samples({NAN, NAN}))),
              std::tuple(StretchPoints{20, 9000}, StretchPoints{7.5f, 8.5f}, StretchPoints{0, 1}));
    const StretchPoints huge = AutomaticStretch(Samples({3e38f, 3e38f}, false));
    EXPECT_GT(huge.white, huge.black);
    for (const auto& [value, level] : {std::pair{99.0f, 0}, {101.4f, 1}, {354.6f, 255}, {1e30f, 255}, {std::nanf(""), 0}})
        EXPECT_EQ(StretchLevel(value, {100, 355}), level) << value;
}

// The image dialog's tests step black and white and read the points; here
// the steps refused and the pixels made again.
TEST(Stretch, AStepReMakesThePixelsWhileBrightnessContrastAndInversionStayOnTheTable) {
    ScriptedProgress progress;
    const auto img = std::make_unique<FITSFileImage>(progress, still_test::WriteDeepFits("deep.fits"));
    ASSERT_EQ(std::pair(img->status, img->automatic_stretch), std::pair(0, StretchPoints{1000, 3000}));
    EXPECT_EQ(SteppedStretch(img->automatic_stretch, -15, 0), (StretchPoints{-2750, 3000}));
    EXPECT_FALSE(SteppedStretch(img->automatic_stretch, 16, 0));
    EXPECT_FALSE(SteppedStretch(img->automatic_stretch, 8, 0));  // black would reach white
    const std::vector<std::uint8_t> automatic = Pixels(*img);
    ASSERT_TRUE(img->SetWhiteStep(2));  // white 5000
    EXPECT_EQ(img->stretch, (StretchPoints{1000, 5000}));
    // 3000 at the left of the bottom row: half the ramp now, 128.
    EXPECT_EQ(packed_dib::Row(img->picture, 10, 0)[0], 128);

    // Steps that leave the range or cross the points change nothing.
    ASSERT_TRUE(img->SetWhiteStep(-2));  // white 2000
    const std::vector<std::uint8_t> before = Pixels(*img);
    EXPECT_FALSE(img->SetWhiteStep(-16));
    EXPECT_FALSE(img->SetBlackStep(4));  // black 2000 would meet white
    EXPECT_EQ(std::pair(img->black_step, img->white_step), std::pair(0, -2));
    EXPECT_EQ(Pixels(*img), before);

    // The colour table is the same ramp whatever the stretch.
    ASSERT_TRUE(img->SetBrightness(3));
    img->InvertGradation();
    const std::vector<std::uint8_t> table(img->picture.begin() + 40, img->picture.begin() + 1064);
    ASSERT_TRUE(img->SetBlackStep(-3));
    EXPECT_EQ(std::vector<std::uint8_t>(img->picture.begin() + 40, img->picture.begin() + 1064), table);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(table[4 * i], MeteorImage::RampLevel(i, 0, 3, -1));
    ASSERT_TRUE(img->SetBlackStep(0));
    ASSERT_TRUE(img->SetWhiteStep(0));
    EXPECT_EQ(Pixels(*img), automatic);
}
