#pragma once
// A MainCommands with scripted services in a fresh temporary program
// directory: file and text dialogs, message boxes, measuring and exposure
// dialogs all answer from queues, and the window records what it is asked.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "files/exposure_dialogs.h"
#include "image/bmp_test_files.h"
#include "platform/desktop_shell.h"
#include "platform/scripted.h"
#include "session_fields.h"
#include "support/scratch_dir.h"
#include "session/fixed_text.h"
#include "shell/main_commands.h"
#include "shell/measure_dialogs.h"
#include "shell/recovery_file.h"
#include "shell/shell_view.h"
#include "shell/state_flags.h"

namespace shell_test {

namespace fs = std::filesystem;

// Every call as one text ("Caption Velkarn - [x]", "RepaintStatus", ...).
class RecordingShellView : public ShellView {
public:
    std::vector<std::string> calls;
    std::string caption;
    bool watching = false;
    WindowPlacement placement{10, 20, 800, 600};
    bool maximised = false;

    int Count(const std::string& call) const {
        int n = 0;
        for (const auto& c : calls) n += c == call;
        return n;
    }

    void MenuStateChanged() override { calls.push_back("MenuStateChanged"); }
    void SetCaption(const std::string& c) override {
        caption = c;
        calls.push_back("Caption " + c);
    }
    void ShowPane(bool analysis) override { calls.push_back(analysis ? "ShowAnalysis" : "ShowDisplay"); }
    void RepaintMain(bool erase) override { calls.push_back(erase ? "RepaintMain erase" : "RepaintMain"); }
    void RepaintDisplay(bool erase) override { calls.push_back(erase ? "RepaintDisplay erase" : "RepaintDisplay"); }
    void PaintMarkers() override { calls.push_back("PaintMarkers"); }
    void RepaintStatus() override { calls.push_back("RepaintStatus"); }
    void RepaintAnalysis() override { calls.push_back("RepaintAnalysis"); }
    void ShowStatusButtons(bool show) override { calls.push_back(show ? "ShowButtons" : "HideButtons"); }
    void DisplaySetScroller() override { calls.push_back("SetScroller"); }
    void DisplaySetImageZoom() override { calls.push_back("SetImageZoom"); }
    void DisplaySetImagePixel() override { calls.push_back("SetImagePixel"); }
    void SetWaitCursor(bool wait) override { calls.push_back(wait ? "Wait" : "Arrow"); }
    void WatchClipboard(bool watch) override {
        watching = watch;
        calls.push_back(watch ? "JoinClipboard" : "LeaveClipboard");
    }
    void Beep() override { calls.push_back("Beep"); }
    void Pause(int ms) override { calls.push_back("Pause " + std::to_string(ms)); }
    void GetPlacement(WindowPlacement& normal, bool& max) override {
        normal = placement;
        max = maximised;
    }
};

// The measuring dialogs: the star and meteor dialogs add what is queued,
// the replay and template dialogs end as queued (OK when nothing is) and
// measure on OK.
class ScriptedMeasureDialogs : public MeasureDialogs {
public:
    struct Shown {
        std::string kind;  // "star", "meteor", "star replay", "meteor replay", "template"
        int column, row, index;
        std::string name;  // template star; the star picked on the catalogue overlay
    };
    std::vector<Shown> shown;
    std::deque<Star> stars_to_add;
    std::deque<Meteor> points_to_add;
    std::function<void()> in_meteor_dialog;  // also run by the meteor dialog
    std::deque<DialogEnd> ends;

    void RunStarDialog(int column, int row) override {
        shown.push_back({"star", column, row, -1, ""});
        if (stars_to_add.empty()) return;
        Session->AddStar(stars_to_add.front(), 1);
        stars_to_add.pop_front();
    }
    void RunStarDialogFor(int column, int row, const CatStar& star) override {
        RunStarDialog(column, row);
        shown.back().name = star.name;
    }
    void RunMeteorDialog(int column, int row) override {
        shown.push_back({"meteor", column, row, -1, ""});
        for (const Meteor& m : points_to_add) Session->AddMetPnt(m);
        points_to_add.clear();
        if (in_meteor_dialog) in_meteor_dialog();
    }
    DialogEnd RunStarReplay(int column, int row, int index) override {
        shown.push_back({"star replay", column, row, index, ""});
        const DialogEnd e = Next();
        if (e == DialogEnd::Ok) Session->ReplayStar(index, Session->fxstr(index), Session->fystr(index));
        return e;
    }
    DialogEnd RunMeteorReplay(int column, int row, int index) override {
        shown.push_back({"meteor replay", column, row, index, ""});
        const DialogEnd e = Next();
        if (e == DialogEnd::Ok) Session->ReplayMetPnt(index, Session->fxmet(index), Session->fymet(index));
        return e;
    }
    DialogEnd RunTemplateStar(int column, int row, const CatStar& star) override {
        shown.push_back({"template", column, row, -1, star.name});
        const DialogEnd e = Next();
        if (e == DialogEnd::Ok) {
            const float x = column * 0.012f;
            const float y = (Mimg->height - 1 - row) * 0.012f;
            Session->AddStar(Star(star, x, y), 0);
        }
        return e;
    }
    // The proposals of Identify stars automatically; none: Cancel.
    std::function<std::optional<std::vector<StarProposal>>(const SkyPointing&, const std::vector<StarProposal>&)>
        identify;
    std::optional<std::vector<StarProposal>> RunIdentifyProposals(const SkyPointing& solution,
                                                                  const std::vector<StarProposal>& proposals) override {
        shown.push_back({"identify", -1, -1, static_cast<int>(proposals.size()), ""});
        if (!identify) return std::nullopt;
        return identify(solution, proposals);
    }
    std::vector<std::string> Kinds() const {
        std::vector<std::string> k;
        for (const auto& s : shown) k.push_back(s.kind + " " + std::to_string(s.index));
        return k;
    }

private:
    DialogEnd Next() {
        if (ends.empty()) return DialogEnd::Ok;
        const DialogEnd e = ends.front();
        ends.pop_front();
        return e;
    }
};

// The exposure dialog: OK (1) fills the record with `entered` and marks it
// entered; Cancel (2) leaves it.
class ScriptedExposure : public ExposureDialogRunner {
public:
    std::deque<int> results;
    std::function<void(DialogData&)> entered = [](DialogData& d) {
        copy_text(d.year, "1999");
        copy_text(d.month, "8");
        copy_text(d.day, "12");
        copy_text(d.hour, "23");
        copy_text(d.minute, "15");
        copy_text(d.second, "42");
        copy_text(d.refhour, "23");
        copy_text(d.refminute, "10");
        copy_text(d.refsecond, "00");
        copy_text(d.meteor, "per0812a");
    };
    int runs = 0;

    int RunDataDialog(DialogData& d) override {
        ++runs;
        const int r = results.empty() ? 1 : results.front();
        if (!results.empty()) results.pop_front();
        if (r == 1) {
            entered(d);
            d.status = 0;
        }
        return r;
    }
    void RunStationDialog(StationData&) override {}
};

class NoDesktop : public DesktopShell {
public:
    bool RaiseWindow(const std::string&) override { return false; }
    void OpenFile(const std::string&) override {}
    void OpenClipboardViewer() override {}
};

inline std::string Example(const std::string& name) {
    return std::string(VELKARN_SOURCE_DIR) + "/data/examples/" + name;
}

class Shell : public testing::Test {
protected:
    void SetUp() override { Start(); }
    // The window ends before its directory goes.
    void TearDown() override { commands_.reset(); }

    // A fresh main window over the program directory (which may hold a
    // settings file); with a state directory it keeps a recovery copy of
    // unsaved work (RecoveryCopyPath()), which a restart leaves in place.
    void Start(bool with_state_dir = false) {
        commands_.reset();
        SettingsEnvironment env{dir_, dir_, 1920, 1080};
        ProgramPaths paths{dir_, dir_, dir_, dir_};
        if (with_state_dir) {
            paths.state_dir = dir_ / "state";
            std::error_code ec;
            ASSERT_TRUE(CreateWritableDirs(paths, ec));
        }
        ShellServices services{messages_, files_, text_, progress_, clipboard_, desktop_,
                               exposure_, measure_, view_};
        commands_ = std::make_unique<MainCommands>(services, paths, env);
        commands_->SetupWindow();
        view_.calls.clear();
    }
    fs::path RecoveryCopyPath() const { return dir_ / "state" / "recovery.session"; }
    // What the recovery copy restores, field by field with the exposure
    // record; the reader's message when it cannot; empty when there is none.
    std::vector<std::string> RecoveryCopyFields() const {
        if (!fs::exists(RecoveryCopyPath())) return {};
        const DialogData before = SessionData::dlgdat;
        SessionData s;  // a new session resets the exposure record
        SessionData::dlgdat = before;
        DialogData d;
        RecoveryImage image;
        try {
            ReadRecoveryText(FileText(RecoveryCopyPath()), s, d, image);
        } catch (const RecoveryFileError& e) {
            return {e.what()};
        }
        return SessionFields(s, d);
    }

    MainCommands& cmd() { return *commands_; }
    SessionData& session() { return *commands_->session(); }
    fs::path Path(const std::string& name) const { return dir_ / name; }
    // A command on star or point i (stars first), selected as a click in a
    // list selects it.
    void OnSelected(int i, void (MainCommands::*command)()) {
        SelectedStar::iselect = i;
        cmd().SetMenuState();
        (cmd().*command)();
    }

    std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const fs::path path = Path(name);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path.string();
    }

    // Opens a BMP as the observer would; the message box queue is kept.
    void OpenImage(const std::string& name = "ph990812.bmp", int width = 1200, int height = 800) {
        files_.answers.push_back(WriteFile(name, bmp_test::File(bmp_test::Layout{.width = width, .height = height})));
        cmd().WMImgFileOpen();
        ASSERT_NE(cmd().image(), nullptr);
    }
    void Retrieve(const std::string& path) {
        files_.answers.push_back(path);
        cmd().WMRetrieveSession();
    }
    // The example photograph's session on a loaded image of its size.
    void MeasuredPhotograph() {
        OpenImage();
        Retrieve(Example("per0812a.dar"));
        ASSERT_EQ(session().nstar, 19u);
    }

    std::vector<std::string> Captions() const {
        std::vector<std::string> c;
        for (const auto& s : messages_.shown) c.push_back(s.caption + ": " + s.text);
        return c;
    }
    bool SettingsWritten() const { return fs::exists(SettingsPath(dir_)); }
    std::string FileText(const fs::path& p) const { return testing_support::ReadText(p); }

    testing_support::ScratchDir scratch_;
    fs::path dir_ = scratch_.path();
    ScriptedMessageBox messages_;
    ScriptedFileDialog files_;
    ScriptedTextInput text_;
    ScriptedProgress progress_;
    ScriptedClipboard clipboard_;
    NoDesktop desktop_;
    ScriptedExposure exposure_;
    ScriptedMeasureDialogs measure_;
    RecordingShellView view_;
    std::unique_ptr<MainCommands> commands_;
};

}  // namespace shell_test
