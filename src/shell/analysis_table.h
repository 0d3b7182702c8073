#pragma once
// The analysis view's table: its row texts, built from the reduction report,
// its tab stops, its scrolling and everything it draws, as plain values.
// The window keeps an AnalysisTable between paints (rebuilt only when
// sf.recalc is set), asks for the scroll state on every resize and paint,
// and draws the AnalysisText items it gets, each right-aligned so that it
// ends at its x.
//
// Every line is tab-separated; the text before its first tab is empty. A
// star row is the star's Analysis text (name in its first nine characters,
// then magnitude, catalogue RA and DE, mean x and y) followed by the
// residual columns and the columns of the reduction with that star's hidden
// state reversed.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "shell/display_pick.h"
#include "platform/rgb.h"

class SessionData;
struct ReductionReport;

inline constexpr int kAnalysisBodyTop = 40;  // y of the first star row
inline constexpr int kAnalysisHeaderTop = 3;
inline constexpr int kAnalysisNameRight = 82;  // the star name ends here
inline constexpr int kAnalysisStarRight = 65;  // "Star" ends here
inline constexpr int kAnalysisPageRows = 5;    // the scroll bar's page step
inline constexpr const char* kAnalysisHeader1 = "\t\t\t\t\t\t\tindividual O-C\toverall";
inline constexpr const char* kAnalysisHeader2 =
    "\tMv\tRA       \tDE     \tX    \tY    \tRA \tDE \tst.dev\tsurr.";
inline constexpr const char* kAnalysisFooterLabel = "individual O-C st.dev:";

// The cached texts: one row per star and the footer row.
struct AnalysisTable {
    std::vector<std::string> rows;  // star i
    std::string footer;             // "\t%4.0f.\t%4.0f." of the RMS residuals
    // The solver's text when the visible stars allow no plate solution (the
    // residual columns then show 0); empty otherwise.
    std::string failure;
};

// The rows of a reduction report. A hidden star's residual columns are
// empty; a reversed computation that cannot run shows "-" as its st.dev.
AnalysisTable MakeAnalysisTable(const SessionData& session, const ReductionReport& report);
// ReduceStars and MakeAnalysisTable: the rebuild of a paint with sf.recalc
// set. Updates the session's surround and sd as the reduction does.
AnalysisTable RebuildAnalysisTable(SessionData& session);

// The vertical scroll bar (UpdateScrollBar). fit rows fit below the
// headers; when the stars need more, the bar stands at the right edge from
// y = 40, fit rows high, over the range 0 .. nstar - fit.
struct AnalysisScroll {
    bool shown = false;
    CanvasRect bar;     // 0 x 0 when not shown
    int fit = 0;        // rows that fit, never below 0
    int range_max = 0;  // the bar's range is 0 .. range_max
    int position = 0;   // the bar's position, held within its range
    int first_row = 0;  // FirstRow: the rows FirstRow .. EndRow - 1 are shown
    int end_row = 0;    // EndRow
    bool operator==(const AnalysisScroll&) const = default;
};
AnalysisScroll UpdateScrollBar(int client_width, int client_height, int line_height, int scroll_width,
                               int nstar, int position);

// The ten tab stops and OcLeft (stop 5, the left edge of the residual
// columns). W is the client width less the scroll bar when it shows; extra
// width beyond 635 pixels is spread over the columns in steps of
// e = (W - 635) / 11. The tenth stop is the client width.
struct AnalysisTabs {
    std::array<int, 10> stops{};
    int oc_left = 0;
    int clip_width = 0;  // W: nothing is drawn under the scroll bar
    bool operator==(const AnalysisTabs&) const = default;
};
AnalysisTabs AnalysisTabStops(int client_width, int scroll_width, bool scroll_shown);

// One tab-separated segment of a line: the text ends at right.
struct TabbedSegment {
    std::string text;
    int right = 0;
    bool operator==(const TabbedSegment&) const = default;
};
// The segments of a line drawn from x = origin with the given stops: the
// text before the first tab ends at origin, the text after tab k at stop k.
// Text after the last stop lies beyond the pane's right edge and is left
// out, as are empty segments.
std::vector<TabbedSegment> TabbedSegments(std::string_view line, int origin, const int* stops, int nstops);

enum class AnalysisInk {
    Normal,    // the system's window text on the window colour
    Hidden,    // the system's grey text: a hidden star
    Selected,  // white on red (255, 0, 0): the selected star
};
inline constexpr Rgb kAnalysisSelectedText{255, 255, 255};
inline constexpr Rgb kAnalysisSelectedBackground{255, 0, 0};

// A text to draw right-aligned: it ends at x, its top at y.
struct AnalysisText {
    int x = 0;
    int y = 0;
    std::string text;
    AnalysisInk ink = AnalysisInk::Normal;
    bool operator==(const AnalysisText&) const = default;
};

// Everything Paint draws, in order: the two header lines with "Star", the
// visible star rows with their names, the footer values under the residual
// columns and the footer label ending at OcLeft. Hidden states and the
// selection are read now, the texts come from the cache.
std::vector<AnalysisText> AnalysisPaintItems(const AnalysisTable& table, const SessionData& session,
                                             const AnalysisScroll& scroll, const AnalysisTabs& tabs,
                                             int line_height, int iselect);

// The star row under pane y, or -1 for the headers and below the last row
// shown.
int AnalysisRowAt(int y, int line_height, const AnalysisScroll& scroll);

// The selection band of a row: the full width, one line high.
CanvasRect AnalysisRowBand(int row, int line_height, const AnalysisScroll& scroll, int client_width);

// A right click at pane y: the menu and the new selection. Over a star row:
// "Analysisustar" (hide, switch, delete) for a star in use, "Analysishstar"
// for a hidden one; elsewhere "Analysisclient" and no selection.
struct AnalysisContext {
    PopupMenu menu = PopupMenu::Analysisclient;
    int iselect = -1;
};
AnalysisContext ChooseAnalysisContext(const SessionData& session, int y, int line_height,
                                      const AnalysisScroll& scroll);
