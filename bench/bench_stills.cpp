// Loading 24-megapixel 16-bit stills (FITS, TIFF, camera RAW as an
// uncompressed DNG) beside a plain read of the same file and the library's
// own decode of it, and re-making the display stretch of such a picture.
// Targets: a load within 1.5 x (plain read + library decode); a re-stretch
// under 100 ms.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <fitsio.h>
#include <libraw.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "image/fits_file_image.h"
#include "image/raw_file_image.h"
#include "image/tiff_file_image.h"
#include "platform/scripted.h"

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// A night sky: a background of about 1000 with noise, a star every few
// hundred pixels, the sensor's extremes here and there.
std::uint16_t Sky(int x, int y) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 2654435761u ^ static_cast<std::uint32_t>(y) * 2246822519u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    int v = 1000 + static_cast<int>(h & 63) + static_cast<int>((h >> 6) & 63) - 64;
    const int dx = x % 317 - 158, dy = y % 283 - 141;
    if (dx * dx + dy * dy < 9) v += 40000 / (1 + dx * dx + dy * dy);
    if ((h >> 12 & 0xFFFF) == 7) v = 65535;
    return static_cast<std::uint16_t>(v);
}

std::string TempFile(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

const std::string& FitsFile() {
    static const std::string path = [] {
        const std::string p = TempFile("velkarn_bench_sky.fits");
        std::FILE* f = std::fopen(p.c_str(), "wb");
        std::string header;
        for (const std::string card : {"SIMPLE  =                    T", "BITPIX  =                   16",
                                       "NAXIS   =                    2", "NAXIS1  =                 6000",
                                       "NAXIS2  =                 4000", "BZERO   =                32768", "END"})
            header += card + std::string(80 - card.size(), ' ');
        header.resize(2880, ' ');
        std::fwrite(header.data(), 1, header.size(), f);
        std::vector<std::uint8_t> row(2 * kWidth);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const std::uint16_t v = static_cast<std::uint16_t>(Sky(x, y) - 32768);
                row[2 * x] = static_cast<std::uint8_t>(v >> 8);
                row[2 * x + 1] = static_cast<std::uint8_t>(v);
            }
            std::fwrite(row.data(), 1, row.size(), f);
        }
        const long pad = (2880 - std::ftell(f) % 2880) % 2880;
        std::fwrite(std::string(pad, '\0').data(), 1, pad, f);
        std::fclose(f);
        return p;
    }();
    return path;
}

// A 16-bit grey TIFF, or an RGGB mosaic as a DNG, uncompressed.
std::string WriteTiff(const std::string& path, bool dng) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 16);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 64);
    if (dng) {
        const std::uint16_t dim[2] = {2, 2};
        const std::uint8_t rggb[4] = {0, 1, 1, 2};
        const std::uint8_t version[4] = {1, 4, 0, 0};
        const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        TIFFSetField(t, TIFFTAG_SUBFILETYPE, 0);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_CFA);
        TIFFSetField(t, TIFFTAG_MAKE, "Velkarn");
        TIFFSetField(t, TIFFTAG_MODEL, "Bench Mosaic");
        TIFFSetField(t, TIFFTAG_CFAREPEATPATTERNDIM, dim);
        TIFFSetField(t, TIFFTAG_CFAPATTERN, 4, rggb);
        TIFFSetField(t, TIFFTAG_DNGVERSION, version);
        TIFFSetField(t, TIFFTAG_UNIQUECAMERAMODEL, "Velkarn Bench Mosaic");
        TIFFSetField(t, TIFFTAG_COLORMATRIX1, 9, identity);
    } else {
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    }
    std::vector<std::uint16_t> row(kWidth);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) row[x] = Sky(x, y);
        TIFFWriteScanline(t, row.data(), y, 0);
    }
    TIFFClose(t);
    return path;
}

const std::string& TiffFile() {
    static const std::string path = WriteTiff(TempFile("velkarn_bench_sky.tif"), false);
    return path;
}

const std::string& DngFile() {
    static const std::string path = WriteTiff(TempFile("velkarn_bench_sky.dng"), true);
    return path;
}

// Into a buffer touched once before: the copy from the page cache alone,
// without the page faults of fresh memory (which on some virtual machines
// cost more than the read).
void PlainRead(benchmark::State& state, const std::string& (*file)()) {
    const std::string& path = file();
    const auto size = std::filesystem::file_size(path);
    std::vector<std::uint8_t> buf(size);
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_RDONLY);
        const ssize_t got = read(fd, buf.data(), buf.size());
        close(fd);
        if (got != static_cast<ssize_t>(size)) state.SkipWithError("short read");
        benchmark::DoNotOptimize(buf.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}
BENCHMARK_CAPTURE(PlainRead, fits, FitsFile)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlainRead, tiff, TiffFile)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlainRead, dng, DngFile)->Unit(benchmark::kMillisecond);

// The libraries alone, decoding into a buffer that exists already.
void BM_CfitsioDecode(benchmark::State& state) {
    std::vector<float> out(std::size_t{kWidth} * kHeight);
    for (auto _ : state) {
        int st = 0;
        fitsfile* f = nullptr;
        fits_open_diskfile(&f, FitsFile().c_str(), READONLY, &st);
        LONGLONG first[2] = {1, 1};
        fits_read_pixll(f, TFLOAT, first, static_cast<LONGLONG>(out.size()), nullptr, out.data(), nullptr, &st);
        fits_close_file(f, &st);
        if (st != 0) state.SkipWithError("cfitsio failed");
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_CfitsioDecode)->Unit(benchmark::kMillisecond);

void BM_LibtiffDecode(benchmark::State& state) {
    std::vector<std::uint16_t> out(std::size_t{kWidth} * kHeight);
    for (auto _ : state) {
        TIFF* t = TIFFOpen(TiffFile().c_str(), "r");
        auto* dst = reinterpret_cast<std::uint8_t*>(out.data());
        for (tstrip_t s = 0; s < TIFFNumberOfStrips(t); ++s) dst += TIFFReadEncodedStrip(t, s, dst, -1);
        TIFFClose(t);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_LibtiffDecode)->Unit(benchmark::kMillisecond);

void BM_LibRawDecode(benchmark::State& state) {
    for (auto _ : state) {
        auto raw = std::make_unique<LibRaw>();
        if (raw->open_file(DngFile().c_str()) != LIBRAW_SUCCESS || raw->unpack() != LIBRAW_SUCCESS)
            state.SkipWithError("LibRaw failed");
        benchmark::DoNotOptimize(raw->imgdata.rawdata.raw_image);
    }
}
BENCHMARK(BM_LibRawDecode)->Unit(benchmark::kMillisecond);

template <class Image>
void Load(benchmark::State& state, const std::string& (*file)()) {
    ScriptedProgress progress;
    for (auto _ : state) {
        Image img(progress, file());
        if (img.status != 0) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(img.picture.data());
    }
}
void BM_LoadFits(benchmark::State& state) { Load<FITSFileImage>(state, FitsFile); }
void BM_LoadTiff(benchmark::State& state) { Load<TIFFFileImage>(state, TiffFile); }
void BM_LoadDng(benchmark::State& state) { Load<RawFileImage>(state, DngFile); }
BENCHMARK(BM_LoadFits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTiff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDng)->Unit(benchmark::kMillisecond);

// The step the image dialog takes: a new white point, the picture re-made.
void BM_Restretch(benchmark::State& state) {
    ScriptedProgress progress;
    FITSFileImage img(progress, FitsFile());
    int step = 0;
    for (auto _ : state) {
        step = step == 1 ? -1 : 1;
        if (!img.SetWhiteStep(step)) state.SkipWithError("step refused");
        benchmark::DoNotOptimize(img.picture.data());
    }
}
BENCHMARK(BM_Restretch)->Unit(benchmark::kMillisecond);

// Choosing the points at load.
void BM_AutomaticStretch(benchmark::State& state) {
    ScriptedProgress progress;
    FITSFileImage img(progress, FitsFile());
    for (auto _ : state) benchmark::DoNotOptimize(AutomaticStretch(img.samples));
}
BENCHMARK(BM_AutomaticStretch)->Unit(benchmark::kMillisecond);

}  // namespace
