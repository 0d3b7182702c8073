#include "measure/star_dialog.h"

#include <algorithm>
#include <cstring>

#include "astro/numerical_error.h"
#include "catalogue/estimate_string.h"
#include "catalogue/star_identification.h"
#include "platform/message_box.h"
#include "session/session_data.h"
#include "session/session_snapshot.h"

using namespace star_dialog;

namespace {

constexpr const char* kCaption = "Star measurement";
constexpr std::size_t kFieldLimit[3] = {9, 5, 6};

// The list when the candidates cannot be tried: by brightness, without the
// st.dev column.
CandidateRanking RankByBrightness(const SessionData& session, const std::vector<CatStar>& candidates) {
    CandidateRanking out;
    std::vector<bool> known;
    for (const CatStar& c : candidates) {
        out.lines.push_back(c.MakeListBoxShortText());
        known.push_back(session.ExistStar(c.name) != 0);
    }
    static_cast<CandidateChoice&>(out) = ChooseByBrightness(candidates, known);
    return out;
}

}  // namespace

StarDialog::StarDialog(SessionData& session, MeteorImage& image, int column, int row, MessageBoxService& messages,
                       StarSearchSettings settings)
    : MeasureDialog(session, image, column, row, -1), messages_(messages), settings_(std::move(settings)) {
    default_button_ = FailedDefault();
}

// Below 3 visible stars Enter searches; from 3 on a click has searched
// already and Enter takes the preselected star. Hidden stars give no plate
// solution, so they do not count.
int StarDialog::FailedDefault() const { return session_.Visible() < 3 ? kSearchButton : kOkButton; }

void StarDialog::EditField(StarField f, const std::string& text) {
    const int k = static_cast<int>(f);
    fields_[k] = text.substr(0, kFieldLimit[k]);
    modified_[k] = true;
    if (list_valid_) {
        // The list no longer answers what the fields ask.
        list_valid_ = false;
        default_button_ = kSearchButton;
    }
}

void StarDialog::Search() {
    if (finished()) return;
    const int name = static_cast<int>(StarField::Name);
    const int ra = static_cast<int>(StarField::RA);
    const int de = static_cast<int>(StarField::DE);
    if (modified_[name] && !fields_[name].empty()) {
        catalogue_.emplace(settings_.files, fields_[name].c_str(), settings_.radius);
        fields_[ra].clear();
        fields_[de].clear();
        modified_[ra] = modified_[de] = false;
    } else if ((modified_[ra] || modified_[de]) && !fields_[ra].empty() && !fields_[de].empty()) {
        catalogue_.emplace(settings_.files, fCnvEstStr(fields_[ra].c_str()), fCnvEstStr(fields_[de].c_str()),
                           settings_.radius, settings_.limit);
        fields_[name].clear();
        modified_[name] = false;
    } else {
        return;
    }
    InitCtlg();
}

void StarDialog::Return() {
    if (default_button_ == kOkButton) Ok();
    else Search();
}

void StarDialog::SelectLine(int line) {
    selected_ = line >= 0 && static_cast<std::size_t>(line) < lines_.size() ? line : -1;
}

void StarDialog::DoubleClickLine(int line) {
    SelectLine(line);
    Ok();
}

const CatStar* StarDialog::candidate(int line) const {
    if (!catalogue_ || line < 0 || static_cast<std::size_t>(line) >= catalogue_->candidates.size()) return nullptr;
    return &catalogue_->candidates[line];
}

void StarDialog::ProcessPosition() {
    // While the list is valid a click only moves the measured position.
    if (session_.Visible() < 3 || list_valid_) return;
    // A plate solution of exactly 3 stars may fix the plate centre on the
    // way; the dialog leaves the session as it found it.
    const SessionSnapshot before(session_);
    float ra = 0.0f, de = 0.0f;
    try {
        session_.EstimateRADE(position_.x, position_.y, ra, de);
    } catch (const NumericalError& e) {
        before.Restore(session_);
        Warn(e.what(), kCaption);
        return;
    }
    before.Restore(session_);
    catalogue_.emplace(settings_.files, ra, de, settings_.radius, settings_.limit);
    InitCtlg();
    PutPreselectFirst();
}

void StarDialog::PutPreselectFirst() {
    if (!settings_.preselect || !list_valid_) return;
    const CatStar& want = *settings_.preselect;
    std::vector<CatStar>& candidates = catalogue_->candidates;
    auto same = [&want](const CatStar& c) {
        return std::strcmp(c.name, want.name) == 0 && c.ra == want.ra && c.de == want.de;
    };
    const auto found = std::find_if(candidates.begin(), candidates.end(), same);
    if (found == candidates.end()) {
        // Beyond the search radius round the click: listed all the same.
        candidates.insert(candidates.begin(), want);
        lines_.insert(lines_.begin(), want.MakeListBoxShortText());
        catalogue_->count = static_cast<int>(candidates.size());
    } else {
        const auto i = found - candidates.begin();
        std::rotate(candidates.begin(), found, found + 1);
        if (static_cast<std::size_t>(i) < lines_.size())
            std::rotate(lines_.begin(), lines_.begin() + i, lines_.begin() + i + 1);
    }
    selected_ = 0;
}

void StarDialog::ListFailed() {
    lines_.clear();
    selected_ = -1;
    list_valid_ = false;
    default_button_ = FailedDefault();
}

void StarDialog::InitCtlg() {
    if (catalogue_->status != SkyCatStatus::Found) {
        const SkyCatMessage m = SkyCatStatusMessage(catalogue_->status);
        messages_.Show(m.text, m.caption, MbButtons::Ok, MbIcon::None);
        ListFailed();
        return;
    }
    list_valid_ = true;
    modified_[0] = modified_[1] = modified_[2] = false;
    default_button_ = kOkButton;

    const std::vector<CatStar>& candidates = catalogue_->candidates;
    CandidateRanking ranking;
    const SessionSnapshot before(session_);
    if (session_.Visible() >= 3 && !measured_) {
        // Nothing measured yet: there is no position to try the candidates at.
        ranking = RankByBrightness(session_, candidates);
    } else {
        try {
            ranking = RankCandidates(session_, candidates, position_.x, position_.y);
        } catch (const NumericalError& e) {
            // The stars cannot be fitted with the candidates; the observer
            // can still choose by brightness.
            before.Restore(session_);
            Warn(e.what(), kCaption);
            ranking = RankByBrightness(session_, candidates);
        }
    }
    // The trials end with a recomputation, which can move the plate centre.
    before.Restore(session_);
    lines_ = std::move(ranking.lines);
    selected_ = ranking.selected;
    if (!ranking.warning.empty()) Warn(ranking.warning, ranking.warning_caption);
}

void StarDialog::Warn(const std::string& text, const std::string& caption) {
    messages_.Show(text, caption, MbButtons::Ok, MbIcon::Exclamation);
}

bool StarDialog::CanClose() {
    const CatStar* c = candidate(selected_);
    if (!measured_ || c == nullptr) return false;
    if (session_.ExistStar(c->name) != 0 &&
        messages_.Show("Star was identified before.\n Continue?", kCaption, MbButtons::YesNo,
                       MbIcon::Exclamation) != MbAnswer::Yes) {
        return false;
    }
    try {
        session_.AddStar(Star(*c, position_.x, position_.y), 1);
    } catch (const NumericalError& e) {
        // The star is in the session; only its recomputation failed. The
        // dialog closes so that a second OK cannot add it twice.
        Warn(e.what(), kCaption);
    }
    return true;
}

std::vector<ListCell> CandidateCells(const std::string& line) {
    std::vector<ListCell> cells;
    std::size_t start = 0;
    for (int k = 0;; ++k) {
        const std::size_t tab = line.find('\t', start);
        const int x = k == 0 ? 0 : kCandidateTabStops[std::min(k - 1, 3)];
        cells.push_back({line.substr(start, tab == std::string::npos ? std::string::npos : tab - start), x});
        if (tab == std::string::npos) return cells;
        start = tab + 1;
    }
}
