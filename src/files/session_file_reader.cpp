// Reading the session file: SessionData::Retrieve.
//
// The file is read column by column as the writer lays it out. Everything is
// parsed into a separate record first and moved into the session only when
// the whole file has been read, so a rejected file changes nothing.

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "astro/astrofun.h"
#include "files/session_file.h"
#include "image/meteor_image.h"
#include "platform/c_locale.h"
#include "platform/message_box.h"
#include "session/fixed_text.h"
#include "session/session_data.h"

namespace session_file {

bool HoldsFrames(const FrameList& f) {
    return std::any_of(f.begin(), f.end(), [](int frame) { return frame != 0; });
}

std::vector<int> RestoreFrames(const FrameList& f, unsigned int n) {
    std::vector<int> frames;
    frames.reserve(n);
    int k = 0;
    int base = 0;
    for (unsigned int i = 0; i < n; ++i) {
        const int b = f[k] + static_cast<int>(i) - base;
        frames.push_back(b);
        if (b == f[k + 1] && k < 13 && f[k + 2] > 0) {
            k += 2;
            base = static_cast<int>(i) + 1;
        }
    }
    return frames;
}

}  // namespace session_file

namespace {

using namespace session_file;

constexpr int kLineLimit = 149;
constexpr int kMaskLineLimit = 80;

// Lines as fgets delivers them: at most limit characters, the line feed
// included when it fits; a longer line goes on in the next read.
class LineReader {
public:
    explicit LineReader(std::FILE* f) : f_(f) {}
    bool Next(std::string& line, int limit = kLineLimit) {
        std::vector<char> buf(limit + 1);
        if (!std::fgets(buf.data(), limit + 1, f_)) return false;
        line = buf.data();
        return true;
    }

private:
    std::FILE* f_;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string WithoutLineEnd(std::string s) {
    if (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
}

// The first run of non-blank characters at or after column col, cut to max.
std::string FirstWord(const std::string& line, std::size_t col, std::size_t max) {
    while (col < line.size() && IsBlank(line[col])) ++col;
    std::size_t end = col;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    if (col >= line.size()) return {};
    return line.substr(col, std::min(end - col, max));
}

// The decimal integer at column col after blanks, up to the first
// non-digit; 0 for a blank or missing field.
int IntegerAt(const std::string& line, std::size_t col) {
    if (col >= line.size()) return 0;
    errno = 0;
    const long v = std::strtol(line.c_str() + col, nullptr, 10);
    if (errno == ERANGE || v > INT_MAX || v < INT_MIN) return 0;
    return static_cast<int>(v);
}

// Up to max numbers in free format from column col.
std::vector<float> NumbersFrom(const std::string& line, std::size_t col, std::size_t max) {
    std::vector<float> v;
    if (col >= line.size()) return v;
    const char* p = line.c_str() + col;
    while (v.size() < max) {
        char* end = nullptr;
        const float x = std::strtof(p, &end);
        if (end == p) break;
        v.push_back(x);
        p = end;
    }
    return v;
}

// A count of the count line; negative or absent counts make no session.
unsigned int Count(const char*& p, const char* what) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(p, &end, 10);
    if (end == p || errno == ERANGE || v < 0 || v > INT_MAX) {
        throw SessionFileError(std::string("the count line has no valid ") + what);
    }
    p = end;
    return static_cast<unsigned int>(v);
}

// Values the writer's fixed columns hold again; anything beyond is damage,
// which would shift the columns of the file written back. Positions are mm
// of a plate at most 400 mm wide.
constexpr float kMaxMillimetres = 1000;
constexpr float kMaxProperMotion = 1000;
constexpr float kMaxMagnitude = 100;
// Frame numbers fill four columns.
constexpr int kMinFrame = -999;
constexpr int kMaxFrame = 9999;

bool Within(float v, float limit) { return std::fabs(v) < limit; }  // false for NaN

// Right ascension (hours) and declination (degrees) on the sky; 24 h comes
// from a packed 23 59 59.96 h rounded to 24 00 00.0.
bool OnTheSky(float ra, float de) { return ra >= 0 && ra <= 24.0001f && de >= -90.0001f && de <= 90.0001f; }

void RequireWithin(bool ok, const char* what) {
    if (!ok) throw SessionFileError(std::string("the file holds ") + what + " out of range");
}

template <std::size_t N>
void PrintInto(char (&field)[N], const char* format, int v) {
    std::snprintf(field, N, format, v);
}

struct ParsedSession {
    DialogData d;
    bool turner = true;
    int order = 1;
    unsigned int nstar = 0;
    unsigned int nmet = 0;
    unsigned int nreplay = 0;
    float x0 = 0, y0 = 0, racen = -1, decen = 100;
    std::vector<Star> stars;
    std::vector<Meteor> meteors;
    int kind = ImageType::BlankPhoto;  // the flag word of the blank image a caller may create
};

std::string Require(LineReader& in, const char* what, int limit = kLineLimit) {
    std::string line;
    if (!in.Next(line, limit)) throw SessionFileError(std::string("the file ends before its ") + what);
    return line;
}

// Line 1. False when the user declines a file of another image.
bool ReadHeader(std::string h, ParsedSession& p, MessageBoxService& mb, bool imageLoaded) {
    if (!h.empty()) h.pop_back();
    if (h.size() > 72) h.resize(72);
    const std::string meteor = h.size() > 64 ? FirstWord(h, 64, 8) : std::string();
    if (h.size() > 63) h.resize(63);
    const std::string image = h.size() > 55 ? FirstWord(h, 55, 8) : std::string();

    DialogData& d = p.d;
    if (imageLoaded && d.image[0] != '\0' && image.compare(0, std::strlen(d.image), d.image) != 0) {
        if (mb.Show("File does not belong to the\n loaded image. Continue?", "Load session",
                    MbButtons::OkCancel, MbIcon::None) != MbAnswer::Ok) {
            return false;
        }
    }
    if (!imageLoaded) copy_text(d.image, image);
    copy_text(d.meteor, meteor);
    d.status = 0;
    PrintInto(d.hour, "%2i", IntegerAt(h, 38));
    PrintInto(d.minute, "%02i", IntegerAt(h, 43));
    PrintInto(d.second, "%02i", IntegerAt(h, 48));

    // The date fields are cut off from the right, so each word ends at the
    // start of the next field.
    if (h.size() > 38) h.resize(38);
    copy_text(d.day, FirstWord(h, 33, 2));
    if (h.size() > 33) h.resize(33);
    copy_text(d.month, FirstWord(h, 28, 2));
    if (h.size() > 28) h.resize(28);
    copy_text(d.year, FirstWord(h, 23, 4));
    if (h.size() > 23) h.resize(23);
    if (d.meteor[0] == '\0') copy_text(d.meteor, FirstWord(h, 18, 5));
    if (h.size() > 18) h.resize(18);
    copy_text(d.station, h);
    return true;
}

void ReadCounts(const std::string& a, const std::string& b, ParsedSession& p) {
    const char* q = a.c_str();
    p.turner = !b.empty() && (b[0] == '0' || b[0] == '1' || b[0] == '2');
    p.d.astrometry = p.turner ? 1 : 0;
    if (p.turner) {
        const unsigned int total = Count(q, "number of records");
        const unsigned int stars = Count(q, "number of stars");
        if (total < stars) throw SessionFileError("the count line holds fewer records than stars");
        p.nstar = stars;
        p.nmet = total - stars;
        const std::string mask = FirstWord(b, 0, 25);
        p.order = mask.size() > 10 && mask[10] == '2' ? 3 : mask.size() > 5 && mask[5] == '2' ? 2 : 1;
    } else {
        p.nstar = Count(q, "number of stars");
        p.nmet = Count(q, "number of meteor points");
    }
}

// The words of a line from column col on.
std::vector<std::string> WordsFrom(const std::string& line, std::size_t col) {
    std::vector<std::string> words;
    for (std::string w; !(w = FirstWord(line, col, line.size())).empty();) {
        col = line.find(w, col) + w.size();
        words.push_back(w);
    }
    return words;
}

void ReadShutterLine(const std::string& line, DialogData& d) {
    // The line ends with the constant "1."; when it is the only word from
    // column 15 on, the shutter field was empty.
    const std::vector<std::string> words = WordsFrom(line, 15);
    const bool only_the_end = words.size() == 1 && words[0] == "1.";
    copy_text(d.shutter, only_the_end ? std::string() : FirstWord(line, 15, 6));
    bool listed = false;
    for (const char* text : kShutterList) listed = listed || std::strstr(d.shutter, text) != nullptr;
    copy_text(d.customshutter, listed ? std::string("custom") : std::string(d.shutter));
    PrintInto(d.refhour, "%2i", IntegerAt(line, 0));
    PrintInto(d.refminute, "%02i", IntegerAt(line, 5));
    PrintInto(d.refsecond, "%02i", IntegerAt(line, 10));
}

FrameList ReadFrameList(const std::string& line) {
    FrameList f{};
    // A line that a NUL byte ends at once holds no frame numbers.
    if (line.empty()) return f;
    const std::size_t last = line.size() - 1;
    for (std::size_t k = 0; k < f.size(); ++k) {
        const char* p = line.c_str() + std::min(5 * k, last);
        char* end = nullptr;
        errno = 0;
        const long v = std::strtol(p, &end, 0);  // as scanf's %i
        f[k] = end == p || errno == ERANGE || v > INT_MAX || v < INT_MIN ? 0 : static_cast<int>(v);
    }
    return f;
}

Star ReadStar(const std::string& raw) {
    const std::string line = WithoutLineEnd(raw);
    Star s;
    copy_text(s.name, line.substr(0, 9));
    std::vector<float> v = NumbersFrom(line, 10, 7);
    v.resize(7, 0.0f);
    s.mag = v[0];
    s.ra = ghdec(v[1]);
    s.pmra = v[2];
    s.de = ghdec(v[3]);
    s.pmde = v[4];
    s.raobs = s.ra;
    s.deobs = s.de;
    s.x = {v[5]};
    s.y = {v[6]};
    s.nrep = 0;
    s.hidden = 0;
    RequireWithin(OnTheSky(s.ra, s.de), "a star position");
    RequireWithin(Within(s.mag, kMaxMagnitude) && Within(s.pmra, kMaxProperMotion) &&
                      Within(s.pmde, kMaxProperMotion) && Within(v[5], kMaxMillimetres) && Within(v[6], kMaxMillimetres),
                  "a star's magnitude, proper motion or plate position");
    return s;
}

Meteor ReadMeteor(const std::string& raw) {
    const std::string line = WithoutLineEnd(raw);
    Meteor m;
    if (line.compare(0, 3, "   ") != 0) copy_text(m.label, line.substr(0, 15));
    std::vector<float> v = NumbersFrom(line, 51, 2);
    v.resize(2, 0.0f);
    m.x = {v[0]};
    m.y = {v[1]};
    m.nrep = 0;
    RequireWithin(Within(v[0], kMaxMillimetres) && Within(v[1], kMaxMillimetres), "a meteor point's plate position");
    return m;
}

void ReadCentreNumbers(const std::string& line, ParsedSession& p) {
    std::vector<float> v = NumbersFrom(line, 0, 4);
    v.resize(4, 0.0f);
    p.racen = v[0];
    p.decen = v[1];
    p.x0 = v[2];
    p.y0 = v[3];
}

// The plate centre; returns the number of name characters that match a
// replay row to its star.
std::size_t ReadCentre(LineReader& in, ParsedSession& p) {
    std::size_t compare = 9;
    if (p.turner) ReadCentreNumbers(Require(in, "plate centre"), p);
    if (!p.turner || (p.x0 == 0 && p.y0 == 0)) {
        std::string line;
        in.Next(line);
        if (in.Next(line) && line.compare(0, 9, "Estimated") == 0) {
            ReadCentreNumbers(Require(in, "estimated plate centre"), p);
        } else {
            p.racen = -1;
            p.decen = 100;
            float sx = 0, sy = 0;
            for (const Star& s : p.stars) {
                sx += s.x[0];
                sy += s.y[0];
            }
            p.x0 = p.stars.empty() ? 0.0f : sx / p.stars.size();
            p.y0 = p.stars.empty() ? 0.0f : sy / p.stars.size();
            compare = 7;
        }
    }
    RequireWithin(Within(p.x0, kMaxMillimetres) && Within(p.y0, kMaxMillimetres), "a plate origin");
    if (p.racen != -1 || p.decen != 100) {
        const float ra = ghdec(p.racen);
        const float de = ghdec(p.decen);
        // A centre off the sky is one that was not yet determined when the
        // file was written (it holds the marks -1 and 100 converted): it is
        // determined anew, as the marks say.
        if (OnTheSky(ra, de)) {
            p.racen = static_cast<float>(ra * M_PI / 12);
            p.decen = static_cast<float>(de * M_PI / 180);
        } else {
            p.racen = -1;
            p.decen = 100;
        }
    }
    return compare;
}

// Reads on until a line begins with heading, trying at most tries lines.
bool FindHeading(LineReader& in, const char* heading, int tries) {
    std::string line;
    for (int i = 0; i < tries; ++i) {
        if (!in.Next(line)) return false;
        if (line.compare(0, std::strlen(heading), heading) == 0) return true;
    }
    return false;
}

template <class Record>
void TakeMeasurements(Record& r, const std::vector<float>& v, unsigned int& nreplay) {
    const std::size_t n = v.size() / 2;
    for (const float value : v) RequireWithin(Within(value, kMaxMillimetres), "a replayed plate position");
    r.x.clear();
    r.y.clear();
    for (std::size_t j = 0; j < n; ++j) {
        r.x.push_back(v[2 * j]);
        r.y.push_back(v[2 * j + 1]);
    }
    r.nrep = static_cast<int>(n) - 1;
    nreplay = std::max(nreplay, static_cast<unsigned int>(n - 1));
}

void ReadReplayTable(LineReader& in, ParsedSession& p, std::size_t compare) {
    constexpr std::size_t kMaxNumbers = 2 * kMaxReplayColumns;
    std::string line;
    if (!FindHeading(in, " Star", 10)) return;
    in.Next(line);
    for (Star& s : p.stars) {
        for (;;) {
            if (!in.Next(line)) return;
            const std::string row = WithoutLineEnd(line);
            const std::vector<float> v = NumbersFrom(row, 10, kMaxNumbers);
            const bool named = std::strncmp(s.name, row.substr(0, 9).c_str(), compare) == 0;
            if (!named && v.size() >= 2) continue;  // a row of a star no longer in the session
            if (v.size() >= 2) TakeMeasurements(s, v, p.nreplay);
            break;
        }
    }
    if (!FindHeading(in, " Break", 20)) return;
    in.Next(line);
    for (Meteor& m : p.meteors) {
        if (!in.Next(line)) return;
        const std::vector<float> v = NumbersFrom(WithoutLineEnd(line), 10, kMaxNumbers);
        if (v.size() >= 2) TakeMeasurements(m, v, p.nreplay);
    }
}

// Returns false when the user declined the file.
bool Parse(LineReader& in, ParsedSession& p, MessageBoxService& mb, bool imageLoaded) {
    if (!ReadHeader(Require(in, "header line"), p, mb, imageLoaded)) return false;
    copy_text(p.d.objective, WithoutLineEnd(Require(in, "objective line")).substr(0, 56));
    const std::string a = Require(in, "count line");
    const std::string b = Require(in, "fourth line", kMaskLineLimit);
    ReadCounts(a, b, p);
    ReadShutterLine(Require(in, "reference time line"), p.d);
    const FrameList frames = ReadFrameList(Require(in, "frame list"));
    for (const int f : frames) RequireWithin(f >= kMinFrame && f <= kMaxFrame, "a frame number");
    p.kind = HoldsFrames(frames) ? ImageType::BlankVideo : ImageType::BlankPhoto;

    // Records are made one per line actually read, never from the counts
    // alone.
    for (unsigned int i = 0; i < p.nstar; ++i) p.stars.push_back(ReadStar(Require(in, "star lines")));
    for (unsigned int i = 0; i < p.nmet; ++i) {
        p.meteors.push_back(ReadMeteor(Require(in, "meteor lines")));
    }
    const std::vector<int> numbers = RestoreFrames(frames, p.nmet);
    for (unsigned int i = 0; i < p.nmet; ++i) p.meteors[i].frame = numbers[i];

    const std::size_t compare = ReadCentre(in, p);
    ReadReplayTable(in, p, compare);
    return true;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

int SessionData::Retrieve(const char* path, MessageBoxService& mb, bool imageLoaded) {
    CNumericLocale c_numbers;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "r"));
    if (!file) return kRetrieveCannotOpen;
    LineReader in(file.get());
    ParsedSession p;
    p.d = dlgdat;
    if (!Parse(in, p, mb, imageLoaded)) return kRetrieveDeclined;

    dlgdat = p.d;
    nstar = p.nstar;
    nhide = 0;
    nmet = p.nmet;
    if (p.turner) order = p.order;
    x0 = p.x0;
    y0 = p.y0;
    racen = p.racen;
    decen = p.decen;
    stars = std::move(p.stars);
    meteors = std::move(p.meteors);
    // The run the next-point prediction starts from must lie within the
    // points the file brought.
    mstart = std::min(mstart, nmet);
    ProperMotion(-1);
    nreplay = p.nreplay;
    return p.kind;
}
