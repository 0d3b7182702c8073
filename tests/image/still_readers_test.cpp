// The still readers against files another program wrote: ImageMagick for
// FITS, TIFF, PNG and JPEG (from PGM and PPM files the tests write), FITS
// headers written card by card for the variants ImageMagick does not write,
// and a DNG built tag by tag with libtiff for camera RAW. Damaged and hostile
// files give a status with its message and leave no picture, never a crash
// or a huge allocation.
#include <fitsio.h>
#include <gtest/gtest.h>
extern "C" {
#include <libavutil/crc.h>
#include <libavutil/intreadwrite.h>
}

#include <algorithm>
#include <cmath>
#include <tuple>

#include "bmp_test_files.h"
#include "image/fits_file_image.h"
#include "image/open_image.h"
#include "image/packed_dib.h"
#include "image/raw_file_image.h"
#include "image/still_file_image.h"
#include "platform/raster_canvas.h"
#include "platform/scripted.h"
#include "still_test_files.h"
#include "support/scratch_dir.h"

using still_test::ImageCards;
using still_test::Picture;
using bmp_test::Put;

namespace {

// The still source the program opens for a file; Escape as `given` says.
std::unique_ptr<StillFileImage> Open(const std::string& path, ScriptedProgress* given = nullptr) {
    ScriptedProgress own;
    ImageOpenContext context{given ? *given : own};
    std::unique_ptr<MeteorImage> image = OpenImageFile(path, context);
    auto* still = dynamic_cast<StillFileImage*>(image.get());
    if (still) image.release();
    return std::unique_ptr<StillFileImage>(still);
}

float Sample(const StillFileImage& img, int x, int top_row) { return img.samples.Row(img.height - 1 - top_row)[x]; }
int Level(const MeteorImage& img, int x, int top_row) {
    return packed_dib::Row(img.picture, img.width, img.height - 1 - top_row)[x];
}

Picture Filled(int w, int h, std::uint16_t (*f)(int x, int y)) {
    Picture p{w, h, std::vector<std::uint16_t>(static_cast<std::size_t>(w) * h)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.values[static_cast<std::size_t>(y) * w + x] = f(x, y);
    return p;
}

// The status, and whether a picture was kept: the 8-bit one shown, or the
// deep samples.
std::pair<int, bool> Result(const std::unique_ptr<StillFileImage>& img) { return {img->status, img->HasPicture() || img->IsDeep()}; }

std::string Message(const std::unique_ptr<StillFileImage>& img) { return ImageStatusMessage(img->status); }

std::vector<std::uint8_t> Bytes(const std::string& path) {
    const std::string text = testing_support::ReadText(path);
    return {text.begin(), text.end()};
}

// Where TinyTiff's 32 bytes of pixels begin: after the header and its
// directory of nine entries.
constexpr std::uint32_t kTinyTiffData = 8 + 2 + 9 * 12 + 4;

// A little-endian TIFF of one 16-bit grey strip, its fields as given.
std::vector<std::uint8_t> TinyTiff(std::uint32_t width, std::uint32_t height, std::uint32_t strip_offset) {
    std::vector<std::uint8_t> out{'I', 'I', 42, 0};
    Put(out, 8, 4);
    const std::uint32_t entries[][3] = {{256, 4, width}, {257, 4, height}, {258, 3, 16}, {259, 3, 1}, {262, 3, 1},
                                        {273, 4, strip_offset}, {277, 3, 1}, {278, 4, height}, {279, 4, 32}};
    Put(out, 9, 2);
    for (const auto& e : entries) {
        Put(out, e[0], 2);  // tag
        Put(out, e[1], 2);  // type
        Put(out, 1, 4);     // count
        Put(out, e[2], 4);
    }
    Put(out, 0, 4);
    out.resize(out.size() + 32, 0x11);
    return out;
}

}  // namespace

TEST(StillReaders, SixteenBitFilesKeepEverySampleAndShowMedianBlackToHighPercentileWhite) {
    const Picture p = still_test::DeepPicture();
    const std::string pgm = still_test::WritePgm("deep.pgm", p);
    for (const auto& [name, options, format, magic] :
         {std::tuple{"deep.fits", "-depth 16", "FITS", "SIMPLE"}, {"le.tif", "-depth 16 -define tiff:endian=lsb", "TIFF", "II"},
          {"be.tif", "-depth 16 -define tiff:endian=msb", "TIFF", "MM"}, {"deep.png", "-depth 16", "PNG", "\x89PNG"}}) {
        SCOPED_TRACE(name);
        const std::string path = still_test::Convert(pgm, name, options);
        ASSERT_TRUE(testing_support::ReadText(path).starts_with(magic)) << "ImageMagick wrote another layout than the case is for";
        const auto img = Open(path);
        ASSERT_TRUE(img && img->status == 0);
        ASSERT_EQ(std::tie(img->format, img->bits, img->width, img->height), std::tuple(std::string(format), 16, 10, 10));
        // Every sample at full depth and in its place: the 16-bit extremes,
        // FITS's BZERO of 32768, either byte order, FITS rows bottom first.
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) ASSERT_EQ(Sample(*img, x, y), p.at(x, y)) << x << "," << y;
        EXPECT_EQ(img->stretch, (StretchPoints{1000, 3000}));
        // 0, 1000 (the black point), 1500 (500 / 2000 of the ramp, 63.75),
        // 2600, 3000 (the white point) and 65535.
        for (const auto& [x, y, level] : {std::tuple{0, 0, 0}, {1, 0, 0}, {0, 6, 64}, {0, 8, 204}, {0, 9, 255}, {9, 9, 255}})
            EXPECT_EQ(Level(*img, x, y), level) << x << "," << y;
    }
}

TEST(StillReaders, ColourGivesItsGreenAndEightBitFilesBecomeThePictureAsTheyAre) {
    const Picture red = Filled(6, 4, [](int x, int) { return static_cast<std::uint16_t>(60000 - x * 1000); });
    const Picture green = Filled(6, 4, [](int x, int y) { return static_cast<std::uint16_t>(x * 4000 + y * 300); });
    const Picture blue = Filled(6, 4, [](int, int y) { return static_cast<std::uint16_t>(y * 9000); });
    const std::string ppm = still_test::WritePpm("colour.ppm", red, green, blue);
    for (const char* name : {"colour.tif", "colour.png"}) {
        const auto img = Open(still_test::Convert(ppm, name, "-depth 16"));
        ASSERT_TRUE(img && img->status == 0) << name;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) ASSERT_EQ(Sample(*img, x, y), green.at(x, y)) << name << " " << x << "," << y;
    }
    // Palette, 8-bit RGB and 8-bit grey: the green of each pixel's colour.
    const std::string pgm = still_test::WritePgm("grey.pgm", green);
    for (const auto& [input, name, format] : {std::tuple{ppm, "palette.png", "PNG8:"}, {ppm, "rgb8.tif", ""},
                                              {pgm, "grey.png", ""}, {pgm, "grey.tif", ""}}) {
        const auto img = Open(still_test::Convert(input, name, "-depth 8", format));
        ASSERT_TRUE(img && img->status == 0) << name;
        EXPECT_EQ(std::pair(img->bits, img->SetWhiteStep(1)), std::pair(8, false)) << name;  // nothing to stretch
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) ASSERT_EQ(Level(*img, x, y), green.at(x, y) / 257) << name << " " << x << "," << y;
    }
    // A colour JPEG of one flat colour: its green, not its luminance (which
    // would be 103), within the JPEG's rounding.
    const auto flat = [](int v) { return Picture{32, 16, std::vector<std::uint16_t>(32 * 16, static_cast<std::uint16_t>(v))}; };
    const std::string flat_ppm = still_test::WritePpm("flat.ppm", flat(200 * 257), flat(50 * 257), flat(120 * 257));
    const auto img = Open(still_test::Convert(flat_ppm, "colour.jpg", "-depth 8 -quality 100 -sampling-factor 1x1"));
    ASSERT_TRUE(img && img->status == 0);
    EXPECT_FALSE(img->IsDeep());
    EXPECT_NEAR(Level(*img, 5, 5), 50, 2);
}

TEST(StillReaders, FitsScalesFloatsAndBlanksAndReadsTheFirstPictureWithItsWcs) {
    // BSCALE 2, BZERO 100 on 16-bit integers, in an image extension after
    // an empty primary array; a celestial TAN-SIP WCS in its header.
    const auto scaled = Open(still_test::WriteFits(
        "scaled.fits", ImageCards(8, {}, {"EXTEND  =                    T"}),
        still_test::FitsBlocks({"XTENSION= 'IMAGE   '", "BITPIX  =                   16", "NAXIS   =                    2",
                                "NAXIS1  =                    3", "NAXIS2  =                    2", "PCOUNT  =                    0",
                                "GCOUNT  =                    1", "BSCALE  =                  2.0", "BZERO   =                100.0",
                                "CTYPE1  = 'RA---TAN-SIP'", "CTYPE2  = 'DEC--TAN-SIP'"},
                               still_test::BigEndian16({-5, 0, 7, 32767, -32768, 1}))));
    ASSERT_TRUE(scaled && scaled->status == 0 && scaled->width == 3);
    // FITS row 1 is the bottom row.
    for (const auto& [x, y, value] : {std::tuple{0, 1, 90}, {2, 1, 114}, {0, 0, 65634}, {1, 0, -65436}})
        EXPECT_EQ(Sample(*scaled, x, y), value) << x << "," << y;
    EXPECT_EQ(dynamic_cast<FITSFileImage&>(*scaled).wcs, "RA---TAN-SIP");

    // 32-bit floats with a blank (NaN), shown black; no WCS without DEC.
    const auto floats = Open(still_test::WriteFits(
        "float.fits", ImageCards(-32, {2, 2}, {"CTYPE1  = 'RA---TAN'", "CTYPE2  = 'GLAT-TAN'"}),
        still_test::BigEndianFloat({std::nanf(""), 0.25f, 0.5f, 1e6f})));
    ASSERT_TRUE(floats && floats->status == 0);
    EXPECT_TRUE(std::isnan(Sample(*floats, 0, 1)));
    EXPECT_EQ(std::tuple(Sample(*floats, 1, 1), Sample(*floats, 1, 0), Level(*floats, 0, 1), Level(*floats, 1, 0)),
              std::tuple(0.25f, 1e6f, 0, 255));
    EXPECT_EQ(dynamic_cast<FITSFileImage&>(*floats).wcs, "");

    // A cube of three planes is red, green, blue: the green one is read.
    const auto cube = Open(still_test::WriteFits(
        "cube.fits", ImageCards(16, {2, 1, 3}),
        still_test::BigEndian16({1, 2, 30, 40, 500, 600})));
    ASSERT_TRUE(cube && cube->status == 0);
    EXPECT_EQ(std::tuple(dynamic_cast<FITSFileImage&>(*cube).planes, Sample(*cube, 0, 0), Sample(*cube, 1, 0)),
              std::tuple(3, 30.0f, 40.0f));
}

TEST(StillReaders, AFitsCubeIsASourceOfFramesWhosePictureIsTheMeanOfItsPlanes) {
    const std::vector<std::int16_t> planes = {100, 900, 200, 1000, 300, 1100, 400, 1300};
    const std::string path = still_test::WriteFits("frames.fits", ImageCards(16, {2, 1, 4}), still_test::BigEndian16(planes));
    const auto cube = Open(path);
    ASSERT_TRUE(cube && cube->status == 0);
    EXPECT_EQ(std::tuple(cube->type, cube->GetNFr(), Sample(*cube, 0, 0), Sample(*cube, 1, 0)),
              std::tuple(ImageType::Video, 4, 250.0f, 1075.0f));

    // Each frame is its own plane through the picture's stretch, and a new
    // stretch reaches the frame shown.
    RasterCanvas canvas(2, 1);
    const auto frame_level = [&](int frame, int x) {
        cube->Display(canvas, 0, 0, 2, 1, 0, 0, 2, 1, frame);
        return packed_dib::Row(cube->frame_picture, 2, 0)[x];
    };
    for (int i = 0; i < 8; ++i) EXPECT_EQ(frame_level(i / 2, i % 2), StretchLevel(planes[i], cube->stretch)) << i;
    const std::uint8_t before = frame_level(3, 1);
    ASSERT_TRUE(cube->SetWhiteStep(4));
    EXPECT_NE(frame_level(3, 1), before);
    EXPECT_EQ(frame_level(3, 1), StretchLevel(1300, cube->stretch));

    // A file changed under the program: the frame cannot be shown, and the
    // status says so until a frame can be again.
    still_test::WriteFits("frames.fits", ImageCards(16, {2, 1}), still_test::BigEndian16({1, 2}));
    cube->Display(canvas, 0, 0, 2, 1, 0, 0, 2, 1, 1);
    EXPECT_EQ(cube->status, kStatusFrameMissing);

    // A cube whose file holds fewer planes than it claims is damaged.
    const auto short_cube = Open(still_test::WriteFits(
        "short.fits", ImageCards(16, {40, 30, 4}),
        still_test::BigEndian16(std::vector<std::int16_t>(2400, 7))));
    ASSERT_TRUE(short_cube);
    EXPECT_EQ(Result(short_cube), std::pair(kStatusDamaged, false));
}

TEST(StillReaders, CameraRawGivesTheGreenOfItsMosaicAtFullResolution) {
    // RGGB: green where column + row is odd. LibRaw reads no sensor
    // smaller than 22 x 22.
    const Picture p = Filled(24, 22, [](int x, int y) {
        if ((x + y) % 2 == 0) return static_cast<std::uint16_t>(9000 + x * 100 + y * 10);  // red or blue
        return static_cast<std::uint16_t>(x == 1 && y == 0 ? 0 : x == 5 && y == 2 ? 65535 : 1000 * (x + 1) + y);
    });
    for (const bool big_endian : {false, true}) {
        SCOPED_TRACE(big_endian ? "big-endian DNG" : "little-endian DNG");
        const auto img = Open(still_test::WriteDng(big_endian ? "be.dng" : "le.dng", p, big_endian));
        ASSERT_TRUE(img && img->status == 0);
        ASSERT_EQ(std::tie(img->format, img->width, img->height), std::tuple(std::string("Camera RAW"), 24, 22));
        // Green as it is: 0, 65535 and a middle value.
        for (const auto& [x, y] : {std::pair{1, 0}, {5, 2}, {3, 2}}) EXPECT_EQ(Sample(*img, x, y), p.at(x, y));
        // Red in the corner: its two green neighbours; red and blue inside:
        // the four beside them.
        EXPECT_EQ(Sample(*img, 0, 0), (p.at(1, 0) + p.at(0, 1)) / 2.0f);
        EXPECT_EQ(Sample(*img, 2, 2), (p.at(1, 2) + p.at(3, 2) + p.at(2, 1) + p.at(2, 3)) / 4.0f);
        EXPECT_EQ(Sample(*img, 3, 1), (p.at(2, 1) + p.at(4, 1) + p.at(3, 0) + p.at(3, 2)) / 4.0f);
        EXPECT_NE(dynamic_cast<RawFileImage&>(*img).camera.find("Velkarn"), std::string::npos);
    }
}

TEST(StillDamage, TruncatedFilesOfEveryKindAreDamagedAndEscapeAbortsTheLoadWithoutMessageOrPicture) {
    const std::string pgm = still_test::WritePgm("deep.pgm", still_test::DeepPicture());
    for (const char* name : {"deep.fits", "deep.tif", "deep.png", "deep.jpg"}) {
        SCOPED_TRACE(name);
        const std::string ext = std::string(name).substr(4);
        const std::string path = still_test::Convert(pgm, name, ext == ".jpg" ? "-depth 8 -strip" : "-depth 16 -strip");
        ASSERT_FALSE(path.empty());
        ASSERT_EQ(Open(path)->status, 0);
        const std::vector<std::uint8_t> whole = Bytes(path);
        const auto cut = Open(bmp_test::Write("cut" + ext, {whole.begin(), whole.begin() + whole.size() * 3 / 4}));
        EXPECT_EQ(Result(cut), std::pair(kStatusDamaged, false));
        EXPECT_EQ(Message(cut), "Image file is damaged or incomplete");
        const auto stub = Open(bmp_test::Write("stub" + ext, {whole.begin(), whole.begin() + 12}));
        EXPECT_LT(stub->status, 0);
        EXPECT_FALSE(Message(stub).empty());
        EXPECT_FALSE(Result(stub).second);
        if (ext == ".jpg") continue;
        ScriptedProgress escape;
        escape.escape_at_poll = 1;
        const auto aborted = Open(path, &escape);
        EXPECT_EQ(Result(aborted), std::pair(kStatusAborted, false));
        EXPECT_EQ(Message(aborted), "");
        EXPECT_EQ(escape.clears, 1);
    }
    // A DNG whose sensor data run past the end of the file: its one strip
    // offset (tag 273, a LONG) moved to 100 bytes before the end.
    std::vector<std::uint8_t> dng = Bytes(still_test::WriteDng("mosaic.dng", {24, 22, std::vector<std::uint16_t>(24 * 22, 500)}));
    ASSERT_EQ(Open(bmp_test::Write("whole.dng", dng))->status, 0);
    const std::uint8_t strip_entry[] = {0x11, 0x01, 4, 0, 1, 0, 0, 0};
    const auto entry = std::search(dng.begin(), dng.end(), std::begin(strip_entry), std::end(strip_entry));
    ASSERT_NE(entry, dng.end());
    AV_WL32(&entry[8], dng.size() - 100);
    const auto short_data = Open(bmp_test::Write("short.dng", dng));
    EXPECT_EQ(Result(short_data), std::pair(kStatusDamaged, false));
}

TEST(StillDamage, AFileOfAnotherKindIsWrongFormatAnUnknownRawAnUnsupportedCameraAndAbsurdDimensionsAndHostileHeadersAreRefused) {
    const std::vector<std::uint8_t> text{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'};
    for (const char* name : {"a.fits", "a.tif", "a.png", "a.jpg", "a.FTS"})
        EXPECT_EQ(Message(Open(bmp_test::Write(name, text))), "File has wrong format") << name;
    // gzip around a FITS file: not read, since the whole would be unpacked
    // into memory first.
    EXPECT_EQ(Open(bmp_test::Write("z.fits", {0x1f, 0x8b, 8, 0, 0, 0, 0, 0, 0, 3}))->status, kStatusWrongFormat);
    // LibRaw cannot tell a camera it does not know from a file that is no
    // RAW at all.
    const auto raw = Open(bmp_test::Write("a.NEF", std::vector<std::uint8_t>(4096, 'x')));
    EXPECT_EQ(raw->status, kStatusUnsupportedCamera);
    EXPECT_EQ(Message(raw), "RAW file from an unsupported camera, or damaged");
    EXPECT_FALSE(Result(Open(bmp_test::Write("missing_dir/x.fits", {}))).second);
    EXPECT_EQ(Open("/nonexistent/x.png")->status, kStatusCannotOpen);

    // Absurd dimensions are refused before any memory is taken. FITS claiming a million pixels square over one block of data.
    EXPECT_EQ(
        Open(still_test::WriteFits("huge.fits", ImageCards(16, {1000000, 1000000}), std::vector<std::uint8_t>(2880)))->status,
        kStatusDamaged);
    // TIFF claiming 100 000 x 100 000 over 32 bytes; a strip said to lie at
    // 2^31, far beyond the file's end.
    EXPECT_EQ(Open(bmp_test::Write("huge.tif", TinyTiff(100000, 100000, kTinyTiffData)))->status, kStatusDamaged);
    const auto far = Open(bmp_test::Write("far.tif", TinyTiff(4, 4, 0x80000000u)));
    EXPECT_EQ(Result(far), std::pair(kStatusDamaged, false));
    EXPECT_EQ(Open(bmp_test::Write("near.tif", TinyTiff(4, 4, kTinyTiffData)))->status, 0);

    // A PNG whose header claims 30 000 x 30 000 pixels over a few bytes of
    // compressed data (JPEG's claim takes the same check).
    const std::string pgm = still_test::WritePgm("small.pgm", still_test::DeepPicture());
    std::vector<std::uint8_t> png = Bytes(still_test::Convert(pgm, "small.png", "-depth 8"));
    ASSERT_GT(png.size(), 33u);
    AV_WB32(&png[16], 30000);
    AV_WB32(&png[20], 30000);
    AV_WB32(&png[29], av_crc(av_crc_get_table(AV_CRC_32_IEEE_LE), 0xFFFFFFFFu, &png[12], 17) ^ 0xFFFFFFFFu);
    const auto huge_png = Open(bmp_test::Write("huge.png", png));
    EXPECT_EQ(Result(huge_png), std::pair(kStatusDamaged, false));

    EXPECT_EQ(Message(Open(still_test::WriteFits("empty.fits", ImageCards(16, {}), {}))), "The file holds no picture");
    EXPECT_EQ(Open(still_test::WriteFits("line.fits", ImageCards(16, {10}), std::vector<std::uint8_t>(20)))->status, kStatusNoImage);
    std::vector<std::string> many_axes = ImageCards(16, {});
    many_axes.back() = "NAXIS   =                  999";
    const auto many = Open(still_test::WriteFits("axes.fits", many_axes, {}));
    EXPECT_LT(many->status, 0);
    EXPECT_FALSE(Message(many).empty());
    EXPECT_FALSE(Result(many).second);

    // A tile-compressed image (written by CFITSIO itself) is not read.
    const std::string tiles = bmp_test::Write("tiles.fits", {});
    fitsfile* f = nullptr;
    int st = 0;
    fits_create_file(&f, ("!" + tiles).c_str(), &st);
    fits_set_compression_type(f, RICE_1, &st);
    long axes[2] = {8, 8};
    short zeros[64] = {};
    fits_create_img(f, SHORT_IMG, 2, axes, &st);
    fits_write_img(f, TSHORT, 1, 64, zeros, &st);
    fits_close_file(f, &st);
    ASSERT_EQ(st, 0);
    EXPECT_EQ(Open(tiles)->status, kStatusUnsupportedLayout);
}
