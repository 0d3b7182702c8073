#include "image/fits_file_image.h"

#include <fitsio.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "image/avi_image.h"
#include "image/fits_header.h"
#include "image/packed_dib.h"
#include "platform/diagnostics.h"

namespace {

// Planes of a cube averaged into the picture, as many as of a video.
constexpr int kMostAveraged = 8;
// Rows read at a time, between progress reports and Escape polls.
constexpr std::uint64_t kChunkSamples = std::uint64_t{1} << 18;

using fits_header::kMostHdus;
using FitsFile = fits_header::File;

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

// "RA---TAN" or "RA---TAN-SIP" when the two axes pair it with DEC.
std::string CelestialTan(fitsfile* f) {
    const int axis = fits_header::CelestialRaAxis(f);
    return axis == 0 ? std::string() : fits_header::Text(f, axis == 1 ? "CTYPE1" : "CTYPE2");
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

// Reads plane (1-based) of the current HDU in chunks of rows: dest(row,
// rows) says where a chunk goes, take(samples, row, rows) uses it and may
// stop the reading. False when CFITSIO fails (st says why) or take stopped.
template <class Dest, class Take>
bool ReadPlane(fitsfile* f, int naxis, int width, int height, int plane, int& st, Dest&& dest, Take&& take) {
    std::vector<LONGLONG> first(static_cast<std::size_t>(naxis), 1);
    if (naxis >= 3) first[2] = plane;
    const int rows_per_chunk = static_cast<int>(std::max<std::uint64_t>(1, kChunkSamples / width));
    float blank = std::numeric_limits<float>::quiet_NaN();
    // FITS rows run bottom first, the order of the samples.
    for (int row = 0; row < height; row += rows_per_chunk) {
        const int rows = std::min(rows_per_chunk, height - row);
        first[1] = row + 1;
        float* values = dest(row, rows);
        int any_blank = 0;
        if (fits_read_pixll(f, TFLOAT, first.data(), static_cast<LONGLONG>(rows) * width, &blank, values, &any_blank,
                            &st) != 0)
            return false;
        if (!take(static_cast<const float*>(values), row, rows)) return false;
    }
    return true;
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

    fits_get_hdu_num(f.get(), &hdu_);
    naxis_ = naxis;
    planes = naxis >= 3 ? static_cast<int>(std::min<LONGLONG>(naxes[2], std::numeric_limits<int>::max())) : 1;
    const bool rgb = naxis == 3 && naxes[2] == 3;
    const bool cube = planes > 1 && !rgb;
    // Planes the picture reads: green of red, green, blue; a cube's average.
    const int first_plane = rgb ? 2 : 1;
    const int averaged = cube ? std::min(planes, kMostAveraged) : 1;
    const std::uint64_t bytes = static_cast<std::uint64_t>(std::abs(bitpix)) / 8;
    const std::uint64_t claimed =
        ClaimedBytes({static_cast<std::uint64_t>(naxes[0]), static_cast<std::uint64_t>(naxes[1]), bytes,
                      static_cast<std::uint64_t>(cube ? planes : first_plane)});
    if (const int s = target.Begin(naxes[0], naxes[1], true, equivalent > 0 && averaged == 1, claimed, false,
                                   std::abs(bitpix));
        s != kStatusOk)
        return s;
    wcs = CelestialTan(f.get());
    if (cube) {
        try {
            frame_picture = packed_dib::MakeGreyDib(width, height);
        } catch (const std::bad_alloc&) {
            return kStatusNoMemory;
        }
        type = ImageType::Video;
    }

    const std::uint64_t plane_size = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    const std::uint64_t total = plane_size * static_cast<std::uint64_t>(averaged);
    std::vector<float> chunk;
    for (int i = 0; i < averaged; ++i) {
        const int plane = cube ? AVIImage::AveragedFrame(i, planes) + 1 : first_plane;
        const std::uint64_t done_before = plane_size * static_cast<std::uint64_t>(i);
        // The first plane goes straight into the samples; later ones are
        // added to them.
        const auto dest = [&](int row, int rows) {
            if (i == 0) return samples.Row(row);
            chunk.resize(static_cast<std::size_t>(rows) * width);
            return chunk.data();
        };
        const auto take = [&](const float* values, int row, int rows) {
            if (i > 0) {
                float* sum = samples.Row(row);
                const std::size_t n = static_cast<std::size_t>(rows) * width;
                for (std::size_t k = 0; k < n; ++k) sum[k] += values[k];
            }
            return !target.Advance(done_before + static_cast<std::uint64_t>(row + rows) * width, total);
        };
        if (!ReadPlane(f.get(), naxis, width, height, plane, st, dest, take)) return st != 0 ? StatusOf(st) : kStatusAborted;
    }
    if (averaged > 1) {
        for (float& v : samples.values) v /= static_cast<float>(averaged);
    }
    return kStatusOk;
}

bool FITSFileImage::ReadFrame(int frame) {
    int st = 0;
    fitsfile* raw = nullptr;
    fits_open_diskfile(&raw, filename.c_str(), READONLY, &st);
    FitsFile f(raw);
    int type_of_hdu = 0, naxis = 0, bitpix = 0;
    LONGLONG naxes[3] = {1, 1, 1};
    // The file may have changed since it was opened: its shape must still
    // be the one the pictures were made for.
    if (st != 0 || fits_movabs_hdu(f.get(), hdu_, &type_of_hdu, &st) != 0 ||
        fits_get_img_paramll(f.get(), 3, &bitpix, &naxis, naxes, &st) != 0 || naxis != naxis_ ||
        naxes[0] != width || naxes[1] != height || naxes[2] != planes) {
        DrainMessages();
        return false;
    }
    std::vector<float> chunk;
    const auto dest = [&](int, int rows) {
        chunk.resize(static_cast<std::size_t>(rows) * width);
        return chunk.data();
    };
    const auto take = [&](const float* values, int row, int rows) {
        for (int r = 0; r < rows; ++r) {
            std::uint8_t* out = packed_dib::Row(frame_picture, width, row + r);
            const float* in = values + static_cast<std::size_t>(r) * width;
            for (int x = 0; x < width; ++x) out[x] = StretchLevel(in[x], stretch);
        }
        return true;
    };
    if (!ReadPlane(f.get(), naxis_, width, height, frame + 1, st, dest, take)) {
        DrainMessages();
        return false;
    }
    return true;
}

void FITSFileImage::Display(Canvas& dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh, int frame) {
    if (frame >= 0 && IsVideo()) {
        if (frame >= planes || frame_picture.empty()) return;
        if (frame != shown_frame_) {
            shown_frame_ = -1;
            if (!ReadFrame(frame)) {
                status = kStatusFrameMissing;
                return;
            }
            shown_frame_ = frame;
        }
        // A frame shown again clears the report of an earlier unreadable one.
        if (status == kStatusFrameMissing) status = kStatusOk;
    }
    CoreDisplay(dc, x, y, w, h, sx, sy, sw, sh, frame);
}
