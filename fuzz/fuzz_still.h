#pragma once
// The property every still reader keeps: status 0 and a picture of exactly
// the size the file claims (with deep samples of that size and a stretch
// that rises), or a negative status and neither picture nor samples.
#include "fuzz_support.h"
#include "image/packed_dib.h"
#include "image/still_file_image.h"

namespace fuzz {

// claimed_width and claimed_height as the file's header gives them; a
// negative claim is not compared.
inline void CheckStill(const StillFileImage& img, std::int64_t claimed_width, std::int64_t claimed_height) {
    if (img.status != 0) {
        Require(img.status < 0, "a positive status");
        Require(!img.HasPicture() && !img.IsDeep(), "a failed load kept a picture");
        return;
    }
    // A FITS cube of frames is the one still source with frames; its frame
    // picture has the picture's size.
    Require(img.type == ImageType::Still || (img.type == ImageType::Video && img.GetNFr() > 1 &&
                                             img.frame_picture.size() == img.picture.size()),
            "a still that is neither type 1 nor a source of frames");
    Require(claimed_width < 0 || img.width == claimed_width, "the picture's width is not the claimed one");
    Require(claimed_height < 0 || img.height == claimed_height, "the picture's height is not the claimed one");
    Require(img.picture.size() == packed_dib::BlockSize(img.width, img.height).value_or(0),
            "the picture block is not width x height");
    const packed_dib::Header stored = packed_dib::ReadHeader(img.picture.data());
    Require(stored.width == img.width && stored.height == img.height && stored.bit_count == 8,
            "the picture's own header is not its size");
    if (img.IsDeep()) {
        Require(img.samples.width == img.width && img.samples.height == img.height &&
                    img.samples.values.size() == static_cast<std::size_t>(img.width) * img.height,
                "the samples are not the picture's size");
        Require(img.stretch.white > img.stretch.black, "a stretch that does not rise");
    }
}

inline std::uint32_t Big32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

}  // namespace fuzz
