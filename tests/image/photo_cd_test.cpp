#include <gtest/gtest.h>

#include <random>

#include "image/image_status.h"
#include "image/packed_dib.h"
#include "image/pcd_reader.h"
#include "pcd_test_files.h"

namespace {

using pcd_test::DibPixel;

struct Loaded {
    int status;
    std::vector<std::uint8_t> dib;
};

Loaded LoadStep(const std::filesystem::path& path, int step) {
    PcdReader reader;
    Loaded out{reader.Open(path), {}};
    if (out.status == kStatusOk) out.status = reader.SelectResolution(step);
    if (out.status == kStatusOk) out.status = reader.Load(out.dib);
    reader.Close();
    return out;
}

std::filesystem::path WritePac(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const auto path = pcd_test::ScratchPath(name);
    pcd_test::WriteBytes(path, bytes);
    return path;
}

// Compares a delivered DIB with the test picture, pixel by pixel.
::testing::AssertionResult ShowsPicture(const std::vector<std::uint8_t>& dib, int step) {
    const pcd::Plane expected = pcd_test::Picture(step);
    const packed_dib::Header h = packed_dib::ReadHeader(dib.data());
    if (h.width != expected.width || h.height != expected.height)
        return ::testing::AssertionFailure() << "size " << h.width << " x " << h.height;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            if (DibPixel(dib, x, y) != expected.Row(y)[x])
                return ::testing::AssertionFailure() << "pixel " << x << ", " << y << " is " << +DibPixel(dib, x, y)
                                                     << ", expected " << +expected.Row(y)[x];
    return ::testing::AssertionSuccess();
}

TEST(PcdUpsample, KnownPixelsStayAndTheOthersAreRoundedMeansOfTheirNeighbours) {
    const pcd::Plane low{3, 2, {10, 21, 40, 30, 50, 61}};
    const pcd::Plane high = pcd::Upsample(low);
    ASSERT_EQ(high.width, 6);
    ASSERT_EQ(high.height, 4);
    const std::vector<std::uint8_t> expected = {
        10, 16, 21, 31, 40, 40,  // between 10 and 21: 15.5 rounds up
        20, 28, 36, 43, 51, 51,  // (10 + 21 + 30 + 50) / 4 = 27.75 -> 28
        30, 40, 50, 56, 61, 61,
        30, 40, 50, 56, 61, 61,  // the last row repeats the one above
    };
    EXPECT_EQ(high.pixels, expected);
}

TEST(PcdHuffmanTable, TablesThatRunPastTheirDataOrHoldCodesLongerThan16BitsAreRefused) {
    std::size_t used = 0;
    const std::vector<std::uint8_t> two_entries_one_present = {1, 0, 0x00, 0x00, 5};
    EXPECT_FALSE(pcd::HuffmanTable::Parse(two_entries_one_present.data(), two_entries_one_present.size(), used));
    const std::vector<std::uint8_t> seventeen_bits = {0, 16, 0x00, 0x00, 5};
    EXPECT_FALSE(pcd::HuffmanTable::Parse(seventeen_bits.data(), seventeen_bits.size(), used));
    const std::vector<std::uint8_t> one_bit = {0, 0, 0x80, 0x00, 5};
    const auto table = pcd::HuffmanTable::Parse(one_bit.data(), one_bit.size(), used);
    ASSERT_TRUE(table);
    EXPECT_EQ(used, 5u);
    EXPECT_EQ(table->Lookup(0xFFFF).length, 1);
    EXPECT_EQ(table->Lookup(0xFFFF).delta, 5);
    EXPECT_EQ(table->Lookup(0x7FFF).length, 0);
}

// Files written by ImageMagick, an encoder independent of this reader. It
// writes the three stored resolutions and no residuals.
class PcdImageMagickFiles : public ::testing::Test {
protected:
    void SetUp() override {
        if (!pcd_test::HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    static std::filesystem::path Convert(const std::string& name, const std::string& draw) {
        const auto pcd = pcd_test::ScratchPath(name + ".pcd");
        const auto png = pcd_test::ScratchPath(name + ".png");
        EXPECT_TRUE(pcd_test::Run("convert " + draw + " " + png.string() + " && convert " + png.string() + " " +
                                  pcd.string()));
        return pcd;
    }
};

TEST_F(PcdImageMagickFiles, EachStoredResolutionShowsThePictureUprightWithItsLuma) {
    // Black, with a white top-left quarter and a mid-grey block at the bottom right.
    const auto path = Convert("blocks", "-size 768x512 xc:black -fill white -draw 'rectangle 0,0 383,255' "
                                        "-fill gray50 -draw 'rectangle 600,400 767,511'");
    const Loaded base = LoadStep(path, 3);
    ASSERT_EQ(base.status, kStatusOk);
    const packed_dib::Header h = packed_dib::ReadHeader(base.dib.data());
    EXPECT_EQ(h.width, 768);
    EXPECT_EQ(h.height, 512);
    EXPECT_EQ(DibPixel(base.dib, 0, 0), 255);
    EXPECT_EQ(DibPixel(base.dib, 383, 255), 255);
    EXPECT_EQ(DibPixel(base.dib, 384, 255), 0);
    EXPECT_EQ(DibPixel(base.dib, 383, 256), 0);
    EXPECT_EQ(DibPixel(base.dib, 0, 511), 0);
    const std::uint8_t grey = DibPixel(base.dib, 767, 511);
    EXPECT_GT(grey, 60);
    EXPECT_LT(grey, 200);
    EXPECT_EQ(packed_dib::Row(base.dib, 768, 0)[767], grey) << "rows are stored bottom first";

    for (int step : {1, 2}) {
        SCOPED_TRACE(step);
        const Loaded smaller = LoadStep(path, step);
        ASSERT_EQ(smaller.status, kStatusOk);
        const int scale = 1 << (3 - step);
        const packed_dib::Header hs = packed_dib::ReadHeader(smaller.dib.data());
        EXPECT_EQ(hs.width, 768 / scale);
        EXPECT_EQ(hs.height, 512 / scale);
        EXPECT_EQ(DibPixel(smaller.dib, 100 / scale, 100 / scale), 255);
        EXPECT_EQ(DibPixel(smaller.dib, 500 / scale, 100 / scale), 0);
        EXPECT_EQ(DibPixel(smaller.dib, 100 / scale, 400 / scale), 0);
        EXPECT_EQ(DibPixel(smaller.dib, 700 / scale, 460 / scale), grey);
    }
}

TEST_F(PcdImageMagickFiles, ResidualResolutionsAreNotAvailableInAFileWithoutThem) {
    const auto path = Convert("plain", "-size 768x512 gradient:white-black");
    PcdReader reader;
    ASSERT_EQ(reader.Open(path), kStatusOk);
    EXPECT_EQ(reader.HighestStep(), 3);
    EXPECT_EQ(reader.SelectResolution(4), kStatusNoPcdResolution);
    EXPECT_EQ(reader.SelectResolution(5), kStatusNoPcdResolution);
    EXPECT_EQ(reader.SelectResolution(2), kStatusOk);
}

TEST_F(PcdImageMagickFiles, APortraitPictureIsDeliveredTurnedAsStoredWithItsRotationReported) {
    const auto path = Convert("portrait", "-size 512x768 xc:black -fill white -draw 'rectangle 0,0 255,99'");
    PcdReader reader;
    ASSERT_EQ(reader.Open(path), kStatusOk);
    EXPECT_EQ(reader.Rotation(), 1);
    reader.Close();
    const Loaded base = LoadStep(path, 3);
    ASSERT_EQ(base.status, kStatusOk);
    EXPECT_EQ(packed_dib::ReadHeader(base.dib.data()).width, 768);
    // The portrait's top-left corner lies at the top right of the stored picture.
    EXPECT_EQ(DibPixel(base.dib, 767, 0), 255);
    EXPECT_EQ(DibPixel(base.dib, 0, 0), 0);
}

TEST(PcdBuiltFiles, EveryResolutionFrom192x128To3072x2048DecodesToItsPictureExactly) {
    const auto path = WritePac("full.pcd", pcd_test::FullImagePac());
    for (int step = pcd::kLowestStep; step <= pcd::kHighestStep; ++step) {
        SCOPED_TRACE(step);
        const Loaded loaded = LoadStep(path, step);
        ASSERT_EQ(loaded.status, kStatusOk);
        EXPECT_TRUE(ShowsPicture(loaded.dib, step));
    }
}

TEST(PcdBuiltFiles, AResolutionBeyondWhatTheAttributesOrTheFileHoldIsNotAvailable) {
    const auto four_base = WritePac("four_base.pcd", pcd_test::BuildImagePac({.highest_step = 4}));
    PcdReader reader;
    ASSERT_EQ(reader.Open(four_base), kStatusOk);
    EXPECT_EQ(reader.SelectResolution(5), kStatusNoPcdResolution);
    EXPECT_EQ(reader.SelectResolution(0), kStatusNoPcdResolution);
    EXPECT_EQ(reader.SelectResolution(4), kStatusOk);
    std::vector<std::uint8_t> dib;
    EXPECT_EQ(reader.Load(dib), kStatusOk);

    // Cut inside the Base picture: the smaller ones are still there.
    std::vector<std::uint8_t> cut = pcd_test::FullImagePac();
    cut.resize(200 * pcd::kSectorSize);
    ASSERT_EQ(reader.Open(WritePac("cut_in_base.pcd", cut)), kStatusOk);
    EXPECT_EQ(reader.SelectResolution(3), kStatusNoPcdResolution);
    EXPECT_EQ(reader.SelectResolution(4), kStatusNoPcdResolution);
    EXPECT_EQ(reader.SelectResolution(2), kStatusOk);
    EXPECT_EQ(reader.Load(dib), kStatusOk);
    EXPECT_TRUE(ShowsPicture(dib, 2));
}

TEST(PcdBuiltFiles, FilesThatAreNoImagePacCannotBeOpened) {
    PcdReader reader;
    EXPECT_EQ(reader.Open(pcd_test::ScratchPath("absent.pcd")), kStatusCannotOpen);
    EXPECT_EQ(reader.Open(pcd_test::ScratchPath("")), kStatusCannotOpen) << "a directory";
    std::vector<std::uint8_t> unsigned_pac = pcd_test::FullImagePac();
    unsigned_pac[0x800] = 'X';
    EXPECT_EQ(reader.Open(WritePac("unsigned.pcd", unsigned_pac)), kStatusCannotOpen);
    std::vector<std::uint8_t> stub(pcd_test::FullImagePac().begin(), pcd_test::FullImagePac().begin() + 3 * 2048);
    EXPECT_EQ(reader.Open(WritePac("stub.pcd", stub)), kStatusCannotOpen);
    std::vector<std::uint8_t> dib;
    EXPECT_EQ(reader.SelectResolution(3), kStatusNoPcdResolution);
    EXPECT_EQ(reader.Load(dib), kStatusNoPcdResolution);
}

TEST(PcdBuiltFiles, DamagedOrMissingResidualsGiveWrongFormatAndLeaveLowerResolutionsReadable) {
    std::vector<std::uint8_t> cut = pcd_test::FullImagePac();
    cut.resize(cut.size() - 400 * 1024);
    const auto cut_path = WritePac("cut_16base.pcd", cut);
    EXPECT_EQ(LoadStep(cut_path, 5).status, kStatusWrongFormat);
    EXPECT_EQ(LoadStep(cut_path, 4).status, kStatusOk);

    EXPECT_EQ(LoadStep(WritePac("bad_code.pcd", pcd_test::BuildImagePac({.highest_step = 4, .invalid_4base_code = true})), 4).status,
              kStatusWrongFormat);
    EXPECT_EQ(LoadStep(WritePac("no_row.pcd", pcd_test::BuildImagePac({.highest_step = 4, .missing_4base_row = 700})), 4).status,
              kStatusWrongFormat);
    // The attributes promise 16Base, but nothing follows the 4Base residuals.
    EXPECT_EQ(LoadStep(WritePac("claims.pcd", pcd_test::BuildImagePac({.highest_step = 4, .attribute_step = 5})), 5).status,
              kStatusWrongFormat);
}

TEST(PcdBuiltFiles, RandomlyCorruptedResidualsNeverCrashTheReader) {
    const std::vector<std::uint8_t>& pac = pcd_test::FullImagePac();
    std::mt19937 random(7);
    for (int round = 0; round < 12; ++round) {
        std::vector<std::uint8_t> bytes = pac;
        std::uniform_int_distribution<std::size_t> where(388 * 2048, bytes.size() - 1);
        for (int i = 0; i < 20; ++i) bytes[where(random)] = static_cast<std::uint8_t>(random());
        const int status = LoadStep(WritePac("random.pcd", bytes), round % 2 ? 5 : 4).status;
        EXPECT_TRUE(status == kStatusOk || status == kStatusWrongFormat) << status;
    }
}

TEST(PcdLoading, ProgressCountsRowsOfEveryStageUpToTheTotal) {
    PcdReader reader;
    ASSERT_EQ(reader.Open(WritePac("progress.pcd", pcd_test::FullImagePac())), kStatusOk);
    ASSERT_EQ(reader.SelectResolution(5), kStatusOk);
    std::vector<std::pair<int, int>> reports;
    reader.SetProgressCallback([&](int done, int total) { reports.emplace_back(done, total); });
    std::vector<std::uint8_t> dib;
    ASSERT_EQ(reader.Load(dib), kStatusOk);
    ASSERT_GT(reports.size(), 20u);
    for (std::size_t i = 1; i < reports.size(); ++i) EXPECT_GT(reports[i].first, reports[i - 1].first);
    EXPECT_EQ(reports.back(), std::make_pair(512 + 1024 + 2048, 512 + 1024 + 2048));
}

TEST(PcdLoading, TheAbortCallbackStopsTheLoadInEveryStage) {
    const auto path = WritePac("abort.pcd", pcd_test::FullImagePac());
    // Polls come every 64 rows: the 9th is in 4Base, the 30th in 16Base.
    for (int stop_at : {1, 9, 30}) {
        SCOPED_TRACE(stop_at);
        PcdReader reader;
        ASSERT_EQ(reader.Open(path), kStatusOk);
        ASSERT_EQ(reader.SelectResolution(5), kStatusOk);
        int polls = 0;
        reader.SetAbortCallback([&] { return ++polls == stop_at; });
        std::vector<std::uint8_t> dib;
        EXPECT_EQ(reader.Load(dib), kStatusAborted);
        EXPECT_EQ(polls, stop_at);
        EXPECT_TRUE(dib.empty());
    }
}

}  // namespace
