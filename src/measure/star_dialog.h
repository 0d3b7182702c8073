#pragma once
// The star dialog without its window: the observer clicks a star's centre
// in the magnifier and identifies it in the sky catalogue; OK adds it to
// the session with AddStar.
//
// Below 3 visible stars there is no plate solution: the observer types a
// Flamsteed name or an approximate position and searches, and the brightest
// candidate not yet in the session is preselected. From 3 visible stars on,
// a click searches round the position the plate solution gives for it, each
// candidate is tried in the reduction and the one that fits best is
// preselected. Trying candidates leaves the session exactly as it was.
//
// The observer's edits arrive through EditField (a text set by the dialog
// itself is no edit); the dialog's own changes to the fields are read back
// with field() after every event.
#include <optional>
#include <string>
#include <vector>

#include "catalogue/sky_cat.h"
#include "measure/measure_dialog.h"

class MessageBoxService;

// The dialog's controls, as the "STAR_DIALOG" resource numbers them.
namespace star_dialog {
constexpr int kNameField = 171;
constexpr int kRaField = 172;
constexpr int kDeField = 173;
constexpr int kCandidateList = 174;
constexpr int kSearchButton = 175;
constexpr int kOkButton = 176;
constexpr int kReturn = 181;  // the invisible default button: Enter
}  // namespace star_dialog

enum class StarField { Name, RA, DE };

// The catalogue and the search settings (radius in degrees, limiting
// magnitude) the searches use.
struct StarSearchSettings {
    CatalogueFiles files;
    float radius = 0.5f;
    float limit = 8.0f;
    // A star the observer picked on the catalogue overlay: the search round
    // the click lists it first, selected.
    std::optional<CatStar> preselect;
};

class StarDialog : public MeasureDialog {
public:
    StarDialog(SessionData& session, MeteorImage& image, int column, int row, MessageBoxService& messages,
               StarSearchSettings settings);
    bool MeasuresStars() const override { return true; }

    // The observer changed a field's text (cut to the field's limit: 9, 5
    // and 6 characters).
    void EditField(StarField field, const std::string& text);
    // Search: by name when the name was edited since the last search, else
    // by position when RA or DE was edited and both hold text.
    void Search();
    // Enter: OK when OK is the default button, else Search.
    void Return();
    // A line of the candidate list was selected (-1: none).
    void SelectLine(int line);
    // A double click on a line: selects it and acts as OK.
    void DoubleClickLine(int line);

    const std::string& field(StarField f) const { return fields_[static_cast<int>(f)]; }
    // One line per candidate: name, magnitude, RA, DE and, when candidates
    // were tried, st.dev, separated by tabs (see CandidateTabStops).
    const std::vector<std::string>& lines() const { return lines_; }
    int selected() const { return selected_; }
    // star_dialog::kSearchButton or star_dialog::kOkButton.
    int default_button() const { return default_button_; }
    bool list_valid() const { return list_valid_; }
    // The candidate of a line (nullptr when there is none).
    const CatStar* candidate(int line) const;

protected:
    void ProcessPosition() override;
    bool CanClose() override;

private:
    void InitCtlg();
    void PutPreselectFirst();
    void ListFailed();
    void Warn(const std::string& text, const std::string& caption);
    int FailedDefault() const;

    MessageBoxService& messages_;
    StarSearchSettings settings_;
    std::string fields_[3];
    bool modified_[3] = {false, false, false};
    bool list_valid_ = false;
    int default_button_;
    std::optional<SkyCat> catalogue_;
    std::vector<std::string> lines_;
    int selected_ = -1;
};

// The candidate list's tab stops and its column heads, dialog units from
// the dialog's left edge for the heads and from the list's left edge for
// the stops.
inline constexpr int kCandidateTabStops[4] = {44, 59, 85, 109};
struct CandidateColumnHead {
    const char* text;
    int x;
};
inline constexpr CandidateColumnHead kCandidateHeads[5] = {
    {"Name", 166}, {"Mv", 205}, {"RA", 227}, {"DE", 252}, {"st.dev", 270}};
inline constexpr int kCandidateHeadsY = 63;

// A list line cut at its tabs: cell k starts at the list's left edge for
// k = 0, else at tab stop k - 1 (dialog units).
struct ListCell {
    std::string text;
    int x = 0;
    bool operator==(const ListCell&) const = default;
};
std::vector<ListCell> CandidateCells(const std::string& line);
