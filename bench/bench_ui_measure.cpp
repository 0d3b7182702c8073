// The measuring dialogs on the screen (offscreen platform):
// - one magnifier repaint, 80 x 80 image pixels onto 320 x 320 with 100
//   markers (target under 1 ms);
// - on a 1920 x 1080 H.264 video with B-frames, at a keyframe every 25
//   frames and at x264's default interval of 250 (the argument): from
//   ACCEPT to the next frame painted in the magnifier (under 20 ms), a page
//   step of the frame bar (5 frames, under 80 ms), and back to the frame of
//   a point measured earlier in the dialog (under 50 ms);
// - the automatic identification from the click to the list shown, with 200
//   stars in the session and about 20 candidates (under 50 ms);
// - the proposals of Identify stars automatically shown, 300 stars (the
//   dialog on the screen under 200 ms after the solution).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QWindow>
#include <filesystem>
#include <memory>

#include "../tests/image/video_test_files.cpp"
#include "../tests/image/video_test_files.h"
#include "../tests/ui/measure_sky_scene.cpp"
#include "../tests/ui/measure_sky_scene.h"
#include "bench_sky_video.h"
#include "image/avi_image.h"
#include "image/packed_dib.h"
#include "platform/scripted.h"
#include "session/fixed_text.h"
#include "session/session_data.h"
#include "ui/measure/identify_dialog.h"
#include "ui/measure/meas_control.h"
#include "ui/measure/meteor_dialog_window.h"
#include "ui/measure/replay_dialog_window.h"
#include "ui/measure/star_dialog_window.h"

namespace {

using bench_sky::kFrames;
using bench_sky::SkyVideo;

// Shows a dialog and waits until its window can be painted.
void ShowExposed(QWidget& w) {
    w.show();
    for (int i = 0; i < 1000 && !(w.windowHandle() && w.windowHandle()->isExposed()); ++i)
        QApplication::processEvents();
}

// The program's current session and image while a benchmark runs.
struct Current {
    Current(SessionData& s, MeteorImage& image) {
        Session = &s;
        Mimg = &image;
    }
    ~Current() {
        Session = nullptr;
        Mimg = nullptr;
    }
};

class Picture : public MeteorImage {
public:
    Picture(int w, int h) {
        type = ImageType::Still;
        width = w;
        height = h;
        picture = packed_dib::MakeGreyDib(w, h);
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c) packed_dib::Row(picture, w, r)[c] = static_cast<std::uint8_t>(c * 7 + r * 3);
    }
};

void BM_MagnifierRepaint(benchmark::State& state) {
    Picture image(800, 600);
    SessionData s;
    Current current(s, image);
    // 100 stars spread over the window round pixel (400, 300).
    for (int i = 0; i < 100; ++i) {
        CatStar c;
        copy_text(c.name, "58 Ori");
        s.AddStar(Star(c, (362 + (i % 10) * 8) * 0.012f, (262 + (i / 10) * 8) * 0.012f), 0);
    }
    ScriptedMessageBox messages;
    CatStar t;
    copy_text(t.name, "24 Ori");
    TReplayDialog d(nullptr, image, messages, std::make_unique<StarTemplate>(s, image, 400, 300, t));
    ShowExposed(d);
    if (d.core().Markers().size() != 100) state.SkipWithError("not every marker lies in the window");
    for (auto _ : state) d.MagnifierControl()->repaint();
}
BENCHMARK(BM_MagnifierRepaint)->Unit(benchmark::kMicrosecond);

// A meteor dialog over the video, its magnifier painted once.
struct VideoDialog {
    explicit VideoDialog(AVIFileImage& video) : current(session, video) { Open(video); }
    void Open(AVIFileImage& video) {
        dialog.reset();
        session = SessionData();
        dialog = std::make_unique<TMeteorDialog>(nullptr, session, video, 960, 540, messages);
        ShowExposed(*dialog);
        Paint();
    }
    void Paint() { dialog->MagnifierControl()->repaint(); }
    QScrollBar& Bar() { return *dialog->ControlAs<QScrollBar>(192); }

    SessionData session;
    Current current;
    ScriptedMessageBox messages;
    std::unique_ptr<TMeteorDialog> dialog;
};

std::unique_ptr<AVIFileImage> OpenVideo(benchmark::State& state) {
    ScriptedProgress progress;
    auto video = std::make_unique<AVIFileImage>(progress, SkyVideo(static_cast<int>(state.range(0))));
    if (video->status != 0) {
        state.SkipWithError("video did not open");
        return nullptr;
    }
    return video;
}

// Argument 1: the observer's click in the magnifier before ACCEPT, which
// takes far longer than a decode, so the frames after the shown one are
// decoded ahead by then; 0: ACCEPT pressed again at once, one decode each.
void BM_AcceptToNextFrameShown(benchmark::State& state) {
    auto video = OpenVideo(state);
    if (!video) return;
    VideoDialog v(*video);
    const bool pause = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!v.dialog->core().magnifier().enabled()) v.Open(*video);  // every frame used: start again
        v.dialog->WMPosition({160, 160});
        if (pause) video->WaitForReadAhead();
        state.ResumeTiming();
        v.dialog->WMMeteorAccept();
        v.Paint();
    }
}
BENCHMARK(BM_AcceptToNextFrameShown)->ArgsProduct({{25, 250}, {1, 0}})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FrameBarPageStep(benchmark::State& state) {
    auto video = OpenVideo(state);
    if (!video) return;
    VideoDialog v(*video);
    const bool pause = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (v.Bar().value() + 5 > v.Bar().maximum()) {
            v.Bar().setValue(0);
            v.Paint();
        }
        if (pause) video->WaitForReadAhead();
        state.ResumeTiming();
        v.Bar().triggerAction(QAbstractSlider::SliderPageStepAdd);
        v.Paint();
    }
}
BENCHMARK(BM_FrameBarPageStep)->ArgsProduct({{25, 250}, {1, 0}})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_BackToAnEarlierPoint(benchmark::State& state) {
    auto video = OpenVideo(state);
    if (!video) return;
    VideoDialog v(*video);
    // Thirty points measured in this dialog, on frames 100 to 129.
    v.Bar().setValue(100);
    for (int i = 0; i < 30; ++i) {
        v.Paint();
        v.dialog->WMPosition({160, 160});
        v.dialog->WMMeteorAccept();
    }
    v.Paint();
    int k = 0;
    for (auto _ : state) {
        state.PauseTiming();
        v.Bar().setValue(130);  // the frame being measured
        v.Paint();
        state.ResumeTiming();
        v.Bar().setValue(100 + (k++ * 7) % 30);
        v.Paint();
    }
}
BENCHMARK(BM_BackToAnEarlierPoint)->Arg(25)->Arg(250)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_AutomaticIdentification(benchmark::State& state) {
    const std::filesystem::path dir = std::filesystem::path(VELKARN_SOURCE_DIR) / "data" / "catalogue";
    const CatalogueFiles files{dir, dir};
    sky_scene::SceneSpec plan;
    plan.camera = {5.55, 1.0, 55, 0, 0, 3000, 2000};  // 36 x 25 degrees: 200 stars to magnitude 6.5
    plan.render_limit = 6.5f;
    plan.from_u = 100;
    plan.from_v = 100;
    plan.to_u = 200;
    plan.to_v = 150;
    plan.stars_to_choose = 1;
    const sky_scene::Scene scene = sky_scene::MakeScene(files, plan);
    Picture image(3000, 2000);
    SessionData s;
    Current current(s, image);
    const sky_scene::TrueStar* probe = nullptr;
    for (const sky_scene::TrueStar& t : scene.rendered) {
        if (t.u < 0 || t.v < 0 || t.u >= 3000 || t.v >= 2000) continue;
        if (probe == nullptr && t.u > 1200 && t.v > 800) {
            probe = &t;  // the star the observer clicks
            continue;
        }
        if (s.nstar < 200) s.AddStar(Star(t.cat, static_cast<float>(t.u * 0.012), static_cast<float>(t.v * 0.012)), 0);
    }
    s.CalculateOC();
    if (s.nstar < 200 || probe == nullptr) {
        state.SkipWithError("too few stars in the field");
        return;
    }
    ScriptedMessageBox messages;
    const StarSearchSettings settings{files, static_cast<float>(state.range(0)) / 10, 8.0f, std::nullopt};
    std::size_t candidates = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TStarDialog d(nullptr, s, image, static_cast<int>(probe->u), 1999 - static_cast<int>(probe->v), messages,
                      settings);
        ShowExposed(d);
        state.ResumeTiming();
        d.WMPosition({160, 160});
        QApplication::processEvents();
        candidates = d.star().lines().size();
    }
    state.counters["stars"] = s.nstar;
    state.counters["candidates"] = static_cast<double>(candidates);
}
// Search radius 2.3 degrees: about 20 candidates down to magnitude 8.
BENCHMARK(BM_AutomaticIdentification)->Arg(23)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the solution to the proposal dialog painted on the screen.
void BM_IdentifyProposalsShown(benchmark::State& state) {
    SkyPointing pointing{5.5, 0.0, 60.0, 12.0, false, 40.0, 27.0};
    std::vector<StarProposal> proposals(300);
    for (std::size_t i = 0; i < proposals.size(); ++i) {
        std::snprintf(proposals[i].star.name, sizeof proposals[i].star.name, "%d Ori", static_cast<int>(i % 1000));
        proposals[i].star.mag = 2.0f + static_cast<float>(i % 40) / 10.0f;
        proposals[i].x = 100.0 + 7.0 * static_cast<double>(i);
        proposals[i].y = 50.0 + 3.0 * static_cast<double>(i);
        proposals[i].distance = 0.01 * static_cast<double>(i % 100);
    }
    for (auto _ : state) {
        TIdentifyDialog dialog(nullptr, pointing, proposals);
        ShowExposed(dialog);
        dialog.repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.list());
    }
}
BENCHMARK(BM_IdentifyProposalsShown)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
