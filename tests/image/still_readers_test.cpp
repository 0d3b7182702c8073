// The still readers against files another program wrote: ImageMagick for
// FITS, TIFF, PNG and JPEG (from PGM and PPM files the tests write), FITS
// headers written card by card for the variants ImageMagick does not write,
// and a DNG built tag by tag with libtiff for camera RAW.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "bmp_test_files.h"
#include "image/fits_file_image.h"
#include "image/open_image.h"
#include "image/packed_dib.h"
#include "image/raw_file_image.h"
#include "image/still_file_image.h"
#include "platform/raster_canvas.h"
#include "platform/scripted.h"
#include "still_test_files.h"

namespace {

using still_test::ImageCards;
using still_test::Picture;

std::unique_ptr<StillFileImage> Open(const std::string& path) {
    ScriptedProgress progress;
    ImageOpenContext context{progress};
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

}  // namespace

TEST(StillReaders, SixteenBitFilesKeepEverySampleAndShowMedianBlackToHighPercentileWhite) {
    const Picture p = still_test::DeepPicture();
    const std::string pgm = still_test::WritePgm("deep.pgm", p);
    struct Case {
        const char* name;
        const char* options;
        const char* format;
        const char* magic;
    };
    for (const Case& c : {Case{"deep.fits", "-depth 16", "FITS", "SIMPLE"}, Case{"le.tif", "-depth 16 -define tiff:endian=lsb", "TIFF", "II"},
                          Case{"be.tif", "-depth 16 -define tiff:endian=msb", "TIFF", "MM"}, Case{"deep.png", "-depth 16", "PNG", "\x89PNG"}}) {
        SCOPED_TRACE(c.name);
        const std::string path = still_test::Convert(pgm, c.name, c.options);
        ASSERT_FALSE(path.empty());
        std::string head(6, '\0');
        std::ifstream(path, std::ios::binary).read(head.data(), 6);
        ASSERT_TRUE(head.starts_with(c.magic)) << "ImageMagick wrote another layout than the case is for";

        const auto img = Open(path);
        ASSERT_TRUE(img);
        ASSERT_EQ(img->status, 0);
        EXPECT_EQ(img->type, 1);
        EXPECT_EQ(img->format, c.format);
        EXPECT_EQ(img->bits, 16);
        ASSERT_EQ(img->width, 10);
        ASSERT_EQ(img->height, 10);
        ASSERT_TRUE(img->IsDeep());
        // Every sample at full depth and in its place: the 16-bit extremes,
        // FITS's BZERO of 32768, either byte order, FITS rows bottom first.
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) ASSERT_EQ(Sample(*img, x, y), p.at(x, y)) << x << "," << y;
        EXPECT_EQ(img->stretch, (StretchPoints{1000, 3000}));
        EXPECT_EQ(Level(*img, 0, 0), 0);    // 0
        EXPECT_EQ(Level(*img, 1, 0), 0);    // 1000, the black point
        EXPECT_EQ(Level(*img, 0, 6), 64);   // 1500: 500 / 2000 of the ramp, 63.75
        EXPECT_EQ(Level(*img, 0, 8), 204);  // 2600
        EXPECT_EQ(Level(*img, 0, 9), 255);  // 3000, the white point
        EXPECT_EQ(Level(*img, 9, 9), 255);  // 65535
    }
}

TEST(StillReaders, EightBitFilesBecomeThePictureAsTheyAre) {
    const Picture p = Filled(7, 5, [](int x, int y) { return static_cast<std::uint16_t>((x * 37 + y * 11) % 256 * 257); });
    const std::string pgm = still_test::WritePgm("grey.pgm", p);
    for (const char* name : {"grey.png", "grey.tif"}) {
        SCOPED_TRACE(name);
        const auto img = Open(still_test::Convert(pgm, name, "-depth 8"));
        ASSERT_TRUE(img);
        ASSERT_EQ(img->status, 0);
        EXPECT_EQ(img->bits, 8);
        EXPECT_FALSE(img->IsDeep());
        EXPECT_FALSE(img->SetWhiteStep(1));  // nothing to stretch
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) ASSERT_EQ(Level(*img, x, y), p.at(x, y) / 257) << x << "," << y;
    }
}

TEST(StillReaders, ColourGivesItsGreen) {
    const Picture red = Filled(6, 4, [](int x, int) { return static_cast<std::uint16_t>(60000 - x * 1000); });
    const Picture green = Filled(6, 4, [](int x, int y) { return static_cast<std::uint16_t>(x * 4000 + y * 300); });
    const Picture blue = Filled(6, 4, [](int, int y) { return static_cast<std::uint16_t>(y * 9000); });
    const std::string ppm = still_test::WritePpm("colour.ppm", red, green, blue);
    for (const char* name : {"colour.tif", "colour.png"}) {
        SCOPED_TRACE(name);
        const auto img = Open(still_test::Convert(ppm, name, "-depth 16"));
        ASSERT_TRUE(img);
        ASSERT_EQ(img->status, 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) ASSERT_EQ(Sample(*img, x, y), green.at(x, y)) << x << "," << y;
    }
    // Palette and 8-bit RGB: the green of each pixel's colour.
    for (const auto& [name, format] : {std::pair{"palette.png", "PNG8:"}, std::pair{"rgb8.tif", ""}}) {
        SCOPED_TRACE(name);
        const auto img = Open(still_test::Convert(ppm, name, "-depth 8", format));
        ASSERT_TRUE(img);
        ASSERT_EQ(img->status, 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) ASSERT_EQ(Level(*img, x, y), green.at(x, y) / 257) << x << "," << y;
    }
    // A colour JPEG of one flat colour: its green, not its luminance (which
    // would be 103), within the JPEG's rounding.
    const auto flat = [](int v) { return Picture{32, 16, std::vector<std::uint16_t>(32 * 16, static_cast<std::uint16_t>(v))}; };
    const std::string flat_ppm = still_test::WritePpm("flat.ppm", flat(200 * 257), flat(50 * 257), flat(120 * 257));
    const auto img = Open(still_test::Convert(flat_ppm, "colour.jpg", "-depth 8 -quality 100 -sampling-factor 1x1"));
    ASSERT_TRUE(img);
    ASSERT_EQ(img->status, 0);
    EXPECT_FALSE(img->IsDeep());
    EXPECT_NEAR(Level(*img, 5, 5), 50, 2);
}

TEST(StillReaders, FitsScalesFloatsAndBlanksAndReadsTheFirstPictureWithItsWcs) {
    // BSCALE 2, BZERO 100 on 16-bit integers, in an image extension after
    // an empty primary array; a celestial TAN-SIP WCS in its header.
    const std::vector<std::uint8_t> ints = still_test::BigEndian16({-5, 0, 7, 32767, -32768, 1});
    std::vector<std::uint8_t> file_data(2880, 0);
    {
        std::string ext;
        for (std::string card : {"XTENSION= 'IMAGE   '", "BITPIX  =                   16", "NAXIS   =                    2",
                                 "NAXIS1  =                    3", "NAXIS2  =                    2", "PCOUNT  =                    0",
                                 "GCOUNT  =                    1", "BSCALE  =                  2.0", "BZERO   =                100.0",
                                 "CTYPE1  = 'RA---TAN-SIP'", "CTYPE2  = 'DEC--TAN-SIP'", "END"})
            ext += card + std::string(80 - card.size(), ' ');
        ext.resize(2880, ' ');
        file_data.assign(ext.begin(), ext.end());
        file_data.insert(file_data.end(), ints.begin(), ints.end());
        file_data.resize(2 * 2880, 0);
    }
    const auto scaled = Open(
        still_test::WriteFits("scaled.fits", ImageCards(8, {}, {"EXTEND  =                    T"}), file_data));
    ASSERT_TRUE(scaled);
    ASSERT_EQ(scaled->status, 0);
    ASSERT_EQ(scaled->width, 3);
    // FITS row 1 is the bottom row.
    EXPECT_EQ(Sample(*scaled, 0, 1), 90);
    EXPECT_EQ(Sample(*scaled, 2, 1), 114);
    EXPECT_EQ(Sample(*scaled, 0, 0), 65634);
    EXPECT_EQ(Sample(*scaled, 1, 0), -65436);
    EXPECT_EQ(dynamic_cast<FITSFileImage&>(*scaled).wcs, "RA---TAN-SIP");

    // 32-bit floats with a blank (NaN), shown black; no WCS without DEC.
    const float nan = std::nanf("");
    const auto floats = Open(still_test::WriteFits(
        "float.fits", ImageCards(-32, {2, 2}, {"CTYPE1  = 'RA---TAN'", "CTYPE2  = 'GLAT-TAN'"}),
        still_test::BigEndianFloat({nan, 0.25f, 0.5f, 1e6f})));
    ASSERT_TRUE(floats);
    ASSERT_EQ(floats->status, 0);
    EXPECT_TRUE(std::isnan(Sample(*floats, 0, 1)));
    EXPECT_EQ(Sample(*floats, 1, 1), 0.25f);
    EXPECT_EQ(Sample(*floats, 1, 0), 1e6f);
    EXPECT_EQ(Level(*floats, 0, 1), 0);
    EXPECT_EQ(Level(*floats, 1, 0), 255);
    EXPECT_EQ(dynamic_cast<FITSFileImage&>(*floats).wcs, "");

    // A cube of three planes is red, green, blue: the green one is read.
    const auto cube = Open(still_test::WriteFits(
        "cube.fits", ImageCards(16, {2, 1, 3}),
        still_test::BigEndian16({1, 2, 30, 40, 500, 600})));
    ASSERT_TRUE(cube);
    ASSERT_EQ(cube->status, 0);
    EXPECT_EQ(dynamic_cast<FITSFileImage&>(*cube).planes, 3);
    EXPECT_EQ(Sample(*cube, 0, 0), 30);
    EXPECT_EQ(Sample(*cube, 1, 0), 40);
}

TEST(StillReaders, AFitsCubeIsASourceOfFramesWhosePictureIsTheMeanOfItsPlanes) {
    const std::vector<std::int16_t> planes = {100, 900, 200, 1000, 300, 1100, 400, 1300};
    const std::string path = still_test::WriteFits("frames.fits", ImageCards(16, {2, 1, 4}), still_test::BigEndian16(planes));
    const auto cube = Open(path);
    ASSERT_TRUE(cube);
    ASSERT_EQ(cube->status, 0);
    EXPECT_EQ(cube->type, ImageType::Video);
    EXPECT_EQ(cube->GetNFr(), 4);
    EXPECT_EQ(Sample(*cube, 0, 0), 250);
    EXPECT_EQ(Sample(*cube, 1, 0), 1075);

    // Each frame is its own plane through the picture's stretch, and a new
    // stretch reaches the frame shown.
    RasterCanvas canvas(2, 1);
    const auto frame_level = [&](int frame, int x) {
        cube->Display(canvas, 0, 0, 2, 1, 0, 0, 2, 1, frame);
        return packed_dib::Row(cube->frame_picture, 2, 0)[x];
    };
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(frame_level(f, 0), StretchLevel(planes[2 * f], cube->stretch)) << f;
        EXPECT_EQ(frame_level(f, 1), StretchLevel(planes[2 * f + 1], cube->stretch)) << f;
    }
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
    EXPECT_EQ(short_cube->status, kStatusDamaged);
    EXPECT_FALSE(short_cube->HasPicture());
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
        ASSERT_TRUE(img);
        ASSERT_EQ(img->status, 0) << ImageStatusMessage(img->status);
        EXPECT_EQ(img->format, "Camera RAW");
        ASSERT_EQ(img->width, 24);
        ASSERT_EQ(img->height, 22);
        EXPECT_EQ(Sample(*img, 1, 0), 0);
        EXPECT_EQ(Sample(*img, 5, 2), 65535);
        EXPECT_EQ(Sample(*img, 3, 2), p.at(3, 2));
        // Red in the corner: its two green neighbours; red and blue inside:
        // the four beside them.
        EXPECT_EQ(Sample(*img, 0, 0), (p.at(1, 0) + p.at(0, 1)) / 2.0f);
        EXPECT_EQ(Sample(*img, 2, 2), (p.at(1, 2) + p.at(3, 2) + p.at(2, 1) + p.at(2, 3)) / 4.0f);
        EXPECT_EQ(Sample(*img, 3, 1), (p.at(2, 1) + p.at(4, 1) + p.at(3, 0) + p.at(3, 2)) / 4.0f);
        EXPECT_NE(dynamic_cast<RawFileImage&>(*img).camera.find("Velkarn"), std::string::npos);
    }
}
