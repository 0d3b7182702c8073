#include "image/bmp_clip_image.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <stdexcept>

#include "image/packed_dib.h"
#include "platform/clipboard.h"

BMPClipImage::BMPClipImage(ClipboardService& clipboard) {
    type = ImageType::Still;
    status = Take(clipboard);
    if (status != kStatusOk) picture.clear();
}

int BMPClipImage::Take(ClipboardService& clipboard) {
    const auto data = clipboard.GetDib();
    if (!data || data->size() < packed_dib::kHeaderSize) return kStatusNoClipImage;
    const std::vector<std::uint8_t>& dib = *data;
    const packed_dib::Header h = packed_dib::ReadHeader(dib.data());
    if (h.size < packed_dib::kHeaderSize) return kStatusNoClipImage;
    if (const int s = packed_dib::FormatStatus(h); s != kStatusOk) return s;
    if (h.width <= 0 || h.height == 0 || h.height == INT_MIN || h.clr_used > 256)
        return kStatusNoClipImage;
    const bool top_down = h.height < 0;
    width = h.width;
    height = top_down ? -h.height : h.height;

    // In a packed DIB the pixels follow the header and its colour table.
    // A picture beyond the limit is refused as such, whatever follows the header.
    if (!packed_dib::BlockSize(width, height)) return kStatusNoMemory;
    const std::uint64_t entries = h.clr_used == 0 ? 256 : h.clr_used;
    const std::uint64_t offset = h.size + 4 * entries;
    const std::uint64_t stride = packed_dib::Stride(width);
    const std::uint64_t pixel_bytes = stride * static_cast<std::uint64_t>(height);
    if (offset > dib.size() || pixel_bytes > dib.size() - offset) return kStatusNoClipImage;

    try {
        picture = packed_dib::MakeGreyDib(width, height);
    } catch (const std::bad_alloc&) {
        return kStatusNoMemory;
    } catch (const std::length_error&) {
        return kStatusNoMemory;  // beyond the picture limit
    }
    const std::uint8_t* src = dib.data() + offset;
    for (int row = 0; row < height; ++row) {
        const int src_row = top_down ? height - 1 - row : row;
        std::memcpy(packed_dib::Row(picture, width, row), src + stride * src_row, stride);
    }
    if (const auto levels = packed_dib::GreyLevels(dib.data() + h.size, entries))
        packed_dib::MapPixels(picture, width, height, *levels);
    packed_dib::Header stored = packed_dib::GreyHeader(width, height);
    stored.x_pels_per_meter = h.x_pels_per_meter;
    stored.y_pels_per_meter = h.y_pels_per_meter;
    packed_dib::WriteHeader(picture.data(), stored);
    AdjustDIBColors();
    return kStatusOk;
}
