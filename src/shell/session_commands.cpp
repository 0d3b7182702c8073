// File > New session, Retrieve session and Open template, and Measure >
// Exposure data, which the template runs as well.
#include <cstdio>
#include <exception>

#include "astro/numerical_error.h"
#include "files/exposure_dialogs.h"
#include "image/fake_image.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "session/fixed_text.h"
#include "shell/dialog_position.h"
#include "shell/image_file_names.h"
#include "shell/main_commands.h"
#include "shell/measure_dialogs.h"
#include "shell/shell_view.h"
#include "shell/state_flags.h"

namespace {

bool Readable(const std::string& path) {
    if (std::FILE* f = std::fopen(path.c_str(), "r")) {
        std::fclose(f);
        return true;
    }
    return false;
}

// The directory of a session file as opt.outputdir keeps it: without the
// closing "/".
std::string OutputDirOf(const std::string& path) {
    std::string dir = DirectoryPart(path);
    if (dir.size() > 1) dir.pop_back();
    return dir;
}

// Reads a session file into a session of its own. The reader raises before
// it changes anything, but a file with an impossible date can still fail
// afterwards, while the stars are brought to that date; a session of its
// own keeps the current one whole either way. The exposure record is put
// back as it was whenever nothing is returned.
struct ReadResult {
    std::unique_ptr<SessionData> session;
    int kind = 0;
};

ReadResult ReadSession(const std::string& path, MessageBoxService& mb, bool imageLoaded, const char* caption) {
    const DialogData before = SessionData::dlgdat;
    ReadResult r;
    r.session = std::make_unique<SessionData>();  // resets the exposure record
    SessionData::dlgdat = before;                 // which the reader starts from
    try {
        r.kind = r.session->Retrieve(path.c_str(), mb, imageLoaded);
    } catch (const std::exception&) {
        r.kind = 0;
        mb.Show("Invalid file format", caption, MbButtons::Ok, MbIcon::None);
    }
    // A file that went between the check and the reading; a declined one
    // is no failure and says nothing.
    if (r.kind == SessionData::kRetrieveCannotOpen) mb.Show("File not accessible.", caption, MbButtons::Ok, MbIcon::None);
    if (r.kind <= 0) {
        SessionData::dlgdat = before;
        r.session.reset();
    }
    return r;
}

}  // namespace

void MainCommands::RememberSessionFile(const std::string& path) {
    copy_text(opt.station, SessionData::dlgdat.station);
    const std::string dir = OutputDirOf(path);
    if (FitsOptionPath(dir)) {
        copy_text(opt.outputdir, dir);
    } else {
        s_.messages.Show(OverlongPathText(dir, "The directory is not remembered for the next session file."),
                         "Session directory", MbButtons::Ok, MbIcon::Exclamation);
    }
}

std::optional<std::string> MainCommands::AskSessionFile() {
    FileDialogRequest request;
    request.filters = {{"All files (*.*)", ""}};
    request.directory = opt.outputdir;
    return s_.files.Open(request);
}

void MainCommands::WMNewSession() {
    if (sf.changed) {
        const MbAnswer a =
            s_.messages.Show("Session not saved. Save first?", "New session", MbButtons::YesNoCancel, MbIcon::None);
        if (a == MbAnswer::Cancel) return;
        // Unsaved work is thrown away only on No: a save that was cancelled
        // or failed keeps the session.
        if (a == MbAnswer::Yes && !WMSaveSession()) return;
    }
    // Saved or given up: nothing is left to recover.
    recovery_.Remove();
    Mimg = nullptr;
    image_.reset();
    NewEmptySession();
    s_.view.SetCaption("Velkarn - [No image]");
    s_.view.ShowPane(false);
    SelectedStar::iselect = -1;
    sf.imgloaded = 0;
    sf.dispmode = kFitMode;
    sf.changed = 0;
    sf.recalc = 1;
    sf.analysis = 0;
    JoinClipboardWatch();
    s_.view.ShowStatusButtons(false);
    s_.view.DisplaySetScroller();
    s_.view.RepaintMain(true);
}

void MainCommands::WMRetrieveSession() {
    const std::optional<std::string> path = AskSessionFile();
    if (!path) return;
    if (!Readable(*path)) {
        s_.messages.Show("File not accessible.", "Retrieve session", MbButtons::Ok, MbIcon::None);
        return;
    }
    ReadResult read = ReadSession(*path, s_.messages, sf.imgloaded != 0, "Retrieve session");
    if (!read.session) return;
    session_ = std::move(read.session);
    Session = session_.get();
    // The analysis view's rows belong to the session it showed before.
    sf.recalc = 1;
    RememberSessionFile(*path);

    if (!sf.imgloaded) {
        ConstructImage(MakeBlankImage(session_->x0, session_->y0, read.kind), "No image");
    } else {
        s_.view.PaintMarkers();
    }
    Recompute("Retrieve session");
    // The session as read is the one on disk, where undo stops.
    session_file_ = *path;
    ResetHistory(true);
    SetMenuState();
    s_.view.RepaintStatus();
}

int MainCommands::WMExpData() {
    const int result = RunExposureDialogs(SessionData::dlgdat, s_.exposure, opt.stationfile);
    // The stars follow the (possibly new) date of observation.
    try {
        session_->ProperMotion(-1);
        session_->CalculateOC();
    } catch (const NumericalError& e) {
        ShowNumericalError(e, "Exposure data");
    }
    if (result != 2) {
        sf.changed = 1;
        sf.recalc = 1;
    }
    SetMenuState();
    if (result != 2) {
        s_.view.RepaintStatus();
        s_.view.RepaintAnalysis();
    }
    return result;
}

void MainCommands::WMTemplate() {
    const std::optional<std::string> path = AskSessionFile();
    if (!path) return;
    if (!Readable(*path)) {
        s_.messages.Show("File not accessible.", "Open template", MbButtons::Ok, MbIcon::None);
        return;
    }
    const DialogData before = SessionData::dlgdat;
    // A template never belongs to the image on screen: no image question.
    ReadResult read = ReadSession(*path, s_.messages, false, "Open template");
    if (!read.session) return;
    SessionData& tmpl = *read.session;
    copy_text(SessionData::dlgdat.image, before.image);
    RememberSessionFile(*path);

    double old_day = 0.0;
    try {
        old_day = tmpl.RefDay();
    } catch (const NumericalError& e) {
        ShowNumericalError(e, "Open template");
        SessionData::dlgdat = before;
        return;
    }
    tmpl.DeleteTimes();
    if (RunExposureDialogs(SessionData::dlgdat, s_.exposure, opt.stationfile) == 2) {
        // Cancel leaves the exposure record as it was before the template.
        SessionData::dlgdat = before;
        return;
    }
    // Entered exposure data are work to save.
    sf.changed = 1;
    sf.recalc = 1;
    try {
        const float dt = static_cast<float>((old_day - tmpl.RefDay()) * 1.00263791 * 24);
        MeasureTemplateStars(tmpl, dt);
    } catch (const NumericalError& e) {
        ShowNumericalError(e, "Open template");
        SetMenuState();
    }
}

void MainCommands::MeasureTemplateStars(SessionData& tmpl, float dt) {
    if (!image_) return SetMenuState();
    const unsigned int stars_before = session_->nstar;
    const int width = image_->width;
    const int height = image_->height;
    bool broke_at_first = false;
    try {
        for (unsigned int i = 0; i < tmpl.nstar; ++i) {
            float x = -1.0f, y = -1.0f;
            tmpl.ShiftedPosition(static_cast<int>(i), dt, x, y);
            const ImagePixel p = DialogPosition(x, y, height);
            if (!InsideImage(p, width, height)) continue;
            if (s_.measure.RunTemplateStar(p.column, p.row, tmpl.stars[i]) == DialogEnd::Break) {
                broke_at_first = i == 0;
                break;
            }
        }
    } catch (const NumericalError& e) {
        // The template's own stars cannot be fitted: nothing can be shifted.
        ShowNumericalError(e, "Open template");
    }
    if (session_->nstar != stars_before) {
        sf.changed = 1;
        sf.recalc = 1;
    }
    if (!broke_at_first) Recompute("Open template");
    SetMenuState();
    if (broke_at_first) return;
    s_.view.PaintMarkers();
    s_.view.RepaintStatus();
}
