// The commands on the selected measurement (Edit menu and the context menus
// of both views), the left click that measures, and the order buttons.
#include <cstring>
#include <vector>

#include "astro/numerical_error.h"
#include "image/meteor_image.h"
#include "platform/text_input.h"
#include "session/fixed_text.h"
#include "shell/main_commands.h"
#include "shell/measure_dialogs.h"
#include "shell/shell_view.h"
#include "shell/state_flags.h"

namespace {

constexpr const char* kMaximum = "Maximum";

// The meteor point the selection names, or -1.
int SelectedPoint(const SessionData& s) {
    const int i = SelectedStar::iselect - static_cast<int>(s.nstar);
    return SelectedStar::iselect >= 0 && i >= 0 && static_cast<unsigned int>(i) < s.nmet ? i : -1;
}

bool StarSelected(const SessionData& s) {
    return SelectedStar::iselect >= 0 && static_cast<unsigned int>(SelectedStar::iselect) < s.nstar;
}

std::vector<std::string> Labels(const SessionData& s) {
    std::vector<std::string> labels;
    for (unsigned int i = 0; i < s.nmet; ++i) labels.emplace_back(s.meteors[i].label);
    return labels;
}

}  // namespace

// --- Hide, unhide, delete ---
// A selection that names nothing these commands can act on (a meteor point
// for Hide, a left-over index) changes nothing and marks nothing.

void MainCommands::ClearSelection() {
    SelectedStar::iselect = -1;
    SetMenuState();
}

// Hides or unhides the selected star and ends the selection; the caller
// decides when the reduction follows.
void MainCommands::SetSelectedHidden(bool hide) {
    sf.changed = 1;
    sf.recalc = 1;
    if (hide) {
        session_->fhide(SelectedStar::iselect);
    } else {
        session_->funhide(SelectedStar::iselect);
    }
    SelectedStar::iselect = -1;
}

void MainCommands::ImageViewHide(bool hide) {
    if (!StarSelected(*session_)) return ClearSelection();
    SetSelectedHidden(hide);
    Recompute(hide ? "Hide star" : "Unhide star");
    SetMenuState();
    s_.view.PaintMarkers();
    s_.view.RepaintStatus();
}

void MainCommands::ImageViewDelete() {
    const int point = SelectedPoint(*session_);
    if (!StarSelected(*session_) && point < 0) return ClearSelection();
    sf.changed = 1;
    sf.recalc = 1;
    if (point < 0) {
        session_->DropStar(SelectedStar::iselect);
        CalculateOC("Delete measurement");
    } else {
        session_->DropMetPnt(point);
    }
    SelectedStar::iselect = -1;
    SetMenuState();
    s_.view.RepaintDisplay(false);
    s_.view.RepaintStatus();
}

// The analysis view recomputes everything at its next paint.
void MainCommands::AnalysisViewHide(bool hide) {
    if (!StarSelected(*session_)) return ClearSelection();
    SetSelectedHidden(hide);
    SetMenuState();
    s_.view.RepaintAnalysis();
}

void MainCommands::AnalysisViewDelete() {
    if (!StarSelected(*session_)) return ClearSelection();
    sf.changed = 1;
    sf.recalc = 1;
    session_->DropStar(SelectedStar::iselect);
    SelectedStar::iselect = -1;
    SetMenuState();
    s_.view.RepaintAnalysis();
}

void MainCommands::WMEditHide() {
    if (sf.analysis) {
        AnalysisViewHide(true);
    } else {
        ImageViewHide(true);
    }
}

void MainCommands::WMEditUnhide() {
    if (sf.analysis) {
        AnalysisViewHide(false);
    } else {
        ImageViewHide(false);
    }
}

void MainCommands::WMEditDelete() {
    if (sf.analysis) {
        AnalysisViewDelete();
    } else {
        ImageViewDelete();
    }
}

void MainCommands::WMEditDelall() {
    for (int i = static_cast<int>(session_->nmet) - 1; i >= 0; --i) session_->DropMetPnt(i);
    // A selected point is gone with the others.
    if (SelectedStar::iselect >= static_cast<int>(session_->nstar)) SelectedStar::iselect = -1;
    sf.changed = 1;
    // The surround columns of the analysis view change with the points.
    sf.recalc = 1;
    SetMenuState();
    s_.view.RepaintDisplay(false);
    s_.view.RepaintStatus();
}

// --- Labels ---

void MainCommands::LabelSelected() {
    const int point = SelectedPoint(*session_);
    if (point >= 0) {
        char* label = session_->meteors[point].label;
        std::string text = label;
        s_.text.Ask("Edit/view label", "Enter text for this meteor point", text, sizeof session_->meteors[point].label);
        // The label is saved in the file and names the log's maximum.
        if (text.size() < sizeof session_->meteors[point].label && text != label) {
            copy_text(session_->meteors[point].label, text);
            sf.changed = 1;
        }
    }
    SelectedStar::iselect = -1;
    SetMenuState();
    s_.view.PaintMarkers();
}

void MainCommands::ToggleMaximumSelected() {
    const int point = SelectedPoint(*session_);
    if (point >= 0) {
        Meteor& m = session_->meteors[point];
        copy_text(m.label, std::strcmp(m.label, kMaximum) == 0 ? "" : kMaximum);
        sf.changed = 1;
    }
    SelectedStar::iselect = -1;
    SetMenuState();
    s_.view.PaintMarkers();
}

// --- Measuring ---

void MainCommands::MeasureAt(int column, int row, const CatStar* preselect) {
    // A blank image stands for a picture that is not there to measure on.
    if (!image_ || (image_->type & ImageType::Blank) != 0) return;
    if (column < 0 || row < 0 || column >= image_->width || row >= image_->height) return;
    SessionData& s = *session_;
    if (sf.measmode == kStarMode) {
        const unsigned int before = s.nstar;
        if (preselect) {
            s_.measure.RunStarDialogFor(column, row, *preselect);
        } else {
            s_.measure.RunStarDialog(column, row);
        }
        if (session_->nstar > before) {
            sf.changed = 1;
            sf.recalc = 1;
        }
    } else {
        const unsigned int before = s.nmet;
        const std::vector<std::string> labels = Labels(s);
        s_.measure.RunMeteorDialog(column, row);
        // The meteor dialog can also label earlier points.
        if (session_->nmet > before || Labels(*session_) != labels) sf.changed = 1;
        if (session_->nmet > before) sf.recalc = 1;
    }
    SelectedStar::iselect = -1;
    SetMenuState();
    s_.view.RepaintStatus();
    s_.view.PaintMarkers();
}

// --- Order of the plate constants ---

bool MainCommands::ChangeOrder(int (SessionData::*change)()) {
    const int before = session_->order;
    if (((*session_).*change)() == 0) return false;
    if (!sf.analysis) {
        if (!CalculateOC("Order")) {
            // No fit at this order: keep the one that had a solution.
            session_->order = before;
            return false;
        }
    } else {
        sf.recalc = 1;
        s_.view.RepaintAnalysis();
    }
    // The order is saved in the session file.
    sf.changed = 1;
    SetMenuState();
    s_.view.RepaintStatus();
    return true;
}

bool MainCommands::PlusOrder() { return ChangeOrder(&SessionData::PlusOrder); }

bool MainCommands::MinOrder() { return ChangeOrder(&SessionData::MinOrder); }
