// BMP files and packed DIBs from the clipboard.
#include <gtest/gtest.h>

#include <cstdlib>

#include "bmp_test_files.h"
#include "image/bmp_clip_image.h"
#include "image/bmp_file_image.h"
#include "image/packed_dib.h"
#include "platform/scripted.h"

using bmp_test::Layout;

namespace {

int LoadStatus(const std::vector<std::uint8_t>& bytes) {
    ScriptedProgress progress;
    return BMPFileImage(progress, bmp_test::Write("file.bmp", bytes)).status;
}

// Every pixel of bmp_test::Pattern is its green level in l's colour table
// (indices past a short table have no entry and keep their value), rows
// bottom first at stride intervals; the picture's own table is the grey ramp.
void ExpectPicture(const MeteorImage& img, const Layout& l) {
    const int rows = std::abs(l.height);
    ASSERT_EQ(std::tuple(img.status, img.width, img.height, img.picture.size()),
              std::tuple(0, l.width, rows, 1064 + packed_dib::Stride(l.width) * rows));
    int wrong = 0;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < l.width; ++x) {
            const int index = bmp_test::Pattern(x, y);
            wrong += packed_dib::Row(img.picture, l.width, y)[x] != (index < l.colours ? bmp_test::Entry(l, index)[1] : index);
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(img.picture[40 + 4 * 7 + 1], 7);
}

int ClipStatus(std::optional<std::vector<std::uint8_t>> dib) {
    ScriptedClipboard clip;
    clip.dib = std::move(dib);
    return BMPClipImage(clip).status;
}

}  // namespace

TEST(BmpFileStatus, FormatFaultsAndMalformedHeadersGiveTheirStatusWithoutAHugeAllocation) {
    const std::vector<std::pair<Layout, int>> cases = {
        {Layout{.bit_count = 24, .colours = 0}, -5},
        {Layout{.compression = 1}, -14},  // RLE8
        // A 4-bit run-length file is reported as compressed: compression is checked first.
        {Layout{.bit_count = 4, .compression = 2, .colours = 16}, -14},
        {Layout{.magic = {'B', 'A'}}, -6},
        {Layout{.header_size = 12}, -6},       // OS/2 core header
        {Layout{.pixel_offset = 100000}, -6},  // beyond the end
    };
    for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(LoadStatus(bmp_test::File(cases[i].first)), cases[i].second) << i;
    // Width and height 2^31 - 1 would need about 4.6 exabytes; then height INT_MIN.
    std::vector<std::uint8_t> bytes = bmp_test::File(Layout{});
    std::fill(bytes.begin() + 18, bytes.begin() + 26, 0xFF);
    bytes[21] = bytes[25] = 0x7F;
    EXPECT_EQ(LoadStatus(bytes), -6);
    std::fill(bytes.begin() + 22, bytes.begin() + 25, 0x00);
    bytes[25] = 0x80;
    EXPECT_EQ(LoadStatus(bytes), -6);
    // Files ending one byte early, inside the colour table, inside the header; none.
    bytes = bmp_test::File(Layout{});
    for (const std::size_t size : {bytes.size() - 1, std::size_t{14 + 40 + 100}, std::size_t{14 + 20}, std::size_t{0}}) {
        bytes.resize(size);
        EXPECT_EQ(LoadStatus(bytes), -6) << size;
    }
    ScriptedProgress progress;
    EXPECT_EQ(BMPFileImage(progress, "/nonexistent/dir/meteor.bmp").status, -1);
    EXPECT_EQ(BMPFileImage(progress, testing::TempDir()).status, -1);  // a directory
}

// A colour table other than the grey ramp, as an image editor may write
// one, gives each pixel its green level.
TEST(BmpFileLoad, PixelsOfEverySoundLayoutAreTheirGreenLevelsWithAGreyRampReplacingTheFileTable) {
    ScriptedProgress progress;
    // Rows of 1 001 pixels take 1 004 bytes.
    for (const Layout& l : {Layout{.width = 1001, .height = 7}, Layout{.height = -5, .editor_table = true}, Layout{.header_size = 124},
                            Layout{.colours = 16, .clr_used = 16, .editor_table = true}, Layout{.colours = 0, .clr_used = 0},
                            Layout{.gap = 6}, Layout{.editor_table = true}}) {
        SCOPED_TRACE(testing::Message() << "width " << l.width << " header " << l.header_size << " height " << l.height
                                        << " colours " << l.colours << " gap " << l.gap << " editor " << l.editor_table);
        BMPFileImage img(progress, bmp_test::Write("l.bmp", bmp_test::File(l)));
        ExpectPicture(img, l);
        EXPECT_EQ(img.type, ImageType::Still);
    }
}

TEST(BmpFileLoad, ReadsAFileWrittenByImageMagickWhosePaletteIsNotTheIdentityRamp) {
    // Made with ImageMagick 6.9:
    //   convert -size 37x23 gradient: -depth 8 +dither -type Palette
    //           -compress none BMP3:gradient_37x23.bmp
    // A vertical gradient, white at the top. ImageMagick's own decoding
    // (convert gradient_37x23.bmp txt:-) gives these grey levels, bottom row
    // first; each pixel must be stored as its grey level.
    const int expected[23] = {0,   11,  23,  34,  46,  57,  69,  81,  92,  104, 115, 127,
                              139, 150, 162, 173, 185, 197, 208, 220, 231, 243, 255};
    ScriptedProgress progress;
    BMPFileImage img(progress, VELKARN_SOURCE_DIR "/tests/image/data/gradient_37x23.bmp");
    ASSERT_EQ(std::tuple(img.status, img.width, img.height), std::tuple(0, 37, 23));
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) ASSERT_EQ(packed_dib::Row(img.picture, 37, y)[x], expected[y]) << "x " << x << " y " << y;
}

TEST(BmpFileProgress, ReportsEachPieceUpToAHundredPercentAndEscapeAfterTheFirstAbortsWithoutAMessage) {
    // 100 000 pixel bytes: pieces end at 32 768, 65 536, 98 304 and 100 000.
    const std::string path = bmp_test::Write("big.bmp", bmp_test::File(Layout{.width = 1000, .height = 100}));
    ScriptedProgress progress;
    ExpectPicture(BMPFileImage(progress, path), Layout{.width = 1000, .height = 100});
    EXPECT_EQ(progress.reports, (std::vector<int>{32, 65, 98, 100}));

    ScriptedProgress escape;
    escape.escape_at_poll = 1;
    BMPFileImage aborted(escape, path);
    EXPECT_EQ(std::tuple(aborted.status, ImageStatusMessage(aborted.status), aborted.HasPicture(), escape.reports),
              std::tuple(-15, "", false, std::vector<int>{32}));
}

TEST(ClipImage, RefusesWhatIsNotAnUncompressed8BitDibAndTakesThePixelsOfEverySoundLayoutAsTheirGreenLevels) {
    EXPECT_EQ(ClipStatus(std::nullopt), -7);
    EXPECT_EQ(ClipStatus(std::vector<std::uint8_t>(10, 0)), -7);
    EXPECT_EQ(ClipStatus(bmp_test::Dib(Layout{.bit_count = 24, .colours = 0})), -5);
    EXPECT_EQ(ClipStatus(bmp_test::Dib(Layout{.compression = 1})), -14);
    EXPECT_EQ(ClipStatus(bmp_test::Dib(Layout{.header_size = 12})), -7);
    std::vector<std::uint8_t> truncated = bmp_test::Dib(Layout{});
    truncated.pop_back();
    EXPECT_EQ(ClipStatus(truncated), -7);
    std::vector<std::uint8_t> huge = bmp_test::Dib(Layout{});
    huge[4] = huge[5] = huge[6] = 0xFF, huge[7] = 0x7F;
    EXPECT_EQ(ClipStatus(huge), -9) << "a claim beyond the picture limit is refused as such";

    for (const Layout& l : {Layout{.width = 1001, .height = 3}, Layout{.height = -5}, Layout{.colours = 16, .clr_used = 16},
                            Layout{.header_size = 108}, Layout{.editor_table = true}}) {
        SCOPED_TRACE(testing::Message() << "width " << l.width << " height " << l.height << " editor " << l.editor_table);
        ScriptedClipboard clip;
        clip.dib = bmp_test::Dib(l);
        BMPClipImage img(clip);
        ExpectPicture(img, l);
        EXPECT_TRUE(img.filename.empty());
    }
}
