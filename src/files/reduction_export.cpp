#include "files/reduction_export.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "astro/numerical_error.h"
#include "files/json_writer.h"
#include "image/meteor_image.h"
#include "platform/c_locale.h"
#include "session/session_data.h"

namespace {

std::string TrimRight(const char* text) {
    std::string s(text);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::string Trim(const char* text) {
    std::string s = TrimRight(text);
    s.erase(0, s.find_first_not_of(' '));
    return s;
}

// A float as the decimal it was read from or printed as, not its binary
// expansion (1.79, not 1.789999962).
double Decimal(float v) {
    char buf[32];
    CNumericLocale c_numbers;
    std::snprintf(buf, sizeof buf, "%.7g", v);
    return std::strtod(buf, nullptr);
}

std::vector<std::string> SplitTabs(const std::string& s) {
    std::vector<std::string> out;
    std::string field;
    std::istringstream in(s);
    while (std::getline(in, field, '\t')) out.push_back(field);
    return out;
}

// Every number of a star row, point row and the summary, in the units of
// the report; NaN where the number does not exist. Both writers take them
// from here, so that the two files never disagree.
struct StarNumbers {
    double mag, ra, de, x, y, oc_ra, oc_de, sd_reversed, surround_reversed;
};

StarNumbers NumbersOf(const ReductionExport& r, const ReportStarRow& row) {
    const bool residuals = !row.star->hidden && r.rms_ra;
    return {Decimal(row.star->mag),
            Decimal(row.star->ra),
            Decimal(row.star->de),
            Decimal(row.x),
            Decimal(row.y),
            residuals ? row.numbers.dra * 3600.0 : NAN,
            residuals ? row.numbers.dde * 3600.0 : NAN,
            row.numbers.sd_reversed ? *row.numbers.sd_reversed * 3600.0 : NAN,
            row.numbers.surround_reversed};
}

struct PointNumbers {
    double x, y, ra, de;
};

PointNumbers PointOf(const ReductionExport& r, const SessionData& s, unsigned int i) {
    return {Decimal(s.fxmet(static_cast<int>(i))), Decimal(s.fymet(static_cast<int>(i))),
            r.positions ? Hours24(r.path.ra[i]) : NAN, r.positions ? r.path.de[i] : NAN};
}

struct Quantity {
    const char* key;
    double value;
};

std::vector<Quantity> Summary(const ReductionExport& r, const SessionData& s) {
    return {{"sd_arcsec", r.rms_ra ? s.sd * 3600.0 : NAN},
            {"rms_ra_arcsec", r.rms_ra ? *r.rms_ra * 3600.0 : NAN},
            {"rms_de_arcsec", r.rms_de ? *r.rms_de * 3600.0 : NAN},
            {"surround_percent", s.surround}};
}

std::vector<Quantity> Trajectory(const ReductionExport& r) {
    return {{"begin_ra_degrees", r.log.rab},
            {"begin_de_degrees", r.log.deb},
            {"end_ra_degrees", r.log.rae},
            {"end_de_degrees", r.log.dee},
            {"velocity_degrees_per_second", r.log.w},
            {"velocity_error_degrees_per_second", r.log.dw}};
}

// --- CSV ---

class CsvLine {
public:
    explicit CsvLine(std::string& out) : out_(out) {}
    ~CsvLine() { out_ += '\n'; }
    CsvLine& Text(std::string_view text) {
        Separate();
        if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
            out_ += text;
            return *this;
        }
        out_ += '"';
        for (const char c : text) {
            if (c == '"') out_ += '"';
            out_ += c;
        }
        out_ += '"';
        return *this;
    }
    CsvLine& Number(double v) {
        Separate();
        if (std::isfinite(v)) out_ += JsonWriter::Number(v);
        return *this;
    }

private:
    void Separate() {
        if (!first_) out_ += ',';
        first_ = false;
    }
    std::string& out_;
    bool first_ = true;
};

}  // namespace

double Hours24(double h) {
    h = std::fmod(h, 24.0);
    return h < 0 ? h + 24 : h;
}

ReductionExport MakeReductionExport(SessionData& s, std::string file, int kind, int width, int height) {
    ReductionExport r;
    r.file = std::move(file);
    r.kind = kind;
    r.width = width;
    r.height = height;
    const ReductionReport reduction = ReduceStars(s);
    if (!reduction.failure.empty()) throw NumericalError(reduction.failure);
    if (reduction.solved) {
        r.rms_ra = reduction.rms_ra;
        r.rms_de = reduction.rms_de;
    }
    for (unsigned int i = 0; i < s.nstar; ++i) {
        ReportStarRow row;
        row.fields = SplitTabs(s.Analysis(static_cast<int>(i)));
        row.fields.resize(6);
        row.star = &s.stars[i];
        row.x = s.fxstr(static_cast<int>(i));
        row.y = s.fystr(static_cast<int>(i));
        row.numbers = reduction.stars[i];
        r.stars.push_back(std::move(row));
    }
    r.positions = ComputeMeteorPositions(s, r.path);
    r.trajectory = ComputeMeteorPath(s, r.path);
    if (r.trajectory) r.log = MakeLogEntry(r.path, s.sd, s.surround);
    return r;
}

std::string ReductionJson(const ReductionExport& r, const SessionData& s, const DialogData& d) {
    JsonWriter j;
    j.BeginObject();
    j.Value("file", r.file);
    j.BeginObject("exposure");
    j.Value("station", TrimRight(d.station));
    j.Value("image", d.image);
    j.Value("meteor", d.meteor);
    j.Value("year", d.year);
    j.Value("month", d.month);
    j.Value("day", d.day);
    j.Value("time", Trim(d.hour) + ":" + d.minute + ":" + d.second);
    j.Value("reference_time", Trim(d.refhour) + ":" + d.refminute + ":" + d.refsecond);
    j.Value("objective", TrimRight(d.objective));
    j.Value("shutter", d.shutter);
    j.Value("astrometry", d.astrometry ? "Turner" : "Redsky");
    j.EndObject();
    j.BeginObject("image");
    j.Value("kind", r.kind);
    j.Value("video", (r.kind & ImageType::Frames) != 0);
    j.Value("width", r.width);
    j.Value("height", r.height);
    j.EndObject();
    j.Value("order", s.order);
    j.Value("replays", s.nreplay);
    for (const Quantity& q : Summary(r, s)) j.Value(q.key, q.value);
    j.BeginArray("stars");
    for (const ReportStarRow& row : r.stars) {
        const StarNumbers n = NumbersOf(r, row);
        j.BeginObject();
        j.Value("name", TrimRight(row.star->name));
        j.Value("mag", n.mag);
        j.Value("ra_hours", n.ra);
        j.Value("de_degrees", n.de);
        j.Value("x_mm", n.x);
        j.Value("y_mm", n.y);
        j.Value("hidden", row.star->hidden != 0);
        j.Value("oc_ra_arcsec", n.oc_ra);
        j.Value("oc_de_arcsec", n.oc_de);
        j.Value("sd_reversed_arcsec", n.sd_reversed);
        j.Value("surround_reversed_percent", n.surround_reversed);
        j.EndObject();
    }
    j.EndArray();
    j.BeginArray("meteor_points");
    for (unsigned int i = 0; i < s.nmet; ++i) {
        const Meteor& m = s.meteors[i];
        const PointNumbers p = PointOf(r, s, i);
        j.BeginObject();
        j.Value("label", TrimRight(m.label));
        j.Value("frame", m.frame);
        j.Value("x_mm", p.x);
        j.Value("y_mm", p.y);
        j.Value("ra_hours", p.ra);
        j.Value("de_degrees", p.de);
        j.EndObject();
    }
    j.EndArray();
    if (r.trajectory) {
        j.BeginObject("trajectory");
        for (const Quantity& q : Trajectory(r)) j.Value(q.key, q.value);
        j.EndObject();
    } else {
        j.Value("trajectory", NAN);
    }
    j.EndObject();
    return j.str();
}

std::string ReductionCsv(const ReductionExport& r, const SessionData& s) {
    std::string out;
    {
        CsvLine h(out);
        for (const char* k : {"star", "mag", "ra_hours", "de_degrees", "x_mm", "y_mm", "hidden", "oc_ra_arcsec",
                              "oc_de_arcsec", "sd_reversed_arcsec", "surround_reversed_percent"})
            h.Text(k);
    }
    for (const ReportStarRow& row : r.stars) {
        const StarNumbers n = NumbersOf(r, row);
        CsvLine l(out);
        l.Text(TrimRight(row.star->name)).Number(n.mag).Number(n.ra).Number(n.de).Number(n.x).Number(n.y);
        l.Text(row.star->hidden ? "1" : "0").Number(n.oc_ra).Number(n.oc_de).Number(n.sd_reversed);
        l.Number(n.surround_reversed);
    }
    out += '\n';
    {
        CsvLine h(out);
        for (const char* k : {"point", "label", "frame", "x_mm", "y_mm", "ra_hours", "de_degrees"}) h.Text(k);
    }
    for (unsigned int i = 0; i < s.nmet; ++i) {
        const PointNumbers p = PointOf(r, s, i);
        CsvLine l(out);
        l.Text(std::to_string(i + 1)).Text(TrimRight(s.meteors[i].label)).Text(std::to_string(s.meteors[i].frame));
        l.Number(p.x).Number(p.y).Number(p.ra).Number(p.de);
    }
    out += '\n';
    CsvLine(out).Text("quantity").Text("value");
    CsvLine(out).Text("order").Text(std::to_string(s.order));
    CsvLine(out).Text("replays").Text(std::to_string(s.nreplay));
    for (const Quantity& q : Summary(r, s)) CsvLine(out).Text(q.key).Number(q.value);
    // Without a great circle its lines stay, empty, so that every report
    // has the same lines.
    for (const Quantity& q : Trajectory(r)) CsvLine(out).Text(q.key).Number(r.trajectory ? q.value : NAN);
    return out;
}
