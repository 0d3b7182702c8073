#include "image/pcd_reader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

#include "image/image_status.h"
#include "image/packed_dib.h"

namespace pcd {
namespace {

constexpr char kSignature[] = "PCD_IPI";
constexpr std::uint64_t kSignatureOffset = 0x800;
constexpr std::uint64_t kAttributesOffset = 0x0E02;
constexpr std::uint64_t kInfoBytes = kAttributesOffset + 1 - kSignatureOffset;

constexpr int kBaseStep = 3;  // the largest picture stored as such

struct StoredPicture {
    int step;
    std::uint64_t first_sector;
};
constexpr StoredPicture kStored[] = {{1, 4}, {2, 23}, {3, 96}};

constexpr std::uint64_t k4BaseTableSector = 388;
constexpr std::uint64_t k4BaseDataSector = 389;
constexpr std::uint64_t k16BaseTableGap = 12;  // sectors from the end of the 4Base residuals
constexpr std::uint64_t k16BaseDataGap = 14;
constexpr std::uint64_t k16BaseTableBytes = 2 * kSectorSize;

// Bounds on the residual data read, well above what the codes of one
// resolution can take (at most 16 bits per pixel and row headers).
constexpr std::uint64_t kMax4BaseBytes = 8u << 20;
constexpr std::uint64_t kMax16BaseBytes = 32u << 20;

// Rows between two progress reports and abort polls.
constexpr int kRowsPerPoll = 64;

std::uint64_t SectorOffset(std::uint64_t sector) { return sector * kSectorSize; }

std::uint64_t StoredBytes(Size s) { return static_cast<std::uint64_t>(s.width) * s.height * 3 / 2; }

const StoredPicture* FindStored(int step) {
    for (const StoredPicture& p : kStored)
        if (p.step == step) return &p;
    return nullptr;
}

}  // namespace

Size StepSize(int step) {
    const int scale = 1 << (step - 1);
    return {192 * scale, 128 * scale};
}

}  // namespace pcd

namespace {

class Damaged {};
class Aborted {};

}  // namespace

int PcdReader::Open(const std::string& path) {
    Close();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return kStatusCannotOpen;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return kStatusCannotOpen;
    file_.open(path, std::ios::binary);
    if (!file_) return kStatusCannotOpen;
    file_size_ = size;

    const pcd::StoredPicture& smallest = pcd::kStored[0];
    const std::uint64_t smallest_end =
        pcd::SectorOffset(smallest.first_sector) + pcd::StoredBytes(pcd::StepSize(smallest.step));
    const std::vector<std::uint8_t> header = ReadBytes(pcd::kSignatureOffset, pcd::kInfoBytes);
    if (file_size_ < smallest_end || header.size() != pcd::kInfoBytes ||
        std::memcmp(header.data(), pcd::kSignature, sizeof pcd::kSignature - 1) != 0) {
        Close();
        return kStatusCannotOpen;
    }
    attributes_ = header.back();
    return kStatusOk;
}

int PcdReader::HighestStep() const { return std::min(pcd::kBaseStep + (attributes_ >> 2 & 3), pcd::kHighestStep); }

int PcdReader::SelectResolution(int step) {
    step_ = 0;
    if (!file_.is_open() || step < pcd::kLowestStep || step > pcd::kHighestStep) return kStatusNoPcdResolution;
    if (const pcd::StoredPicture* stored = pcd::FindStored(step)) {
        if (pcd::SectorOffset(stored->first_sector) + pcd::StoredBytes(pcd::StepSize(step)) > file_size_)
            return kStatusNoPcdResolution;
    } else if (step > HighestStep() || file_size_ <= pcd::SectorOffset(pcd::k4BaseDataSector)) {
        return kStatusNoPcdResolution;
    }
    step_ = step;
    return kStatusOk;
}

void PcdReader::Close() {
    if (file_.is_open()) file_.close();
    file_.clear();
    file_size_ = 0;
    attributes_ = 0;
    step_ = 0;
}

int PcdReader::Load(std::vector<std::uint8_t>& dib) {
    if (step_ == 0) return kStatusNoPcdResolution;
    const int stored_step = std::min(step_, pcd::kBaseStep);
    work_done_ = 0;
    work_total_ = 0;
    for (int s = stored_step; s <= step_; ++s) work_total_ += pcd::StepSize(s).height;
    try {
        pcd::Plane plane = ReadStoredPlane(stored_step);
        if (step_ > pcd::kBaseStep) {
            std::uint64_t four_base_end = 0;
            plane = Add4BaseResiduals(plane, four_base_end);
            if (step_ == pcd::kHighestStep) plane = Add16BaseResiduals(plane, four_base_end);
        }
        dib = packed_dib::MakeGreyDib(plane.width, plane.height);
        for (int y = 0; y < plane.height; ++y)
            std::memcpy(packed_dib::Row(dib, plane.width, plane.height - 1 - y), plane.Row(y), plane.width);
    } catch (const Aborted&) {
        return kStatusAborted;
    } catch (const Damaged&) {
        return kStatusWrongFormat;
    } catch (const std::bad_alloc&) {
        return kStatusNoMemory;
    }
    return kStatusOk;
}

pcd::Plane PcdReader::ReadStoredPlane(int step) {
    const pcd::StoredPicture& stored = *pcd::FindStored(step);
    pcd::Plane plane;
    const pcd::Size size = pcd::StepSize(step);
    plane.width = size.width;
    plane.height = size.height;
    plane.pixels.resize(static_cast<std::size_t>(size.width) * size.height);
    // Each row pair: two luma rows, then the two chroma rows of half width.
    const std::uint64_t pair_bytes = 3 * static_cast<std::uint64_t>(size.width);
    const int pairs_per_piece = pcd::kRowsPerPoll / 2;
    for (int pair = 0; pair < size.height / 2; pair += pairs_per_piece) {
        const int pairs = std::min(pairs_per_piece, size.height / 2 - pair);
        const std::vector<std::uint8_t> piece =
            ReadBytes(pcd::SectorOffset(stored.first_sector) + pair * pair_bytes, pairs * pair_bytes);
        if (piece.size() != pairs * pair_bytes) throw Damaged();
        for (int i = 0; i < pairs; ++i) {
            const std::uint8_t* luma = piece.data() + i * pair_bytes;
            std::memcpy(plane.Row(2 * (pair + i)), luma, size.width);
            std::memcpy(plane.Row(2 * (pair + i) + 1), luma + size.width, size.width);
        }
        if (!Report(2 * pairs)) throw Aborted();
    }
    return plane;
}

pcd::Plane PcdReader::Add4BaseResiduals(const pcd::Plane& base, std::uint64_t& end_sector) {
    const std::vector<std::uint8_t> table_sector = ReadBytes(pcd::SectorOffset(pcd::k4BaseTableSector), pcd::kSectorSize);
    std::size_t used = 0;
    auto table = pcd::HuffmanTable::Parse(table_sector.data(), table_sector.size(), used);
    if (!table) throw Damaged();
    std::vector<pcd::HuffmanTable> tables;
    tables.push_back(std::move(*table));

    const std::uint64_t start = pcd::SectorOffset(pcd::k4BaseDataSector);
    const std::vector<std::uint8_t> stream = ReadBytes(start, pcd::kMax4BaseBytes);
    pcd::Plane plane = pcd::Upsample(base);
    const std::size_t end_byte = ApplyStream(stream, tables, plane);
    end_sector = (start + end_byte + pcd::kSectorSize - 1) / pcd::kSectorSize;
    return plane;
}

pcd::Plane PcdReader::Add16BaseResiduals(const pcd::Plane& four_base, std::uint64_t four_base_end) {
    const std::vector<std::uint8_t> table_bytes =
        ReadBytes(pcd::SectorOffset(four_base_end + pcd::k16BaseTableGap), pcd::k16BaseTableBytes);
    std::vector<pcd::HuffmanTable> tables;
    std::size_t offset = 0;
    for (int i = 0; i < 3; ++i) {
        std::size_t used = 0;
        auto table = pcd::HuffmanTable::Parse(table_bytes.data() + offset, table_bytes.size() - offset, used);
        if (!table) throw Damaged();
        tables.push_back(std::move(*table));
        offset += used;
    }

    const std::vector<std::uint8_t> stream =
        ReadBytes(pcd::SectorOffset(four_base_end + pcd::k16BaseDataGap), pcd::kMax16BaseBytes);
    pcd::Plane plane = pcd::Upsample(four_base);
    ApplyStream(stream, tables, plane);
    return plane;
}

// Adds the residuals of a stream to the prediction in `plane`; returns the
// stream's length in bytes.
std::size_t PcdReader::ApplyStream(const std::vector<std::uint8_t>& stream,
                                   const std::vector<pcd::HuffmanTable>& tables, pcd::Plane& plane) {
    int reported = 0;
    const pcd::ResidualResult result =
        pcd::ApplyResiduals(stream, tables, plane, pcd::kRowsPerPoll, [&](int rows_done) {
            const bool go_on = Report(rows_done - reported);
            reported = rows_done;
            return go_on;
        });
    if (result.outcome == pcd::ResidualOutcome::Aborted) throw Aborted();
    if (result.outcome == pcd::ResidualOutcome::Damaged) throw Damaged();
    if (!Report(plane.height - reported)) throw Aborted();
    return result.end_byte;
}

// At most max_count bytes from offset; fewer where the file ends.
std::vector<std::uint8_t> PcdReader::ReadBytes(std::uint64_t offset, std::uint64_t max_count) {
    if (offset >= file_size_) return {};
    const std::uint64_t count = std::min(max_count, file_size_ - offset);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(offset));
    file_.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(file_.gcount()));
    return bytes;
}

bool PcdReader::Report(int rows) {
    if (rows <= 0) return true;
    work_done_ += rows;
    if (progress_) progress_(work_done_, work_total_);
    return !(abort_ && abort_());
}
