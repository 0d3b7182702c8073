#include "shell/recovery_file.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "files/session_file.h"
#include "image/fake_image.h"

namespace {

constexpr std::string_view kHeading = "Velkarn recovery 1";
constexpr std::string_view kHeadingWords = "\nVelkarn recovery ";

// --- Writing ---

void PutNumber(std::string& out, float v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out += ' ';
    out.append(buf, r.ptr);
}

void PutInteger(std::string& out, long long v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out += ' ';
    out.append(buf, r.ptr);
}

void PutText(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += " =";
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b > ' ' && b <= '~' && b != '%') {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
}

// The texts of the exposure record in the order of the exposure line.
template <class Record, class Visit>
void ForEachText(Record& d, Visit&& visit) {
    visit(d.station);
    visit(d.image);
    visit(d.meteor);
    visit(d.year);
    visit(d.month);
    visit(d.day);
    visit(d.hour);
    visit(d.minute);
    visit(d.second);
    visit(d.refhour);
    visit(d.refminute);
    visit(d.refsecond);
    visit(d.objective);
    visit(d.shutter);
    visit(d.customshutter);
}

void PutMeasurements(std::string& out, const std::vector<float>& x, const std::vector<float>& y, int nrep) {
    PutInteger(out, nrep);
    for (int j = 0; j <= nrep; ++j) {
        PutNumber(out, x[j]);
        PutNumber(out, y[j]);
    }
}

// --- Reading ---

[[noreturn]] void Fail(const std::string& what) { throw RecoveryFileError("the recovery copy " + what); }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The words of one line, separated by single blanks.
class Words {
public:
    Words(std::string_view line, std::string_view keyword) : line_(line) {
        if (Next("keyword") != keyword) Fail("has no " + std::string(keyword) + " line where one belongs");
    }
    bool Done() const { return pos_ >= line_.size(); }
    std::string_view Next(const char* what) {
        if (Done()) Fail(std::string("line ends before its ") + what);
        const std::size_t end = std::min(line_.find(' ', pos_), line_.size());
        const std::string_view w = line_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (w.empty()) Fail(std::string("has an empty word for ") + what);
        return w;
    }
    float Number(const char* what) {
        const std::string_view w = Next(what);
        float v = 0.0f;
        const auto r = std::from_chars(w.data(), w.data() + w.size(), v);
        if (r.ec != std::errc() || r.ptr != w.data() + w.size()) Fail(std::string("holds no number for ") + what);
        return v;
    }
    float Position(const char* what) {
        const float v = Number(what);
        if (!std::isfinite(v)) Fail(std::string("holds no position for ") + what);
        return v;
    }
    long long Integer(const char* what, long long lo, long long hi) {
        const std::string_view w = Next(what);
        long long v = 0;
        const auto r = std::from_chars(w.data(), w.data() + w.size(), v);
        if (r.ec != std::errc() || r.ptr != w.data() + w.size() || v < lo || v > hi) {
            Fail(std::string("holds no valid ") + what);
        }
        return v;
    }
    std::string Text(const char* what) {
        const std::string_view w = Next(what);
        if (w[0] != '=') Fail(std::string("holds no text for ") + what);
        std::string t;
        for (std::size_t i = 1; i < w.size(); ++i) {
            if (w[i] != '%') {
                t += w[i];
                continue;
            }
            const int hi = i + 2 < w.size() ? HexDigit(w[i + 1]) : -1;
            const int lo = hi >= 0 ? HexDigit(w[i + 2]) : -1;
            if (lo < 0) Fail(std::string("holds a broken text for ") + what);
            t += static_cast<char>(hi * 16 + lo);
            i += 2;
        }
        return t;
    }
    // A text into a field of the records, which it must fit whole.
    template <std::size_t N>
    void TextInto(char (&field)[N], const char* what) {
        const std::string t = Text(what);
        if (t.size() >= N || t.find('\0') != std::string::npos) Fail(std::string("holds too long a text for ") + what);
        t.copy(field, t.size());
        field[t.size()] = '\0';
    }
    void End() {
        if (!Done()) Fail("has more on a line than belongs there");
    }

private:
    std::string_view line_;
    std::size_t pos_ = 0;
};

class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool Done() const { return pos_ >= text_.size(); }
    std::string_view Next() {
        if (Done()) Fail("ends before its end line");
        const std::size_t end = std::min(text_.find('\n', pos_), text_.size());
        const std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        return line;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

constexpr long long kMaxCount = 1 << 30;

template <class Record>
void ReadMeasurements(Words& w, Record& r) {
    r.nrep = static_cast<int>(w.Integer("replay count", 0, kMaxCount));
    r.x.clear();
    r.y.clear();
    for (int j = 0; j <= r.nrep; ++j) {
        r.x.push_back(w.Position("a measurement"));
        r.y.push_back(w.Position("a measurement"));
    }
    w.End();
}

Star ReadStar(std::string_view line) {
    Words w(line, "star");
    Star s;
    w.TextInto(s.name, "star name");
    s.mag = w.Number("magnitude");
    s.ra = w.Number("right ascension");
    s.pmra = w.Number("proper motion");
    s.raobs = w.Number("right ascension");
    s.de = w.Number("declination");
    s.pmde = w.Number("proper motion");
    s.deobs = w.Number("declination");
    s.hidden = static_cast<int>(w.Integer("hidden mark", 0, 1));
    ReadMeasurements(w, s);
    return s;
}

Meteor ReadMeteor(std::string_view line) {
    Words w(line, "meteor");
    Meteor m;
    w.TextInto(m.label, "label");
    m.frame = static_cast<int>(w.Integer("frame", INT32_MIN, INT32_MAX));
    ReadMeasurements(w, m);
    return m;
}

RecoveryImage ReadImage(Lines& lines) {
    RecoveryImage image;
    Words path(lines.Next(), "image");
    image.path = path.Text("image path");
    path.End();
    Words w(lines.Next(), "source");
    image.type = static_cast<int>(w.Integer("image type", 0, 0xFFFF));
    image.width = static_cast<int>(w.Integer("image width", 0, kMaxBlankSide));
    image.height = static_cast<int>(w.Integer("image height", 0, kMaxBlankSide));
    image.pcd_resolution = static_cast<int>(w.Integer("Photo CD resolution", 0, 5));
    w.End();
    return image;
}

}  // namespace

std::string RecoveryText(const SessionData& s, const RecoveryImage& image) {
    std::string out = session_file::SessionFileText(s);
    out.reserve(2 * out.size() + 1024);
    out += '\n';
    out += kHeading;
    out += "\nimage";
    PutText(out, image.path);
    out += "\nsource";
    for (const int v : {image.type, image.width, image.height, image.pcd_resolution}) PutInteger(out, v);
    out += "\nsession";
    for (const unsigned int v : {s.nstar, s.nhide, s.nmet, s.nreplay, s.mstart}) PutInteger(out, v);
    PutInteger(out, s.order);
    for (const float v : {s.surround, s.sd, s.x0, s.y0, s.racen, s.decen}) PutNumber(out, v);

    const DialogData& d = SessionData::dlgdat;
    out += "\nexposure";
    PutInteger(out, d.astrometry);
    PutInteger(out, d.status);
    ForEachText(d, [&out](const auto& field) { PutText(out, std::string_view(field, strnlen(field, sizeof field))); });

    for (const Star& st : s.stars) {
        out += "\nstar";
        PutText(out, std::string_view(st.name, strnlen(st.name, sizeof st.name)));
        for (const float v : {st.mag, st.ra, st.pmra, st.raobs, st.de, st.pmde, st.deobs}) PutNumber(out, v);
        PutInteger(out, st.hidden);
        PutMeasurements(out, st.x, st.y, st.nrep);
    }
    for (const Meteor& m : s.meteors) {
        out += "\nmeteor";
        PutText(out, std::string_view(m.label, strnlen(m.label, sizeof m.label)));
        PutInteger(out, m.frame);
        PutMeasurements(out, m.x, m.y, m.nrep);
    }
    out += "\nend\n";
    return out;
}

void ReadRecoveryText(const std::string& text, SessionData& session, DialogData& exposure, RecoveryImage& image) {
    if (text.size() > kMaxRecoveryBytes) Fail("is too large to be one");
    const std::size_t at = text.rfind(kHeadingWords);
    if (at == std::string::npos) Fail("holds no recovery section");
    Lines lines(std::string_view(text).substr(at + 1));
    if (lines.Next() != kHeading) Fail("is of another version");

    const RecoveryImage img = ReadImage(lines);

    Words c(lines.Next(), "session");
    const auto nstar = static_cast<unsigned int>(c.Integer("star count", 0, kMaxCount));
    const auto nhide = static_cast<unsigned int>(c.Integer("hidden count", 0, kMaxCount));
    const auto nmet = static_cast<unsigned int>(c.Integer("point count", 0, kMaxCount));
    const auto nreplay = static_cast<unsigned int>(c.Integer("replay count", 0, kMaxCount));
    const auto mstart = static_cast<unsigned int>(c.Integer("prediction start", 0, kMaxCount));
    const int order = static_cast<int>(c.Integer("order", 1, 3));
    float numbers[6];
    for (float& v : numbers) v = c.Number("plate value");
    c.End();

    DialogData d;
    Words e(lines.Next(), "exposure");
    d.astrometry = static_cast<std::int32_t>(e.Integer("astrometry", 0, 1));
    d.status = static_cast<std::int32_t>(e.Integer("exposure status", INT32_MIN, INT32_MAX));
    ForEachText(d, [&e](auto& field) { e.TextInto(field, "exposure text"); });
    e.End();

    std::vector<Star> stars;
    std::vector<Meteor> meteors;
    for (std::string_view line = lines.Next(); line != "end"; line = lines.Next()) {
        if (line.substr(0, 5) == "star " && meteors.empty()) {
            stars.push_back(ReadStar(line));
        } else {
            meteors.push_back(ReadMeteor(line));
        }
    }
    if (!lines.Done() && lines.Next() != "") Fail("goes on after its end line");
    unsigned int hidden = 0;
    for (const Star& s : stars) hidden += s.hidden != 0;
    if (stars.size() != nstar || meteors.size() != nmet || hidden != nhide || mstart > nmet) {
        Fail("does not hold the records its counts give");
    }

    session.nstar = nstar;
    session.nhide = nhide;
    session.nmet = nmet;
    session.nreplay = nreplay;
    session.mstart = mstart;
    session.order = order;
    session.surround = numbers[0];
    session.sd = numbers[1];
    session.x0 = numbers[2];
    session.y0 = numbers[3];
    session.racen = numbers[4];
    session.decen = numbers[5];
    session.stars = std::move(stars);
    session.meteors = std::move(meteors);
    exposure = d;
    image = img;
}
