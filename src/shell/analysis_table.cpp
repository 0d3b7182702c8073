#include "shell/analysis_table.h"

#include <algorithm>
#include <cstdio>

#include "session/reduction_report.h"
#include "session/session_data.h"

namespace {

constexpr std::size_t kNameLength = 9;

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, args...);
    return buf;
}

std::string StarRow(const SessionData& session, const ReductionReport& report, unsigned int i) {
    const StarReduction& r = report.stars[i];
    std::string row = session.Analysis(static_cast<int>(i));
    if (session.stars[i].hidden) {
        row += "\t\t";
    } else {
        row += Format("\t%4.0f.\t%4.0f.", PackedResidual(r.dra), PackedResidual(r.dde));
    }
    row += r.sd_reversed ? Format("\t%4.0f.", PackedDeviation(*r.sd_reversed)) : std::string("\t-");
    row += Format("\t%3.0f%%\t\t!", static_cast<double>(r.surround_reversed));
    return row;
}

AnalysisInk InkOf(const SessionData& session, unsigned int i, int iselect) {
    if (static_cast<int>(i) == iselect) return AnalysisInk::Selected;
    return session.stars[i].hidden ? AnalysisInk::Hidden : AnalysisInk::Normal;
}

void AddLine(std::vector<AnalysisText>& out, std::string_view line, int origin, const int* stops, int nstops,
             int y, AnalysisInk ink) {
    for (TabbedSegment& s : TabbedSegments(line, origin, stops, nstops)) {
        out.push_back({s.right, y, std::move(s.text), ink});
    }
}

}  // namespace

AnalysisTable MakeAnalysisTable(const SessionData& session, const ReductionReport& report) {
    AnalysisTable t;
    t.failure = report.failure;
    // Below four visible stars the residuals were not computed and show 0.
    t.footer = Format("\t%4.0f.\t%4.0f.", PackedDeviation(report.rms_ra), PackedDeviation(report.rms_de));
    const unsigned int n = std::min<std::size_t>(session.nstar, report.stars.size());
    t.rows.reserve(n);
    for (unsigned int i = 0; i < n; ++i) t.rows.push_back(StarRow(session, report, i));
    return t;
}

AnalysisTable RebuildAnalysisTable(SessionData& session) {
    const ReductionReport report = ReduceStars(session);
    return MakeAnalysisTable(session, report);
}

AnalysisScroll UpdateScrollBar(int client_width, int client_height, int line_height, int scroll_width,
                               int nstar, int position) {
    AnalysisScroll s;
    const int lh = std::max(line_height, 1);
    // A pane lower than its headers fits no row, never a negative count.
    s.fit = std::max((client_height - kAnalysisBodyTop - 2 * lh) / lh, 0);
    const int over = nstar - s.fit;
    if (over <= 0) {
        s.end_row = nstar;
        return s;
    }
    s.shown = true;
    s.bar = {client_width - scroll_width, kAnalysisBodyTop, scroll_width, s.fit * lh};
    s.range_max = over;
    // After the pane grew, the old position may lie beyond the new range.
    s.position = std::clamp(position, 0, over);
    s.first_row = s.position;
    s.end_row = s.first_row + s.fit;
    return s;
}

AnalysisTabs AnalysisTabStops(int client_width, int scroll_width, bool scroll_shown) {
    AnalysisTabs t;
    const int w = scroll_shown ? client_width - scroll_width : client_width;
    const int e = w > 635 ? (w - 635) / 11 : 0;
    t.stops = {120 + e, 200 + 2 * e, 270 + 3 * e, 335 + 4 * e, 400 + 5 * e,
               450 + 7 * e, 500 + 8 * e, 550 + 10 * e, 600 + 11 * e, client_width};
    t.oc_left = t.stops[4];
    t.clip_width = w;
    return t;
}

std::vector<TabbedSegment> TabbedSegments(std::string_view line, int origin, const int* stops, int nstops) {
    std::vector<TabbedSegment> out;
    int k = 0;  // the segment's number: 0 before the first tab
    std::size_t start = 0;
    while (k <= nstops) {
        const std::size_t tab = line.find('\t', start);
        const std::string_view text = line.substr(start, tab == std::string_view::npos ? tab : tab - start);
        if (!text.empty()) out.push_back({std::string(text), k == 0 ? origin : stops[k - 1]});
        if (tab == std::string_view::npos) break;
        start = tab + 1;
        ++k;
    }
    return out;
}

std::vector<AnalysisText> AnalysisPaintItems(const AnalysisTable& table, const SessionData& session,
                                             const AnalysisScroll& scroll, const AnalysisTabs& tabs,
                                             int line_height, int iselect) {
    std::vector<AnalysisText> out;
    const int* stops = tabs.stops.data();
    AddLine(out, kAnalysisHeader1, 0, stops, 9, kAnalysisHeaderTop, AnalysisInk::Normal);
    AddLine(out, kAnalysisHeader2, 0, stops, 9, kAnalysisHeaderTop + line_height, AnalysisInk::Normal);
    out.push_back({kAnalysisStarRight, kAnalysisHeaderTop + line_height, "Star", AnalysisInk::Normal});

    const unsigned int n = std::min<std::size_t>(session.nstar, table.rows.size());
    for (unsigned int i = 0; i < n; ++i) {
        const int row = static_cast<int>(i);
        if (row < scroll.first_row || row >= scroll.end_row) continue;
        const int y = (row - scroll.first_row) * line_height + kAnalysisBodyTop;
        const AnalysisInk ink = InkOf(session, i, iselect);
        const std::string& text = table.rows[i];
        const std::size_t name_end = std::min(kNameLength, text.size());
        AddLine(out, std::string_view(text).substr(name_end), 0, stops, 10, y, ink);
        out.push_back({kAnalysisNameRight, y, text.substr(0, name_end), ink});
    }

    const int footer_y = (scroll.end_row + 1 - scroll.first_row) * line_height + kAnalysisBodyTop;
    AddLine(out, table.footer, 0, stops + 5, 2, footer_y, AnalysisInk::Normal);
    out.push_back({tabs.oc_left, footer_y, kAnalysisFooterLabel, AnalysisInk::Normal});
    return out;
}

int AnalysisRowAt(int y, int line_height, const AnalysisScroll& scroll) {
    if (y < kAnalysisBodyTop) return -1;
    const int row = (y - kAnalysisBodyTop) / std::max(line_height, 1);
    if (row >= scroll.end_row - scroll.first_row) return -1;
    return row + scroll.first_row;
}

CanvasRect AnalysisRowBand(int row, int line_height, const AnalysisScroll& scroll, int client_width) {
    return {0, (row - scroll.first_row) * line_height + kAnalysisBodyTop, client_width, line_height};
}

AnalysisContext ChooseAnalysisContext(const SessionData& session, int y, int line_height,
                                      const AnalysisScroll& scroll) {
    AnalysisContext c;
    const int row = AnalysisRowAt(y, line_height, scroll);
    if (row < 0 || static_cast<unsigned int>(row) >= session.nstar) return c;
    c.iselect = row;
    c.menu = session.stars[row].hidden ? PopupMenu::Analysishstar : PopupMenu::Analysisustar;
    return c;
}
