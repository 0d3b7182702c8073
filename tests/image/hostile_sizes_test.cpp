// Sizes a file claims but does not hold are refused before any memory is
// taken for them: each reader runs in a death-test child whose address space
// is limited far below the claim, and must end with a status, not a crash.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bmp_test_files.h"
#include "image/avi_image.h"
#include "image/bmp_file_image.h"
#include "files/session_file.h"
#include "image/video_test_files.h"
#include "platform/scripted.h"
#include "session/session_data.h"
#include "support/scratch_dir.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;  // the sanitizer's shadow memory needs terabytes of addresses
#else
constexpr bool kSanitized = false;
#endif

// Limits this (death-test child) process to 2 GiB of address space.
void LimitAddressSpace() {
    const rlimit limit{rlim_t{2} << 30, rlim_t{2} << 30};
    setrlimit(RLIMIT_AS, &limit);
}

void PutU32(std::string& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
}

}  // namespace

TEST(HostileSizes, BmpFilesClaimingMorePixelsThanTheLimitAreRefusedAndAVideoClaimingTwoBillionFramesGivesTheFramesItHolds) {
    if (kSanitized) GTEST_SKIP() << "address-space limits do not work under the sanitizer";
    // Sparse files as long as their headers say, so the size check alone
    // does not refuse them: ten billion pixels, and 1.3 billion, which would
    // fit in the child's address space but lie beyond the picture limit.
    for (const std::uint32_t side : {100000u, 36000u}) {
        SCOPED_TRACE(side);
        const testing_support::ScratchDir dir;
        const std::string path = dir.file("huge.bmp");
        const std::vector<std::uint8_t> small = bmp_test::File(bmp_test::Layout{.width = 4, .height = 1});
        std::string bytes(small.begin(), small.begin() + 14 + 40 + 1024);
        PutU32(bytes, 14 + 4, side);
        PutU32(bytes, 14 + 8, side);
        testing_support::WriteText(path, bytes);
        std::filesystem::resize_file(path, bytes.size() + std::uint64_t{side} * side);
        EXPECT_EXIT(
            {
                LimitAddressSpace();
                ScriptedProgress progress;
                BMPFileImage img(progress, path);
                std::fprintf(stderr, "%d %s", img.status, img.HasPicture() ? "picture" : "none");
                std::_Exit(0);
            },
            testing::ExitedWithCode(0), "^-9 none$");
    }

    // A video claiming two billion frames gives the frames it holds.
    const testing_support::ScratchDir dir;
    const std::string path = dir.file("claims.avi");
    WriteTestVideo(path, {.frames = 3, .pixel = [](int f, int x, int y) { return static_cast<std::uint8_t>(f + x + y); }});
    std::string bytes = testing_support::ReadText(path);
    // The main header's total frames and the stream header's length.
    const std::size_t avih = bytes.find("avih"), strh = bytes.find("strh");
    ASSERT_LT(std::max(avih, strh), bytes.size());
    PutU32(bytes, avih + 8 + 16, 0x80000000u);
    PutU32(bytes, strh + 8 + 32, 0x80000000u);
    testing_support::WriteText(path, bytes);
    EXPECT_EXIT(
        {
            LimitAddressSpace();
            ScriptedProgress progress;
            AVIFileImage img(progress, path, nullptr);
            std::fprintf(stderr, "%d %d", img.status, img.GetNFr());
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "^0 3$");
}

TEST(HostileSizes, ASessionClaimingABillionStarsIsRejectedUnchanged) {
    if (kSanitized) GTEST_SKIP() << "address-space limits do not work under the sanitizer";
    const testing_support::ScratchDir dir;
    const std::string path = dir.file("billion.dar");
    testing_support::WriteText(path,
                               "Darnholm                1999    8   12  23.  15.  42.  img01    m01     \n"
                               "50 mm f/1.8\n"
                               "1000000000 1000000000    0    0    0    0    1\n"
                               "2000000000000000000000000\n"
                               " 23.  10.  00. 25.000  1.\n"
                               "   0.   0.\n"
                               "SAO112740 2.50    53000.0   0.001    73000.    -0.01    10.001    11.999\n");
    // Only the reader's own refusal counts: memory that runs out is no refusal.
    EXPECT_EXIT(
        {
            LimitAddressSpace();
            SessionData s;
            ScriptedMessageBox mb;
            try {
                s.Retrieve(path.c_str(), mb, false);
                std::fprintf(stderr, "read");
            } catch (const SessionFileError&) {
                std::fprintf(stderr, "rejected %u", s.nstar);
            }
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "^rejected 0$");
}
