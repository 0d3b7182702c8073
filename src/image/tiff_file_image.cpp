#include "image/tiff_file_image.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "image/packed_dib.h"
#include "platform/diagnostics.h"

namespace {

struct TiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

struct OptionsFreer {
    void operator()(TIFFOpenOptions* o) const { TIFFOpenOptionsFree(o); }
};

// libtiff's errors and warnings go to the diagnostics, never to stderr.
int TiffMessage(TIFF*, void* level, const char* module, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    std::string line = std::string(static_cast<const char*>(level)) + (module ? module : "") + ": " + text;
    Diagnose("libtiff", line);
    return 1;
}

bool StartsAsTiff(const std::string& path) {
    unsigned char head[4] = {};
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    const bool got = std::fread(head, 1, sizeof head, f) == sizeof head;
    std::fclose(f);
    return got && ((head[0] == 'I' && head[1] == 'I' && (head[2] == 42 || head[2] == 43) && head[3] == 0) ||
                   (head[0] == 'M' && head[1] == 'M' && head[2] == 0 && (head[3] == 42 || head[3] == 43)));
}

// How the samples of one pixel lie and which of them is read.
struct Layout {
    std::uint32_t width = 0, height = 0;
    std::uint16_t bits = 1, spp = 1, photometric = 0, planar = PLANARCONFIG_CONTIG, format = SAMPLEFORMAT_UINT;
    std::uint16_t compression = COMPRESSION_NONE;
    int channel = 0;      // the sample read: 0 grey, 1 the green of RGB
    bool invert = false;  // white is zero
    const std::uint16_t* green_map = nullptr;  // palette: green of each index
    bool deep() const { return bits > 8; }
    bool contig() const { return planar == PLANARCONFIG_CONTIG || spp == 1; }
};

// The layouts read sample by sample; the rest goes through 8-bit RGBA.
bool ReadsDirectly(TIFF* t, Layout& l) {
    if (l.photometric == PHOTOMETRIC_YCBCR && l.compression == COMPRESSION_JPEG) {
        TIFFSetField(t, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
        l.photometric = PHOTOMETRIC_RGB;
    }
    const bool sizes = (l.bits == 8 && l.format == SAMPLEFORMAT_UINT) ||
                       (l.bits == 16 && (l.format == SAMPLEFORMAT_UINT || l.format == SAMPLEFORMAT_INT)) ||
                       (l.bits == 32 && l.format != SAMPLEFORMAT_VOID && l.format <= SAMPLEFORMAT_IEEEFP);
    if (!sizes) return false;
    switch (l.photometric) {
        case PHOTOMETRIC_MINISWHITE: l.invert = true; [[fallthrough]];
        case PHOTOMETRIC_MINISBLACK: l.channel = 0; return true;
        case PHOTOMETRIC_RGB: l.channel = 1; return l.spp >= 3;
        case PHOTOMETRIC_PALETTE: {
            std::uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
            if (l.bits != 8 || !TIFFGetField(t, TIFFTAG_COLORMAP, &r, &g, &b)) return false;
            l.green_map = g;
            return true;
        }
        default: return false;
    }
}

// `count` samples of type T, `step` bytes apart, as floats; white-is-zero
// data turned round (top - v) so that brighter is higher.
template <class T>
void Gather(const std::uint8_t* src, std::uint32_t count, std::size_t step, bool invert, float top, float* out) {
    std::uint32_t i = 0;
#if defined(__SSE2__)
    // 16-bit grey, the common camera export: eight samples at a time.
    if constexpr (std::is_same_v<T, std::uint16_t>) {
        if (step == 2) {
            const __m128i zero = _mm_setzero_si128();
            for (; i + 8 <= count; i += 8) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 2 * i));
                _mm_storeu_ps(out + i, _mm_cvtepi32_ps(_mm_unpacklo_epi16(v, zero)));
                _mm_storeu_ps(out + i + 4, _mm_cvtepi32_ps(_mm_unpackhi_epi16(v, zero)));
            }
        }
    }
#endif
    for (; i < count; ++i) {
        T v;
        std::memcpy(&v, src + i * step, sizeof v);
        out[i] = static_cast<float>(v);
    }
    if (invert)
        for (i = 0; i < count; ++i) out[i] = top - out[i];
}

// Copies the chosen sample of `count` pixels of a decoded block row into
// the picture or the samples at column x0 of top row y.
void CopyRow(const std::uint8_t* src, std::uint32_t count, std::uint32_t x0, std::uint32_t y, const Layout& l,
             StillTarget& target) {
    const std::size_t bytes = l.bits / 8;
    const std::size_t step = (l.contig() ? l.spp : 1) * bytes;
    src += (l.contig() ? l.channel : 0) * bytes;
    if (l.deep()) {
        float* out = target.SampleRow(static_cast<int>(y)) + x0;
        if (l.bits == 16 && l.format == SAMPLEFORMAT_INT) Gather<std::int16_t>(src, count, step, l.invert, 0, out);
        else if (l.bits == 16) Gather<std::uint16_t>(src, count, step, l.invert, 65535, out);
        else if (l.format == SAMPLEFORMAT_IEEEFP) Gather<float>(src, count, step, l.invert, 0, out);
        else if (l.format == SAMPLEFORMAT_INT) Gather<std::int32_t>(src, count, step, l.invert, 0, out);
        else Gather<std::uint32_t>(src, count, step, l.invert, 0, out);
        return;
    }
    std::uint8_t* out = target.PictureRow(static_cast<int>(y)) + x0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t v = src[i * step];
        out[i] = l.green_map ? static_cast<std::uint8_t>(l.green_map[v] >> 8) : l.invert ? 255 - v : v;
    }
}

// Reads the chosen sample of every pixel, strip by strip or tile by tile.
int ReadBlocks(TIFF* t, const Layout& l, StillTarget& target) {
    const bool tiled = TIFFIsTiled(t);
    std::uint32_t block_w = l.width, block_h = 0;
    if (tiled) {
        TIFFGetField(t, TIFFTAG_TILEWIDTH, &block_w);
        TIFFGetField(t, TIFFTAG_TILELENGTH, &block_h);
    } else {
        TIFFGetFieldDefaulted(t, TIFFTAG_ROWSPERSTRIP, &block_h);
    }
    block_h = std::clamp<std::uint32_t>(block_h, 1, l.height);
    if (block_w == 0) return kStatusDamaged;
    const tmsize_t block_size = tiled ? TIFFTileSize(t) : TIFFStripSize(t);
    const std::uint64_t row_bytes = std::uint64_t{block_w} * (l.contig() ? l.spp : 1) * (l.bits / 8);
    if (block_size <= 0 || row_bytes * block_h > static_cast<std::uint64_t>(block_size)) return kStatusDamaged;
    std::vector<std::uint8_t> block;
    try {
        block.resize(static_cast<std::size_t>(block_size));
    } catch (const std::bad_alloc&) {
        return kStatusNoMemory;
    }
    const std::uint16_t plane = l.contig() ? 0 : static_cast<std::uint16_t>(l.channel);
    for (std::uint32_t y0 = 0; y0 < l.height; y0 += block_h) {
        const std::uint32_t rows = std::min(block_h, l.height - y0);
        for (std::uint32_t x0 = 0; x0 < l.width; x0 += block_w) {
            const tmsize_t got =
                tiled ? TIFFReadEncodedTile(t, TIFFComputeTile(t, x0, y0, 0, plane), block.data(), block_size)
                      : TIFFReadEncodedStrip(t, TIFFComputeStrip(t, y0, plane), block.data(), block_size);
            if (got < 0 || static_cast<std::uint64_t>(got) < row_bytes * (tiled ? block_h : rows)) return kStatusDamaged;
            const std::uint32_t count = std::min(block_w, l.width - x0);
            for (std::uint32_t r = 0; r < rows; ++r) CopyRow(block.data() + r * row_bytes, count, x0, y0 + r, l, target);
        }
        if (target.Advance(std::uint64_t{y0} + rows, l.height)) return kStatusAborted;
    }
    return kStatusOk;
}

// Any other layout, as libtiff renders it in 8-bit RGBA; the green of each.
int ReadThroughRgba(TIFF* t, const Layout& l, StillTarget& target) {
    char why[1024] = {};
    if (!TIFFRGBAImageOK(t, why)) {
        Diagnose("libtiff", why);
        return kStatusUnsupportedLayout;
    }
    const std::uint64_t raster_bytes = ClaimedBytes({l.width, l.height, 4});
    if (raster_bytes > packed_dib::kMaxPixelBytes) return kStatusNoMemory;
    std::vector<std::uint32_t> raster;
    try {
        raster.resize(static_cast<std::size_t>(raster_bytes / 4));
    } catch (const std::bad_alloc&) {
        return kStatusNoMemory;
    }
    if (!TIFFReadRGBAImageOriented(t, l.width, l.height, raster.data(), ORIENTATION_TOPLEFT, 0)) return kStatusDamaged;
    for (std::uint32_t y = 0; y < l.height; ++y) {
        std::uint8_t* out = target.PictureRow(static_cast<int>(y));
        const std::uint32_t* in = raster.data() + std::size_t{y} * l.width;
        for (std::uint32_t x = 0; x < l.width; ++x) out[x] = static_cast<std::uint8_t>(TIFFGetG(in[x]));
    }
    return kStatusOk;
}

}  // namespace

TIFFFileImage::TIFFFileImage(ProgressService& progress, const std::string& file_name)
    : StillFileImage(file_name, "TIFF") {
    Conclude(Load(progress));
}

int TIFFFileImage::Load(ProgressService& progress) {
    StillTarget target(*this, progress);
    if (target.open_status() != kStatusOk) return target.open_status();
    if (!StartsAsTiff(filename)) return kStatusWrongFormat;

    static char error_level[] = "error: ";
    static char warning_level[] = "warning: ";
    std::unique_ptr<TIFFOpenOptions, OptionsFreer> options(TIFFOpenOptionsAlloc());
    if (!options) return kStatusNoMemory;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), TiffMessage, error_level);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), TiffMessage, warning_level);
    // No single buffer beyond the largest picture (of 4-byte pixels).
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), static_cast<tmsize_t>(4 * packed_dib::kMaxPixelBytes));
    TiffFile t(TIFFOpenExt(filename.c_str(), "r", options.get()));
    if (!t) return kStatusDamaged;

    Layout l;
    if (!TIFFGetField(t.get(), TIFFTAG_IMAGEWIDTH, &l.width) || !TIFFGetField(t.get(), TIFFTAG_IMAGELENGTH, &l.height))
        return kStatusDamaged;
    TIFFGetFieldDefaulted(t.get(), TIFFTAG_BITSPERSAMPLE, &l.bits);
    TIFFGetFieldDefaulted(t.get(), TIFFTAG_SAMPLESPERPIXEL, &l.spp);
    TIFFGetFieldDefaulted(t.get(), TIFFTAG_PLANARCONFIG, &l.planar);
    TIFFGetFieldDefaulted(t.get(), TIFFTAG_SAMPLEFORMAT, &l.format);
    TIFFGetFieldDefaulted(t.get(), TIFFTAG_COMPRESSION, &l.compression);
    if (!TIFFGetField(t.get(), TIFFTAG_PHOTOMETRIC, &l.photometric))
        l.photometric = l.spp >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    if (l.spp == 0 || l.bits == 0) return kStatusDamaged;

    const bool direct = ReadsDirectly(t.get(), l);
    const std::uint64_t row_bits = ClaimedBytes({l.width, l.spp, l.bits});
    const std::uint64_t claimed = ClaimedBytes({row_bits / 8 + (row_bits % 8 != 0), l.height});
    const bool deep = direct && l.deep();
    const bool integer = l.format != SAMPLEFORMAT_IEEEFP;
    if (const int s = target.Begin(l.width, l.height, deep, integer, claimed, l.compression != COMPRESSION_NONE,
                                   direct ? l.bits : 8);
        s != kStatusOk)
        return s;
    return direct ? ReadBlocks(t.get(), l, target) : ReadThroughRgba(t.get(), l, target);
}
