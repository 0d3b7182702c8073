#include "image/still_file_image.h"

#include <sys/mman.h>
#include <sys/stat.h>

#include <new>
#include <stdexcept>
#include <utility>

#include "image/packed_dib.h"
#include "platform/progress.h"

StillFileImage::StillFileImage(const std::string& file_name, std::string format_name)
    : MeteorImage(file_name), format(std::move(format_name)) {
    type = ImageType::Still;
}

void StillFileImage::Conclude(int load_status) {
    status = load_status;
    if (status != kStatusOk) {
        picture.clear();
        frame_picture.clear();
        samples = DeepSamples{};
        return;
    }
    packed_dib::WriteHeader(picture.data(), packed_dib::GreyHeader(width, height));
    if (IsDeep()) {
        automatic_stretch = AutomaticStretch(samples);
        stretch = automatic_stretch;
        StretchPicture(samples, stretch, picture);
    }
    AdjustDIBColors();
}

bool StillFileImage::Restretch(int new_black_step, int new_white_step) {
    if (!IsDeep() || picture.empty()) return false;
    const auto points = SteppedStretch(automatic_stretch, new_black_step, new_white_step);
    if (!points) return false;
    black_step = new_black_step;
    white_step = new_white_step;
    stretch = *points;
    StretchPicture(samples, stretch, picture);
    StretchChanged();
    return true;
}

bool StillFileImage::SetBlackStep(int step) { return Restretch(step, white_step); }

bool StillFileImage::SetWhiteStep(int step) { return Restretch(black_step, step); }

namespace {

// Large pictures are given transparent huge pages before their first
// touch: on many machines (virtual ones above all) faulting in 100 MB page
// by page costs more than decoding the file.
template <class Vector>
void AllocateLarge(Vector& v, std::size_t n) {
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    v.clear();
    v.shrink_to_fit();
    v.reserve(n);
    const auto begin = reinterpret_cast<std::uintptr_t>(v.data());
    const std::uintptr_t first = (begin + kHugePage - 1) / kHugePage * kHugePage;
    const std::uintptr_t last = (begin + n * sizeof(typename Vector::value_type)) / kHugePage * kHugePage;
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    v.resize(n);
}

}  // namespace

std::uint64_t ClaimedBytes(std::initializer_list<std::uint64_t> factors) {
    std::uint64_t product = 1;
    for (const std::uint64_t f : factors) {
        if (f != 0 && product > UINT64_MAX / f) return UINT64_MAX;
        product *= f;
    }
    return product;
}

StillTarget::StillTarget(StillFileImage& image, ProgressService& progress) : image_(image), progress_(progress) {
    struct stat st {};
    if (stat(image.filename.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        open_status_ = kStatusCannotOpen;
        return;
    }
    file_size_ = static_cast<std::uint64_t>(st.st_size);
}

StillTarget::~StillTarget() {
    if (last_percent_ >= 0) progress_.Clear();
}

int StillTarget::Begin(std::int64_t width, std::int64_t height, bool deep, bool integer,
                       std::uint64_t claimed_bytes, bool compressed, int bits) {
    if (width <= 0 || height <= 0) return kStatusDamaged;
    // The limit is checked after the file: a header claiming more than its
    // file could hold is damage, not a shortage of memory.
    const std::uint64_t expansion = compressed ? kMostExpansion : 1;
    if (claimed_bytes / expansion > file_size_) return kStatusDamaged;
    const auto block = packed_dib::BlockSize(width, height);
    if (!block) return kStatusNoMemory;
    try {
        AllocateLarge(image_.picture, *block);
        if (deep) {
            AllocateLarge(image_.samples.values, static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
            image_.samples.width = static_cast<int>(width);
            image_.samples.height = static_cast<int>(height);
            image_.samples.integer = integer;
        }
    } catch (const std::bad_alloc&) {
        return kStatusNoMemory;
    } catch (const std::length_error&) {
        return kStatusNoMemory;
    }
    image_.width = static_cast<int>(width);
    image_.height = static_cast<int>(height);
    image_.bits = bits;
    return kStatusOk;
}

std::uint8_t* StillTarget::PictureRow(int top_row) {
    return packed_dib::Row(image_.picture, image_.width, image_.height - 1 - top_row);
}

float* StillTarget::SampleRow(int top_row) { return image_.samples.Row(image_.height - 1 - top_row); }

bool StillTarget::Advance(std::uint64_t done, std::uint64_t total) {
    const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
    if (percent == last_percent_) return false;
    last_percent_ = percent;
    progress_.Report(percent);
    return progress_.EscapePressed();
}
