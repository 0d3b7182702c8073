// Damaged and hostile still files: each gives a status with its message
// and leaves no picture, never a crash or a huge allocation.
#include <gtest/gtest.h>

#include <fitsio.h>

#include <fstream>

#include "bmp_test_files.h"
#include "image/open_image.h"
#include "image/still_file_image.h"
#include "platform/scripted.h"
#include "still_test_files.h"

namespace {

using still_test::ImageCards;

struct Outcome {
    int status;
    bool picture;
    std::string message;
};

Outcome Load(const std::string& path, ScriptedProgress& progress) {
    ImageOpenContext context{progress};
    const auto image = OpenImageFile(path, context);
    const auto* still = dynamic_cast<const StillFileImage*>(image.get());
    const bool kept = image->HasPicture() || (still && still->IsDeep());
    return {image->status, kept, ImageStatusMessage(image->status)};
}

Outcome Load(const std::string& path) {
    ScriptedProgress progress;
    return Load(path, progress);
}

std::vector<std::uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

void Put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
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
        Put(out, e[0], 2);
        Put(out, e[1], 2);
        Put(out, 1, 4);
        Put(out, e[2], 4);
    }
    Put(out, 0, 4);
    out.resize(out.size() + 32, 0x11);
    return out;
}

std::uint32_t Crc32(const std::uint8_t* p, std::size_t n) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

// Sets the value of a one-value LONG or SHORT entry of the first directory
// of a little-endian TIFF.
void SetTiffEntry(std::vector<std::uint8_t>& tiff, std::uint16_t tag, std::uint32_t value) {
    const auto get = [&tiff](std::size_t at, int bytes) {
        std::uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = v << 8 | tiff.at(at + i);
        return v;
    };
    const std::uint32_t ifd = get(4, 4);
    for (std::uint32_t i = 0, n = get(ifd, 2); i < n; ++i) {
        const std::size_t entry = ifd + 2 + 12 * i;
        if (get(entry, 2) != tag) continue;
        for (int b = 0; b < 4; ++b) tiff.at(entry + 8 + b) = static_cast<std::uint8_t>(value >> (8 * b));
    }
}

void PutBig(std::uint8_t* p, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * (bytes - 1 - i)));
}


}  // namespace

TEST(StillDamage, TruncatedFilesOfEveryKindAreDamaged) {
    const std::string pgm = still_test::WritePgm("deep.pgm", still_test::DeepPicture());
    std::vector<std::string> files;
    for (const char* name : {"deep.fits", "deep.tif", "deep.png"})
        files.push_back(still_test::Convert(pgm, name, "-depth 16 -strip"));
    files.push_back(still_test::Convert(pgm, "deep.jpg", "-depth 8 -strip"));
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        ASSERT_FALSE(path.empty());
        ASSERT_EQ(Load(path).status, 0);
        const std::string ext = path.substr(path.rfind('.'));
        const Outcome cut = Load(still_test::Truncated(path, "cut" + ext, Bytes(path).size() * 3 / 4));
        EXPECT_EQ(cut.status, kStatusDamaged);
        EXPECT_EQ(cut.message, "Image file is damaged or incomplete");
        EXPECT_FALSE(cut.picture);
        const Outcome stub = Load(still_test::Truncated(path, "stub" + ext, 12));
        EXPECT_LT(stub.status, 0);
        EXPECT_FALSE(stub.message.empty());
        EXPECT_FALSE(stub.picture);
    }
    // A DNG whose sensor data run past the end of the file.
    const still_test::Picture mosaic{24, 22, std::vector<std::uint16_t>(24 * 22, 500)};
    std::vector<std::uint8_t> dng = Bytes(still_test::WriteDng("mosaic.dng", mosaic));
    ASSERT_EQ(Load(bmp_test::Write("whole.dng", dng)).status, 0);
    SetTiffEntry(dng, 273, static_cast<std::uint32_t>(dng.size() - 100));
    const Outcome short_data = Load(bmp_test::Write("short.dng", dng));
    EXPECT_EQ(short_data.status, kStatusDamaged);
    EXPECT_FALSE(short_data.picture);
}

TEST(StillDamage, AFileOfAnotherKindIsWrongFormatAndAnUnknownRawIsAnUnsupportedCamera) {
    const std::vector<std::uint8_t> text{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'};
    for (const char* name : {"a.fits", "a.tif", "a.png", "a.jpg", "a.FTS"}) {
        SCOPED_TRACE(name);
        const Outcome o = Load(bmp_test::Write(name, text));
        EXPECT_EQ(o.status, kStatusWrongFormat);
        EXPECT_EQ(o.message, "File has wrong format");
    }
    // gzip around a FITS file: not read, since the whole would be unpacked
    // into memory first.
    EXPECT_EQ(Load(bmp_test::Write("z.fits", {0x1f, 0x8b, 8, 0, 0, 0, 0, 0, 0, 3})).status, kStatusWrongFormat);
    // LibRaw cannot tell a camera it does not know from a file that is no
    // RAW at all.
    std::vector<std::uint8_t> not_raw(4096, 'x');
    const Outcome raw = Load(bmp_test::Write("a.NEF", not_raw));
    EXPECT_EQ(raw.status, kStatusUnsupportedCamera);
    EXPECT_EQ(raw.message, "RAW file from an unsupported camera, or damaged");
    EXPECT_FALSE(Load(bmp_test::Write("missing_dir/x.fits", {})).picture);
    EXPECT_EQ(Load("/nonexistent/x.png").status, kStatusCannotOpen);
}

TEST(StillDamage, AbsurdDimensionsAreRefusedBeforeAnyMemoryIsTaken) {
    // FITS claiming a million pixels square over one block of data.
    EXPECT_EQ(
        Load(still_test::WriteFits("huge.fits", ImageCards(16, {1000000, 1000000}), std::vector<std::uint8_t>(2880))).status,
        kStatusDamaged);
    // TIFF claiming 100 000 x 100 000 over 32 bytes.
    EXPECT_EQ(Load(bmp_test::Write("huge.tif", TinyTiff(100000, 100000, kTinyTiffData))).status, kStatusDamaged);

    // A PNG whose header claims 30 000 x 30 000 pixels over a few bytes of
    // compressed data (JPEG's claim takes the same check).
    const std::string pgm = still_test::WritePgm("small.pgm", still_test::DeepPicture());
    std::vector<std::uint8_t> png = Bytes(still_test::Convert(pgm, "small.png", "-depth 8"));
    ASSERT_GT(png.size(), 33u);
    PutBig(&png[16], 30000, 4);
    PutBig(&png[20], 30000, 4);
    PutBig(&png[29], Crc32(&png[12], 17), 4);
    const Outcome huge_png = Load(bmp_test::Write("huge.png", png));
    EXPECT_EQ(huge_png.status, kStatusDamaged);
    EXPECT_FALSE(huge_png.picture);

}

TEST(StillDamage, HostileFitsAndTiffHeadersGiveAStatus) {
    const Outcome empty = Load(still_test::WriteFits("empty.fits", ImageCards(16, {}), {}));
    EXPECT_EQ(empty.status, kStatusNoImage);
    EXPECT_EQ(empty.message, "The file holds no picture");
    const Outcome line = Load(still_test::WriteFits("line.fits", ImageCards(16, {10}), std::vector<std::uint8_t>(20)));
    EXPECT_EQ(line.status, kStatusNoImage);

    std::vector<std::string> many_axes = ImageCards(16, {});
    many_axes.back() = "NAXIS   =                  999";
    const Outcome many = Load(still_test::WriteFits("axes.fits", many_axes, {}));
    EXPECT_LT(many.status, 0);
    EXPECT_FALSE(many.message.empty());
    EXPECT_FALSE(many.picture);

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
    EXPECT_EQ(Load(tiles).status, kStatusUnsupportedLayout);

    // A strip said to lie at 2^31, far beyond the file's end.
    const Outcome far = Load(bmp_test::Write("far.tif", TinyTiff(4, 4, 0x80000000u)));
    EXPECT_EQ(far.status, kStatusDamaged);
    EXPECT_FALSE(far.picture);
    EXPECT_EQ(Load(bmp_test::Write("near.tif", TinyTiff(4, 4, kTinyTiffData))).status, 0);
}

TEST(StillDamage, EscapeAbortsTheLoadWithoutMessageOrPicture) {
    const std::string pgm = still_test::WritePgm("deep.pgm", still_test::DeepPicture());
    for (const char* name : {"deep.fits", "deep.tif", "deep.png"}) {
        SCOPED_TRACE(name);
        ScriptedProgress progress;
        progress.escape_at_poll = 1;
        const Outcome o = Load(still_test::Convert(pgm, name, "-depth 16"), progress);
        EXPECT_EQ(o.status, kStatusAborted);
        EXPECT_EQ(o.message, "");
        EXPECT_FALSE(o.picture);
        EXPECT_EQ(progress.clears, 1);
    }
}
