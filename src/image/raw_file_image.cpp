#include "image/raw_file_image.h"

#include <libraw.h>

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <new>

#include "platform/diagnostics.h"

namespace {

// Every CFA LibRaw knows repeats within 48 x 48 photosites (Bayer 2 x 2 or
// 8 x 2, X-Trans 6 x 6, Leaf 16 x 16).
constexpr int kPeriod = 48;

struct Job {
    StillTarget* target = nullptr;
    int callbacks = 0;
    bool data_error = false;
};

int Progress(void* data, LibRaw_progress, int, int) {
    Job& job = *static_cast<Job*>(data);
    // LibRaw's own steps take the first half of the display.
    job.callbacks = std::min(job.callbacks + 1, 10);
    return job.target->Advance(job.callbacks, 20) ? 1 : 0;
}

void DataError(void* data, const char* file, int offset) {
    static_cast<Job*>(data)->data_error = true;
    Diagnose("libraw", std::string(file ? file : "") + ": data error at offset " + std::to_string(offset));
}

void MemoryError(void*, const char* file, const char* where) {
    Diagnose("libraw", std::string(file ? file : "") + ": out of memory in " + (where ? where : ""));
}

int StatusOf(int libraw_error) {
    Diagnose("libraw", LibRaw::strerror(libraw_error));
    switch (libraw_error) {
        case LIBRAW_FILE_UNSUPPORTED:
        case LIBRAW_NOT_IMPLEMENTED:
        case LIBRAW_REQUEST_FOR_NONEXISTENT_IMAGE: return kStatusUnsupportedCamera;
        case LIBRAW_UNSUFFICIENT_MEMORY: return kStatusNoMemory;
        case LIBRAW_CANCELLED_BY_CALLBACK: return kStatusAborted;
        default: return kStatusDamaged;
    }
}

// Which photosites of the repeating tile are green, and for each other one
// the offsets of its green neighbours.
struct GreenPlan {
    struct Cell {
        bool green = false;
        int count = 0;
        std::array<std::array<int, 2>, 8> near{};  // dy, dx
    };
    std::array<Cell, kPeriod * kPeriod> cells;

    explicit GreenPlan(LibRaw& raw) {
        const auto is_green = [&raw](int y, int x) {
            const int c = raw.COLOR(y, x);
            return c == 1 || c == 3;
        };
        for (int y = 0; y < kPeriod; ++y) {
            for (int x = 0; x < kPeriod; ++x) {
                Cell& cell = cells[y * kPeriod + x];
                // Shifted by a period so that the neighbours above and left
                // have non-negative rows and columns.
                cell.green = is_green(y + kPeriod, x + kPeriod);
                if (cell.green) continue;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if ((dy || dx) && is_green(y + kPeriod + dy, x + kPeriod + dx)) cell.near[cell.count++] = {dy, dx};
            }
        }
    }

    // The phase of a Bayer pattern (greens where row + column + phase is
    // even, every other site between four greens), or -1 for any other.
    int BayerPhase() const {
        for (int phase = 0; phase < 2; ++phase) {
            bool fits = true;
            for (int y = 0; y < kPeriod && fits; ++y)
                for (int x = 0; x < kPeriod && fits; ++x) {
                    const Cell& c = cells[y * kPeriod + x];
                    fits = c.green == ((x + y + phase) % 2 == 0) && (c.green || c.count == 4);
                }
            if (fits) return phase;
        }
        return -1;
    }
};

struct Mosaic {
    const ushort* base;  // the top-left visible photosite
    std::ptrdiff_t pitch;
    int w, h;
    const ushort* Row(int y) const { return base + y * pitch; }
};

// One site of any pattern: its own green, or the mean of its green
// neighbours inside the visible area.
float GreenAt(const Mosaic& m, const GreenPlan::Cell& c, int x, int y) {
    const ushort* in = m.Row(y);
    if (c.green || c.count == 0) return in[x];
    int sum = 0, n = 0;
    for (int i = 0; i < c.count; ++i) {
        const int yy = y + c.near[i][0], xx = x + c.near[i][1];
        if (yy < 0 || yy >= m.h || xx < 0 || xx >= m.w) continue;
        sum += in[x + c.near[i][0] * m.pitch + c.near[i][1]];
        ++n;
    }
    return n ? static_cast<float>(sum) / n : in[x];
}

// An inner row of a Bayer mosaic: the same values as GreenAt, without its
// look-ups (the four neighbours always exist and are green).
// green_parity is the parity of the row's green columns.
void BayerRow(const Mosaic& m, int y, int green_parity, float* out) {
    const ushort* in = m.Row(y);
    const ushort* up = in - m.pitch;
    const ushort* down = in + m.pitch;
    for (int x = green_parity == 1 ? 1 : 2; x < m.w - 1; x += 2) out[x] = in[x];
    for (int x = green_parity == 1 ? 2 : 1; x < m.w - 1; x += 2)
        out[x] = static_cast<float>(in[x - 1] + in[x + 1] + up[x] + down[x]) * 0.25f;
}

// The green of a CFA sensor over the visible area, top row first.
int GreenOfMosaic(LibRaw& raw, StillTarget& target, Job& job) {
    const libraw_image_sizes_t& s = raw.imgdata.sizes;
    const GreenPlan plan(raw);
    const int phase = plan.BayerPhase();
    const std::ptrdiff_t pitch = s.raw_pitch / 2;
    const Mosaic m{raw.imgdata.rawdata.raw_image + s.top_margin * pitch + s.left_margin, pitch, s.width, s.height};
    for (int y = 0; y < m.h; ++y) {
        float* out = target.SampleRow(y);
        const GreenPlan::Cell* row_cells = &plan.cells[(y % kPeriod) * kPeriod];
        if (phase >= 0 && y > 0 && y < m.h - 1 && m.w > 2) {
            BayerRow(m, y, (y + phase) % 2, out);
            out[0] = GreenAt(m, row_cells[0], 0, y);
            out[m.w - 1] = GreenAt(m, row_cells[(m.w - 1) % kPeriod], m.w - 1, y);
        } else {
            for (int x = 0; x < m.w; ++x) out[x] = GreenAt(m, row_cells[x % kPeriod], x, y);
        }
        if (target.Advance(static_cast<std::uint64_t>(m.h) + y + 1, 2 * static_cast<std::uint64_t>(m.h)))
            return kStatusAborted;
    }
    return job.data_error ? kStatusDamaged : kStatusOk;
}

// Sensors without a mosaic: one value (monochrome) or full colour per site.
int GreenOfFullSites(LibRaw& raw, StillTarget& target, Job& job) {
    const libraw_image_sizes_t& s = raw.imgdata.sizes;
    const libraw_rawdata_t& d = raw.imgdata.rawdata;
    for (int y = 0; y < s.height; ++y) {
        float* out = target.SampleRow(y);
        const std::size_t row = std::size_t{s.top_margin} + y;
        for (int x = 0; x < s.width; ++x) {
            const std::size_t col = std::size_t{s.left_margin} + x;
            if (d.raw_image) out[x] = d.raw_image[row * (s.raw_pitch / 2) + col];
            else if (d.color4_image) out[x] = d.color4_image[row * (s.raw_pitch / 8) + col][1];
            else out[x] = d.color3_image[row * (s.raw_pitch / 6) + col][1];
        }
        if (target.Advance(std::uint64_t{s.height} + y + 1, 2 * std::uint64_t{s.height})) return kStatusAborted;
    }
    return job.data_error ? kStatusDamaged : kStatusOk;
}

}  // namespace

RawFileImage::RawFileImage(ProgressService& progress, const std::string& file_name)
    : StillFileImage(file_name, "Camera RAW") {
    Conclude(Load(progress));
}

int RawFileImage::Load(ProgressService& progress) {
    StillTarget target(*this, progress);
    if (target.open_status() != kStatusOk) return target.open_status();
    std::unique_ptr<LibRaw> raw;
    try {
        raw = std::make_unique<LibRaw>();
    } catch (const std::bad_alloc&) {
        return kStatusNoMemory;
    }
    Job job;
    job.target = &target;
    raw->set_progress_handler(Progress, &job);
    raw->set_dataerror_handler(DataError, &job);
    raw->set_memerror_handler(MemoryError, &job);
    if (const int r = raw->open_file(filename.c_str()); r != LIBRAW_SUCCESS) return StatusOf(r);
    camera = std::string(raw->imgdata.idata.make) + " " + raw->imgdata.idata.model;

    const libraw_image_sizes_t& s = raw->imgdata.sizes;
    if (s.width == 0 || s.height == 0 || s.top_margin + s.height > s.raw_height ||
        s.left_margin + s.width > s.raw_width)
        return kStatusDamaged;
    const std::uint64_t claimed = ClaimedBytes({s.raw_width, s.raw_height, 2});
    const bool mosaic = raw->imgdata.idata.filters != 0;
    const int data_bits = std::max(1, static_cast<int>(std::bit_width(raw->imgdata.color.maximum)));
    if (const int st = target.Begin(s.width, s.height, true, !mosaic, claimed, true, data_bits); st != kStatusOk)
        return st;
    if (const int r = raw->unpack(); r != LIBRAW_SUCCESS) return StatusOf(r);
    const libraw_rawdata_t& d = raw->imgdata.rawdata;
    if (d.raw_image && mosaic) return GreenOfMosaic(*raw, target, job);
    if (d.raw_image || d.color4_image || d.color3_image) return GreenOfFullSites(*raw, target, job);
    return kStatusUnsupportedCamera;  // floating-point sensor data
}
