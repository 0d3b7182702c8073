#include "image/pcd_file_image.h"

#include "image/packed_dib.h"
#include "image/pcd_reader.h"
#include "platform/progress.h"

PCDFileImage::PCDFileImage(std::vector<std::uint8_t> image_block, int pcd_status, const std::string& file_name)
    : MeteorImage(file_name) {
    type = ImageType::PhotoCD;
    status = pcd_status == kStatusOk ? TakeOver(image_block) : pcd_status;
    if (status != kStatusOk) picture.clear();
}

int PCDFileImage::TakeOver(std::vector<std::uint8_t>& block) {
    if (block.size() < packed_dib::kPixelOffset) return kStatusWrongFormat;
    const packed_dib::Header h = packed_dib::ReadHeader(block.data());
    if (const int s = packed_dib::FormatStatus(h); s != kStatusOk) return s;
    if (h.size != packed_dib::kHeaderSize || h.clr_used > 256) return kStatusWrongFormat;
    const auto size = packed_dib::BlockSize(h.width, h.height);
    if (!size || *size > block.size()) return kStatusWrongFormat;
    // The block is the reader's own and is not used after the takeover, so
    // it is kept rather than copied.
    block.resize(*size);
    picture = std::move(block);
    width = h.width;
    height = h.height;
    AdjustDIBColors();
    return kStatusOk;
}

std::unique_ptr<PCDFileImage> LoadPhotoCD(ProgressService& progress, const std::string& path, int resolution_step) {
    int pcd_status = kStatusOk;
    std::vector<std::uint8_t> image;
    PcdReader reader;
    if (reader.Open(path) != kStatusOk) {
        pcd_status = kStatusCannotOpen;
    } else if (reader.SelectResolution(resolution_step) != kStatusOk) {
        pcd_status = kStatusNoPcdResolution;
    } else {
        reader.SetProgressCallback([&progress](int done, int total) {
            if (total > 0) progress.Report(done * 100 / total);
        });
        reader.SetAbortCallback([&progress] { return progress.EscapePressed(); });
        pcd_status = reader.Load(image);
        progress.Clear();
    }
    reader.Close();
    return std::make_unique<PCDFileImage>(std::move(image), pcd_status, path);
}
