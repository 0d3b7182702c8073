#include "image/fits_file_image.h"

#include <fitsio.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "platform/diagnostics.h"

namespace {

// Image HDUs looked through for the first one with a picture.
constexpr int kMostHdus = 64;
// Rows read at a time, between progress reports and Escape polls.
constexpr std::uint64_t kChunkSamples = std::uint64_t{1} << 18;

struct FitsCloser {
    void operator()(fitsfile* f) const {
        int ignored = 0;
        fits_close_file(f, &ignored);
    }
};
using FitsFile = std::unique_ptr<fitsfile, FitsCloser>;

// CFITSIO keeps its complaints on a stack; they go to the diagnostics.
void DrainMessages() {
    char message[FLEN_ERRMSG];
    while (fits_read_errmsg(message)) Diagnose("cfitsio", message);
}

int StatusOf(int fits_status) {
    DrainMessages();
    if (fits_status == MEMORY_ALLOCATION) return kStatusNoMemory;
    if (fits_status == FILE_NOT_OPENED) return kStatusCannotOpen;
    return kStatusDamaged;
}

bool StartsAsFits(const std::string& path) {
    char head[9] = {};
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    const bool ok = std::fread(head, 1, sizeof head, f) == sizeof head && std::memcmp(head, "SIMPLE  =", 9) == 0;
    std::fclose(f);
    return ok;
}

std::string Keyword(fitsfile* f, const char* name) {
    char value[FLEN_VALUE] = {};
    int status = 0;
    if (fits_read_key(f, TSTRING, name, value, nullptr, &status) != 0) {
        fits_clear_errmsg();
        return std::string();
    }
    std::string v(value);
    while (!v.empty() && v.back() == ' ') v.pop_back();
    return v;
}

// "RA---TAN" or "RA---TAN-SIP" when the two axes pair it with DEC.
std::string CelestialTan(fitsfile* f) {
    const std::string a = Keyword(f, "CTYPE1"), b = Keyword(f, "CTYPE2");
    for (const auto& [ra, dec] : {std::pair{a, b}, std::pair{b, a}}) {
        if ((ra == "RA---TAN" && dec == "DEC--TAN") || (ra == "RA---TAN-SIP" && dec == "DEC--TAN-SIP")) return ra;
    }
    return std::string();
}

// Moves to the first image HDU with two axes or more; false when there is
// none (or the file ends in a damaged header).
bool FindPicture(fitsfile* f, int& naxis, LONGLONG (&naxes)[3], int& bitpix, int& status) {
    for (int hdu = 1; hdu <= kMostHdus; ++hdu) {
        int type = 0;
        if (fits_movabs_hdu(f, hdu, &type, &status) != 0) return false;
        if (type != IMAGE_HDU) continue;
        naxes[0] = naxes[1] = naxes[2] = 1;
        if (fits_get_img_paramll(f, 3, &bitpix, &naxis, naxes, &status) != 0) return false;
        if (naxis >= 2) return true;
    }
    return false;
}

}  // namespace

FITSFileImage::FITSFileImage(ProgressService& progress, const std::string& file_name)
    : StillFileImage(file_name, "FITS") {
    Conclude(Load(progress));
}

int FITSFileImage::Load(ProgressService& progress) {
    StillTarget target(*this, progress);
    if (target.open_status() != kStatusOk) return target.open_status();
    if (!StartsAsFits(filename)) return kStatusWrongFormat;

    int st = 0;
    fitsfile* raw = nullptr;
    fits_open_diskfile(&raw, filename.c_str(), READONLY, &st);
    FitsFile f(raw);
    if (st != 0) return StatusOf(st);

    int naxis = 0, bitpix = 0;
    LONGLONG naxes[3] = {1, 1, 1};
    if (!FindPicture(f.get(), naxis, naxes, bitpix, st)) {
        // Running off the end of the file without a picture: a FITS that
        // holds tables or headers only.
        if (st == 0 || st == END_OF_FILE) {
            DrainMessages();
            return kStatusNoImage;
        }
        return StatusOf(st);
    }
    int equivalent = bitpix;
    fits_get_img_equivtype(f.get(), &equivalent, &st);
    const int compressed = fits_is_compressed_image(f.get(), &st);
    if (st != 0) return StatusOf(st);
    if (compressed) {
        // CFITSIO's tile decompressors read beyond their buffers on damaged
        // tiles; such a file is unpacked (funpack) before it is opened.
        Diagnose("cfitsio", "tile-compressed images are not read: unpack the file first");
        return kStatusUnsupportedLayout;
    }

    planes = naxis >= 3 ? static_cast<int>(std::min<LONGLONG>(naxes[2], std::numeric_limits<int>::max())) : 1;
    const LONGLONG plane = naxis == 3 && naxes[2] == 3 ? 1 : 0;  // green of red, green, blue
    const std::uint64_t bytes = static_cast<std::uint64_t>(std::abs(bitpix)) / 8;
    const std::uint64_t claimed = ClaimedBytes({static_cast<std::uint64_t>(naxes[0]),
                                                static_cast<std::uint64_t>(naxes[1]), bytes,
                                                static_cast<std::uint64_t>(plane + 1)});
    if (const int s = target.Begin(naxes[0], naxes[1], true, equivalent > 0, claimed, false, std::abs(bitpix));
        s != kStatusOk)
        return s;
    wcs = CelestialTan(f.get());

    std::vector<LONGLONG> first(static_cast<std::size_t>(naxis), 1);
    if (naxis >= 3) first[2] = plane + 1;
    const std::uint64_t total = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    const int rows_per_chunk = static_cast<int>(std::max<std::uint64_t>(1, kChunkSamples / width));
    float blank = std::numeric_limits<float>::quiet_NaN();
    // FITS rows run bottom first, the order of the samples.
    for (int row = 0; row < height; row += rows_per_chunk) {
        const int rows = std::min(rows_per_chunk, height - row);
        first[1] = row + 1;
        int any_blank = 0;
        if (fits_read_pixll(f.get(), TFLOAT, first.data(), static_cast<LONGLONG>(rows) * width, &blank,
                            samples.Row(row), &any_blank, &st) != 0)
            return StatusOf(st);
        if (target.Advance(static_cast<std::uint64_t>(row + rows) * width, total)) return kStatusAborted;
    }
    return kStatusOk;
}
