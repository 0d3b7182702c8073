#include "image/avi_image.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "image/packed_dib.h"
#include "image/video_decoder.h"
#include "platform/message_box.h"
#include "platform/progress.h"

namespace {

constexpr int kMaxAveraged = 8;

// Clears the progress display once opening has begun, whatever the outcome.
struct ProgressClearer {
    ProgressService& progress;
    ~ProgressClearer() { progress.Clear(); }
};

}  // namespace

AVIImage::AVIImage(ProgressService& progress, MessageBoxService* messages, const std::string& file_name)
    : MeteorImage(file_name), progress_(progress), messages_(messages) {
    type = ImageType::Video;
}

AVIImage::~AVIImage() = default;

int AVIImage::AveragedFrame(int i, int frame_count) {
    const int n = frame_count;
    if (n < 10) return i;
    // Eight frames spread from frame 1 to about frame N - 2.
    if (n < 18) return static_cast<int>(i * (n - 3) / 7.0 + 1.5);
    // Eight alternate frames around the middle.
    return 2 * i + (n - 16) / 2;
}

int AVIImage::AVIImageCommon(std::unique_ptr<VideoDecoder> stream) {
    decoder_ = std::move(stream);
    start = 0;
    nfr = decoder_->FrameCount();
    if (nfr <= 0) return kStatusNoVideoStream;
    width = decoder_->Width();
    height = decoder_->Height();

    ProgressClearer clearer{progress_};
    // The decoder hands out 8-bit frames only for grey and palette streams;
    // every other stream comes as 24-bit, the second request.
    progress_.Report(10);
    bit8 = decoder_->EightBit() ? 1 : 0;
    if (!bit8) progress_.Report(20);

    try {
        picture = packed_dib::MakeGreyDib(width, height);
        frame_picture = packed_dib::MakeGreyDib(width, height);
    } catch (const std::bad_alloc&) {
        return kStatusNoMemory;
    } catch (const std::length_error&) {
        return kStatusNoMemory;
    }
    progress_.Report(30);
    int result;
    try {
        result = AverageFrame();
    } catch (const std::bad_alloc&) {
        return kStatusNoMemory;
    }
    AdjustDIBColors();
    return result;
}

int AVIImage::AverageFrame() {
    const int n = std::min(nfr, kMaxAveraged);
    const std::size_t w = static_cast<std::size_t>(width);
    std::vector<std::uint32_t> sums(w * height, 0);
    // Frames are read bottom row first, the row order of the picture.
    std::vector<std::uint8_t> plane(w * height);
    std::uint8_t* const top_row = plane.data() + w * (height - 1);
    int added = 0;
    for (int i = 0; i < n; ++i) {
        if (progress_.EscapePressed()) return kStatusAborted;
        if (decoder_->ReadFrame(start + AveragedFrame(i, nfr), top_row, -static_cast<std::ptrdiff_t>(w))) {
            for (std::size_t p = 0; p < plane.size(); ++p) sums[p] += plane[p];
            ++added;
        } else if (messages_) {
            messages_->Show("Frame missing", "Avgframe", MbButtons::Ok, MbIcon::None);
        }
        progress_.Report(30 + (i + 1) * 60 / n);
    }
    // A missing frame still counts in the division, as it always has.
    for (int row = 0; row < height; ++row) {
        std::uint8_t* out = packed_dib::Row(picture, width, row);
        const std::uint32_t* in = &sums[w * row];
        for (std::size_t x = 0; x < w; ++x) out[x] = static_cast<std::uint8_t>(in[x] / n);
    }
    progress_.Report(100);
    // Not one frame decoded: an all-black average would pass for a picture.
    return added > 0 ? kStatusOk : kStatusFrameMissing;
}

void AVIImage::Display(Canvas& dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh, int frame) {
    if (frame >= 0) {
        if (frame >= nfr || !decoder_ || frame_picture.empty()) return;
        if (frame != shown_frame_) {
            shown_frame_ = -1;
            std::uint8_t* top_row = packed_dib::Row(frame_picture, width, height - 1);
            const auto stride = static_cast<std::ptrdiff_t>(packed_dib::Stride(width));
            if (!decoder_->ReadFrame(start + frame, top_row, -stride)) {
                status = kStatusFrameMissing;
                return;
            }
            shown_frame_ = frame;
            // The next ACCEPT or page step then finds its frame decoded.
            decoder_->ReadAhead(start + frame + 1, kReadAheadFrames);
        }
        // A frame shown again clears the report of an earlier missing one.
        if (status == kStatusFrameMissing) status = kStatusOk;
    }
    CoreDisplay(dc, x, y, w, h, sx, sy, sw, sh, frame);
}

void AVIImage::WaitForReadAhead() {
    if (decoder_) decoder_->WaitForReadAhead();
}

AVIFileImage::AVIFileImage(ProgressService& progress, const std::string& file_name, MessageBoxService* messages)
    : AVIImage(progress, messages, file_name) {
    VideoDecoder::OpenStatus opened;
    std::unique_ptr<VideoDecoder> stream;
    try {
        stream = VideoDecoder::Open(file_name, opened, [&progress] { return progress.EscapePressed(); });
    } catch (const std::bad_alloc&) {
        status = kStatusNoMemory;
        return;
    }
    switch (opened) {
        case VideoDecoder::OpenStatus::Ok: status = AVIImageCommon(std::move(stream)); break;
        case VideoDecoder::OpenStatus::NotAVideo: status = kStatusCannotOpen; break;
        case VideoDecoder::OpenStatus::Unusable: status = kStatusNoVideoStream; break;
        case VideoDecoder::OpenStatus::Aborted: status = kStatusAborted; break;
    }
    // A source that failed holds no picture, whatever step failed.
    if (status != kStatusOk) {
        picture.clear();
        frame_picture.clear();
    }
}
