#include <gtest/gtest.h>

#include <algorithm>

#include "image/image_status.h"
#include "image/open_image.h"
#include "image/packed_dib.h"
#include "image/pcd_file_image.h"
#include "image/pcd_reader.h"
#include "pcd_test_files.h"
#include "platform/scripted.h"

namespace {

std::filesystem::path FullPac() {
    static const std::filesystem::path path = [] {
        const auto p = pcd_test::ScratchPath("image_full.pcd");
        pcd_test::WriteBytes(p, pcd_test::FullImagePac());
        return p;
    }();
    return path;
}

TEST(PCDFileImage, EachResolutionStepBecomesAPhotoCDSourceOfItsSizeWithTheGreyRamp) {
    for (int step = 2; step <= 5; ++step) {
        SCOPED_TRACE(step);
        ScriptedProgress progress;
        const auto image = LoadPhotoCD(progress, FullPac(), step);
        ASSERT_EQ(image->status, kStatusOk);
        const pcd::Size size = pcd::StepSize(step);
        EXPECT_EQ(image->type, ImageType::PhotoCD);
        EXPECT_EQ(image->filename, FullPac().string());
        EXPECT_EQ(image->width, size.width);
        EXPECT_EQ(image->height, size.height);
        EXPECT_EQ(image->picture.size(), packed_dib::kPixelOffset + packed_dib::Stride(size.width) * size.height);
        EXPECT_EQ(image->picture[packed_dib::kHeaderSize + 4 * 200], 200) << "identity ramp";
        EXPECT_EQ(pcd_test::DibPixel(image->picture, 5, 3), pcd_test::Luma(step, 5, 3));

        ASSERT_FALSE(progress.reports.empty());
        EXPECT_TRUE(std::is_sorted(progress.reports.begin(), progress.reports.end()));
        EXPECT_EQ(progress.reports.back(), 100);
        EXPECT_EQ(progress.clears, 1);
    }
}

TEST(PCDFileImage, FailedLoadsLeaveNoPictureAndCarryTheirStatus) {
    ScriptedProgress progress;
    const auto absent = LoadPhotoCD(progress, pcd_test::ScratchPath("absent.pcd"), 5);
    EXPECT_EQ(absent->status, kStatusCannotOpen);
    EXPECT_EQ(ImageStatusMessage(absent->status), "File cannot be opened!");
    EXPECT_FALSE(absent->HasPicture());

    const auto base_only = pcd_test::ScratchPath("base_only.pcd");
    pcd_test::WriteBytes(base_only, pcd_test::BuildImagePac({.highest_step = 3}));
    const auto missing = LoadPhotoCD(progress, base_only, 4);
    EXPECT_EQ(missing->status, kStatusNoPcdResolution);
    EXPECT_EQ(ImageStatusMessage(missing->status), "Photo cd resolution not available");
    EXPECT_FALSE(missing->HasPicture());
    EXPECT_TRUE(progress.reports.empty()) << "nothing was loaded";

    ScriptedProgress escape;
    escape.escape_at_poll = 3;
    const auto aborted = LoadPhotoCD(escape, FullPac(), 5);
    EXPECT_EQ(aborted->status, kStatusAborted);
    EXPECT_EQ(ImageStatusMessage(aborted->status), "");
    EXPECT_FALSE(aborted->HasPicture());
    EXPECT_EQ(escape.polls, 3);
    EXPECT_EQ(escape.clears, 1);
}

TEST(PCDFileImage, OpeningAFileEndingInPcdInAnyCaseLoadsItAtTheChosenStep) {
    const auto upper = pcd_test::ScratchPath("IMG0001.PCD");
    pcd_test::WriteBytes(upper, pcd_test::BuildImagePac({.highest_step = 3}));
    ScriptedProgress progress;
    ImageOpenContext context{progress, 3};
    const auto image = OpenImageFile(upper, context);
    EXPECT_EQ(image->status, kStatusOk);
    EXPECT_EQ(image->type, ImageType::PhotoCD);
    EXPECT_EQ(image->width, 768);
}

}  // namespace
