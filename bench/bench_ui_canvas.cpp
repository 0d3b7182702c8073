// Repaint of the image view in fit mode: a picture of 1, 12 or 48 megapixels
// drawn into a 1600 x 1000 pane. The cost must follow the pane, not the
// picture; a brightness step (a new colour table) samples nothing again.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "image/packed_dib.h"
#include "ui/platform/qt_canvas.h"

namespace {

constexpr int kPaneW = 1600, kPaneH = 1000;

struct Picture {
    int w, h;
    std::vector<std::uint8_t> dib;
};

const Picture& PictureOf(int megapixels) {
    static std::vector<Picture> made;
    for (const Picture& p : made)
        if (p.w * static_cast<long>(p.h) / 1000000 == megapixels) return p;
    const int w = megapixels == 1 ? 1200 : megapixels == 12 ? 4000 : 8000;
    const int h = megapixels * 1000000 / w;
    Picture p{w, h, packed_dib::MakeGreyDib(w, h)};
    for (int row = 0; row < h; ++row) {
        std::uint8_t* line = packed_dib::Row(p.dib, w, row);
        for (int col = 0; col < w; ++col) line[col] = static_cast<std::uint8_t>(col * 31 + row * 17);
    }
    made.push_back(std::move(p));
    return made.back();
}

void Paint(QImage& pane, const Picture& p, DibViewCache* cache) {
    QPainter painter(&pane);
    QtCanvas canvas(painter, cache);
    canvas.DrawDib(p.dib.data(), p.dib.size(), {0, 0, kPaneW, kPaneH}, {0, 0, p.w, p.h});
}

// A repaint that samples the picture afresh (the first paint, a resize).
void BM_FitRepaint(benchmark::State& state) {
    const Picture& p = PictureOf(static_cast<int>(state.range(0)));
    QImage pane(kPaneW, kPaneH, QImage::Format_RGB32);
    for (auto _ : state) Paint(pane, p, nullptr);
}

// The repaint after one brightness step: only the colour table is new.
void BM_FitRepaintAfterBrightnessStep(benchmark::State& state) {
    Picture p = PictureOf(static_cast<int>(state.range(0)));
    QImage pane(kPaneW, kPaneH, QImage::Format_RGB32);
    DibViewCache cache;
    Paint(pane, p, &cache);
    int step = 0;
    for (auto _ : state) {
        ++step;
        std::uint8_t* table = p.dib.data() + packed_dib::kHeaderSize;
        for (int i = 0; i < 256; ++i) std::fill_n(table + 4 * i, 3, static_cast<std::uint8_t>(i + step));
        Paint(pane, p, &cache);
    }
    state.counters["samplings"] = cache.samplings();
}

}  // namespace

BENCHMARK(BM_FitRepaint)->Arg(1)->Arg(12)->Arg(48)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitRepaintAfterBrightnessStep)->Arg(1)->Arg(12)->Arg(48)->Unit(benchmark::kMillisecond);
