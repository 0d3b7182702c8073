// Photo CD image pacs: the reader on files ImageMagick writes and on pacs
// built here with every resolution, and the source the program opens.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "bmp_test_files.h"
#include "image/image_status.h"
#include "image/open_image.h"
#include "image/packed_dib.h"
#include "image/pcd_file_image.h"
#include "image/pcd_reader.h"
#include "pcd_test_files.h"
#include "platform/scripted.h"

using pcd_test::DibPixel;

namespace {

struct Loaded {
    int status;
    std::vector<std::uint8_t> dib;
};

Loaded LoadStep(const std::filesystem::path& path, int step) {
    PcdReader reader;
    Loaded out{reader.Open(path), {}};
    if (out.status == kStatusOk) out.status = reader.SelectResolution(step);
    if (out.status == kStatusOk) out.status = reader.Load(out.dib);
    return out;
}

// Whether a delivered DIB is the test picture at the step: a grey DIB of
// its size, rows bottom first.
bool ShowsPicture(const std::vector<std::uint8_t>& dib, int step) {
    const pcd::Plane p = pcd_test::Picture(step);
    std::vector<std::uint8_t> expected = packed_dib::MakeGreyDib(p.width, p.height);
    for (int y = 0; y < p.height; ++y) std::copy_n(p.Row(y), p.width, packed_dib::Row(expected, p.width, p.height - 1 - y));
    return dib == expected;
}

// The test files' residuals are made with Upsample, so it is checked here
// on its own against values worked out by hand.
TEST(PcdUpsample, KnownPixelsStayAndTheOthersAreRoundedMeansOfTheirNeighbours) {
    const pcd::Plane high = pcd::Upsample(pcd::Plane{3, 2, {10, 21, 40, 30, 50, 61}});
    ASSERT_EQ(high.width, 6);
    EXPECT_EQ(high.pixels, (std::vector<std::uint8_t>{10, 16, 21, 31, 40, 40,  // 15.5 rounds up
                                                      20, 28, 36, 43, 51, 51,  // (10 + 21 + 30 + 50) / 4
                                                      30, 40, 50, 56, 61, 61,    //
                                                      30, 40, 50, 56, 61, 61}));  // the last row repeats
}

// Files written by ImageMagick, an encoder independent of this reader. It
// writes the three stored resolutions and no residuals.
TEST(PcdImageMagickFiles, EachStoredResolutionShowsThePictureUprightWithItsLumaAndAPortraitIsTurnedAsStored) {
    const auto convert = [](const std::string& name, const std::string& draw) {
        const auto pcd = pcd_test::ScratchPath(name + ".pcd"), png = pcd_test::ScratchPath(name + ".png");
        EXPECT_EQ(std::system(("convert " + draw + " " + png.string() + " && convert " + png.string() + " " + pcd.string()).c_str()), 0);
        return pcd;
    };
    // Black, with a white top-left quarter and a mid-grey block at the bottom right.
    const auto path = convert("blocks", "-size 768x512 xc:black -fill white -draw 'rectangle 0,0 383,255' "
                                        "-fill gray50 -draw 'rectangle 600,400 767,511'");
    const Loaded base = LoadStep(path, 3);
    ASSERT_EQ(base.status, kStatusOk);
    for (const auto& [x, y, level] : {std::tuple{0, 0, 255}, {383, 255, 255}, {384, 255, 0}, {383, 256, 0}, {0, 511, 0}})
        EXPECT_EQ(DibPixel(base.dib, x, y), level) << x << "," << y;
    const std::uint8_t grey = DibPixel(base.dib, 767, 511);
    EXPECT_GT(grey, 60);
    EXPECT_LT(grey, 200);
    EXPECT_EQ(packed_dib::Row(base.dib, 768, 0)[767], grey) << "rows are stored bottom first";
    const Loaded half = LoadStep(path, 2);
    ASSERT_EQ(half.status, kStatusOk);
    EXPECT_EQ(std::tuple(packed_dib::ReadHeader(half.dib.data()).width, DibPixel(half.dib, 50, 50), DibPixel(half.dib, 350, 230)),
              std::tuple(384, std::uint8_t{255}, grey));
    EXPECT_EQ(LoadStep(path, 4).status, kStatusNoPcdResolution);

    // The portrait's top-left corner lies at the top right of the stored picture.
    const auto portrait = convert("portrait", "-size 512x768 xc:black -fill white -draw 'rectangle 0,0 255,99'");
    PcdReader reader;
    ASSERT_EQ(reader.Open(portrait), kStatusOk);
    EXPECT_EQ(reader.Rotation(), 1);
    const Loaded turned = LoadStep(portrait, 3);
    ASSERT_EQ(turned.status, kStatusOk);
    EXPECT_EQ(std::pair(DibPixel(turned.dib, 767, 0), DibPixel(turned.dib, 0, 0)), (std::pair<std::uint8_t, std::uint8_t>(255, 0)));
}

TEST(PcdBuiltFiles, AResolutionBeyondWhatTheFileHoldsIsNotAvailableDamagedResidualsAreWrongFormatAndAnUnsignedFileCannotBeOpened) {
    const auto four_base = bmp_test::Write("four_base.pcd", pcd_test::BuildImagePac({.highest_step = 4}));
    EXPECT_EQ(std::tuple(LoadStep(four_base, 5).status, LoadStep(four_base, 0).status, LoadStep(four_base, 4).status),
              std::tuple(kStatusNoPcdResolution, kStatusNoPcdResolution, kStatusOk));

    // Cut inside the Base picture: the smaller ones are still there.
    std::vector<std::uint8_t> cut = pcd_test::FullImagePac();
    cut.resize(200 * pcd::kSectorSize);
    const auto cut_in_base = bmp_test::Write("cut_in_base.pcd", cut);
    EXPECT_EQ(LoadStep(cut_in_base, 3).status, kStatusNoPcdResolution);
    const Loaded two = LoadStep(cut_in_base, 2);
    EXPECT_TRUE(two.status == kStatusOk && ShowsPicture(two.dib, 2)) << two.status;

    cut = pcd_test::FullImagePac();
    cut.resize(cut.size() - 400 * 1024);
    const auto cut_path = bmp_test::Write("cut_16base.pcd", cut);
    EXPECT_EQ(std::pair(LoadStep(cut_path, 5).status, LoadStep(cut_path, 4).status), std::pair(kStatusWrongFormat, kStatusOk));
    // A code no table holds, a missing row, and attributes that promise
    // 16Base with nothing after the 4Base residuals.
    for (const pcd_test::PacOptions& o : {pcd_test::PacOptions{.highest_step = 4, .invalid_4base_code = true},
                                          {.highest_step = 4, .missing_4base_row = 700}, {.highest_step = 4, .attribute_step = 5}})
        EXPECT_EQ(LoadStep(bmp_test::Write("bad.pcd", pcd_test::BuildImagePac(o)), o.attribute_step ? 5 : 4).status, kStatusWrongFormat);

    // Files that are no image pac cannot be opened.
    PcdReader reader;
    for (const char* absent_or_directory : {"absent.pcd", ""})
        EXPECT_EQ(reader.Open(pcd_test::ScratchPath(absent_or_directory)), kStatusCannotOpen);
    std::vector<std::uint8_t> unsigned_pac = pcd_test::FullImagePac();
    unsigned_pac[0x800] = 'X';
    EXPECT_EQ(reader.Open(bmp_test::Write("unsigned.pcd", unsigned_pac)), kStatusCannotOpen);
    unsigned_pac.resize(3 * 2048);
    unsigned_pac[0x800] = 'P';
    EXPECT_EQ(reader.Open(bmp_test::Write("stub.pcd", unsigned_pac)), kStatusCannotOpen);
    std::vector<std::uint8_t> dib;
    EXPECT_EQ(reader.Load(dib), kStatusNoPcdResolution);
}

// Every resolution from 192 x 128 to 3072 x 2048 decodes to its picture
// exactly, with progress up to 100 %; Escape stops the load in each stage
// (polls come every 64 rows: the 9th is in 4Base, the 30th in 16Base).
TEST(PCDFileImage, EachResolutionStepOfAFileEndingInPcdInAnyCaseBecomesAPhotoCDSourceOfItsPictureOrFailsWithoutOne) {
    const auto path = bmp_test::Write("IMG0001.PCD", pcd_test::FullImagePac());
    for (int step = pcd::kLowestStep; step <= pcd::kHighestStep; ++step) {
        SCOPED_TRACE(step);
        ScriptedProgress progress;
        ImageOpenContext context{progress, step};
        const auto image = OpenImageFile(path, context);
        ASSERT_EQ(std::tuple(image->status, image->type, image->filename), std::tuple(kStatusOk, ImageType::PhotoCD, path));
        EXPECT_TRUE(ShowsPicture(image->picture, step));
        EXPECT_TRUE(std::is_sorted(progress.reports.begin(), progress.reports.end()));
        EXPECT_EQ(std::pair(progress.reports.back(), progress.clears), std::pair(100, 1));
    }
    for (int stop_at : {1, 9, 30}) {
        ScriptedProgress escape;
        escape.escape_at_poll = stop_at;
        const auto aborted = LoadPhotoCD(escape, path, 5);
        EXPECT_EQ(std::tuple(aborted->status, escape.polls, aborted->HasPicture(), escape.clears),
                  std::tuple(kStatusAborted, stop_at, false, 1));
    }
    ScriptedProgress progress;
    const auto missing = LoadPhotoCD(progress, bmp_test::Write("base_only.pcd", pcd_test::BuildImagePac({.highest_step = 3})), 4);
    EXPECT_EQ(std::pair(missing->status, missing->HasPicture()), std::pair(kStatusNoPcdResolution, false));
    EXPECT_TRUE(progress.reports.empty()) << "nothing was loaded";
}

}  // namespace
