// The windows on Qt's offscreen platform: a repaint of the image view in fit
// mode (and after a brightness step) for pictures of 1, 12 and 48
// megapixels in a 1600 x 1000 pane; the analysis view recomputing and
// drawing 1000 stars; the program's start-up to its main window, and a
// second start handing over to it.
// Run: build/bench/velkarn_bench_ui
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <vector>

#include "bench_session.h"
#include "files/exposure_dialogs.h"
#include "platform/desktop_shell.h"
#include "platform/scripted.h"
#include "shell/command_ids.h"
#include "shell/main_commands.h"
#include "shell/measure_dialogs.h"
#include "shell/state_flags.h"
#include "ui/app/analysis_window.h"
#include "ui/app/display_window.h"
#include "ui/app/main_window.h"
#include "ui/app/single_instance.h"

namespace {
namespace fs = std::filesystem;

class NoDialogs : public MeasureDialogs, public ExposureDialogRunner, public DesktopShell {
public:
    void RunStarDialog(int, int) override {}
    void RunMeteorDialog(int, int) override {}
    DialogEnd RunStarReplay(int, int, int) override { return DialogEnd::Break; }
    DialogEnd RunMeteorReplay(int, int, int) override { return DialogEnd::Break; }
    DialogEnd RunTemplateStar(int, int, const CatStar&) override { return DialogEnd::Break; }
    int RunDataDialog(DialogData&) override { return 2; }
    void RunStationDialog(StationData&) override {}
    bool RaiseWindow(const std::string&) override { return false; }
    void OpenFile(const std::string&) override {}
    void OpenClipboardViewer() override {}
};

// A main window over a scratch directory with every dialog scripted.
struct Program {
    QTemporaryDir dir;
    ScriptedMessageBox messages;
    ScriptedFileDialog files;
    ScriptedTextInput text;
    ScriptedClipboard clipboard;
    NoDialogs dialogs;
    std::unique_ptr<TMainWindow> window;

    Program(int client_width, int client_height) {
        const fs::path d = dir.path().toStdString();
        ProgramPaths paths{d, d, d, d, d};
        SettingsEnvironment env{d, d, 1600, 1000};
        window = std::make_unique<TMainWindow>(
            paths, env, UiServices{&messages, &files, &text, &dialogs, &dialogs, &clipboard, &dialogs});
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) std::fprintf(stderr, "the window was never shown\n");
        const QSize client = window->centralWidget()->size();
        window->resize(window->width() + client_width - client.width(),
                       window->height() + client_height - client.height());
        QApplication::processEvents();
    }
    fs::path Path(const std::string& name) const { return fs::path(dir.path().toStdString()) / name; }
};

// An 8-bit BMP of width x height with a pattern in its pixels.
void WriteBmp(const fs::path& path, int width, int height) {
    const int stride = (width + 3) / 4 * 4;
    std::ofstream out(path, std::ios::binary);
    auto put = [&out](std::uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(v >> (8 * i)));
    };
    out.put('B');
    out.put('M');
    put(14 + 40 + 1024 + static_cast<std::uint64_t>(stride) * height, 4);
    put(0, 4);
    put(14 + 40 + 1024, 4);
    put(40, 4);
    put(width, 4);
    put(height, 4);
    put(1, 2);
    put(8, 2);
    for (int i = 0; i < 6; ++i) put(0, 4);
    for (int i = 0; i < 256; ++i) put(i * 0x010101u, 4);
    std::vector<char> row(stride);
    for (int r = 0; r < height; ++r) {
        for (int x = 0; x < stride; ++x) row[x] = static_cast<char>((x * 7 + r * 3) & 0xFF);
        out.write(row.data(), stride);
    }
}

// The image view of a 1600 x 1000 pane with a picture of the given
// megapixels loaded through File > Open image file.
std::unique_ptr<Program> ImageViewWith(int megapixels) {
    static const std::map<int, std::pair<int, int>> sizes = {{1, {1155, 866}}, {12, {4000, 3000}}, {48, {8000, 6000}}};
    auto p = std::make_unique<Program>(1600, 1000 + 19);
    const auto [w, h] = sizes.at(megapixels);
    const fs::path bmp = p->Path("picture.bmp");
    WriteBmp(bmp, w, h);
    p->files.answers.push_back(bmp.string());
    p->window->Command(cmd::ImgFileOpen);
    fs::remove(bmp);
    return p;
}

void BM_ImageViewRepaintFit(benchmark::State& state) {
    auto p = ImageViewWith(static_cast<int>(state.range(0)));
    if (!Mimg) {
        state.SkipWithError("the picture did not load");
        return;
    }
    QWidget* view = p->window->DisplayWin()->viewport();
    view->repaint();
    for (auto _ : state) view->repaint();
    state.counters["pane_px"] = view->width() * view->height();
}
BENCHMARK(BM_ImageViewRepaintFit)->Arg(1)->Arg(12)->Arg(48)->Unit(benchmark::kMillisecond);

void BM_ImageViewRepaintAfterBrightnessStep(benchmark::State& state) {
    auto p = ImageViewWith(static_cast<int>(state.range(0)));
    if (!Mimg) {
        state.SkipWithError("the picture did not load");
        return;
    }
    QWidget* view = p->window->DisplayWin()->viewport();
    view->repaint();
    int step = 1;
    for (auto _ : state) {
        Mimg->SetBrightness(Mimg->brightness + step);
        step = -step;
        view->repaint();
    }
}
BENCHMARK(BM_ImageViewRepaintAfterBrightnessStep)->Arg(1)->Arg(12)->Arg(48)->Unit(benchmark::kMillisecond);

// The analysis view of a session of 1000 stars: a paint that recomputes
// (sf.recalc set, as after any change) and one that draws the cached rows.
void BM_AnalysisViewRecomputeAndDraw(benchmark::State& state) {
    Program p(1200, 1000);
    p.files.answers.push_back(std::string(VELKARN_SOURCE_DIR) + "/data/examples/per0812a.dar");
    p.window->Command(cmd::RetrieveSession);
    // The benchmark session's 1000 stars in place of the example's.
    bench::BenchSession b(1000);
    Session->stars = b.s.stars;
    Session->nstar = b.s.nstar;
    Session->nhide = 0;
    Session->racen = b.s.racen;
    Session->decen = b.s.decen;
    Session->x0 = b.s.x0;
    Session->y0 = b.s.y0;
    p.window->Command(cmd::WindowAnalysis);
    TAnalysisWindow* view = p.window->AnalysisWin();
    const bool recompute = state.range(0) != 0;
    for (auto _ : state) {
        if (recompute) sf.recalc = 1;
        view->repaint();
    }
    state.SetLabel(recompute ? "recompute + draw" : "draw");
}
BENCHMARK(BM_AnalysisViewRecomputeAndDraw)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The per-user directories of one start of the real program.
struct Scratch {
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    Scratch() {
        for (const char* d : {"runtime", "home", "config", "data"}) QDir(dir.path()).mkpath(d);
        QFile::setPermissions(dir.path() + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", dir.path() + "/runtime");
        env.insert("HOME", dir.path() + "/home");
        env.insert("XDG_CONFIG_HOME", dir.path() + "/config");
        env.insert("XDG_DATA_HOME", dir.path() + "/data");
    }
    QString Socket() const { return dir.path() + "/runtime/TVelkarnWindow-" + qEnvironmentVariable("USER", QString::number(getuid())); }
};

// The running copy answers once its main window is shown and its event loop
// runs.
bool Answers(const QString& socket) {
    QLocalSocket s;
    s.connectToServer(socket);
    if (!s.waitForConnected(50)) return false;
    s.write("raise\n");
    s.waitForBytesWritten(50);
    return s.waitForReadyRead(50);
}

void BM_StartUpToMainWindowShown(benchmark::State& state) {
    for (auto _ : state) {
        Scratch scratch;
        QProcess program;
        program.setProcessEnvironment(scratch.env);
        QElapsedTimer clock;
        clock.start();
        program.start(QString::fromUtf8(VELKARN_GUI), {});
        while (!Answers(scratch.Socket()) && clock.elapsed() < 10000) QThread::msleep(1);
        state.SetIterationTime(clock.nsecsElapsed() * 1e-9);
        program.kill();
        program.waitForFinished(5000);
    }
}
BENCHMARK(BM_StartUpToMainWindowShown)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_SecondStartHandsOver(benchmark::State& state) {
    Scratch scratch;
    QProcess first;
    first.setProcessEnvironment(scratch.env);
    first.start(QString::fromUtf8(VELKARN_GUI), {});
    QElapsedTimer wait;
    wait.start();
    while (!Answers(scratch.Socket()) && wait.elapsed() < 10000) QThread::msleep(1);
    for (auto _ : state) {
        QProcess second;
        second.setProcessEnvironment(scratch.env);
        QElapsedTimer clock;
        clock.start();
        second.start(QString::fromUtf8(VELKARN_GUI), {});
        second.waitForFinished(10000);
        state.SetIterationTime(clock.nsecsElapsed() * 1e-9);
        if (second.exitCode() != 0) state.SkipWithError("the second start did not end with 0");
    }
    first.kill();
    first.waitForFinished(5000);
}
BENCHMARK(BM_SecondStartHandsOver)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
