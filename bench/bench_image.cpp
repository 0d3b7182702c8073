// Loading a large 8-bit BMP from the page cache, against reading the same
// file into memory with one plain read. Target: at most 1.3 times the read.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "image/bmp_file_image.h"
#include "platform/scripted.h"

namespace {

constexpr int kWidth = 8000;
constexpr int kHeight = 6000;

void Put(std::FILE* f, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>((v >> (8 * i)) & 0xFF), f);
}

// Writes the test picture once per run: header, grey table, a diagonal pattern.
const std::string& LargeBmp() {
    static const std::string path = [] {
        const auto p = std::filesystem::temp_directory_path() / "velkarn_bench_8000x6000.bmp";
        std::FILE* f = std::fopen(p.c_str(), "wb");
        const std::uint64_t pixels = std::uint64_t{kWidth} * kHeight;
        Put(f, 'B' | 'M' << 8, 2);
        Put(f, 1078 + pixels, 4);
        Put(f, 0, 4);
        Put(f, 1078, 4);
        Put(f, 40, 4);
        Put(f, kWidth, 4);
        Put(f, kHeight, 4);
        Put(f, 1, 2);
        Put(f, 8, 2);
        for (int i = 0; i < 6; ++i) Put(f, 0, 4);
        for (int i = 0; i < 256; ++i) Put(f, 0x010101u * i, 4);
        std::vector<std::uint8_t> row(kWidth);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) row[x] = static_cast<std::uint8_t>(x + y);
            std::fwrite(row.data(), 1, row.size(), f);
        }
        std::fclose(f);
        return p.string();
    }();
    return path;
}

void BM_PlainReadOfLargeBmp(benchmark::State& state) {
    const std::string& path = LargeBmp();
    const auto size = std::filesystem::file_size(path);
    for (auto _ : state) {
        std::vector<std::uint8_t> buf(size);
        const int fd = open(path.c_str(), O_RDONLY);
        const ssize_t got = read(fd, buf.data(), buf.size());
        close(fd);
        if (got != static_cast<ssize_t>(size)) state.SkipWithError("short read");
        benchmark::DoNotOptimize(buf.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}
BENCHMARK(BM_PlainReadOfLargeBmp)->Unit(benchmark::kMillisecond);

void BM_LoadLargeBmp(benchmark::State& state) {
    const std::string& path = LargeBmp();
    ScriptedProgress progress;
    for (auto _ : state) {
        BMPFileImage img(progress, path);
        if (img.status != 0) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(img.picture.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_LoadLargeBmp)->Unit(benchmark::kMillisecond);

}  // namespace
