// The session file, both layouts, through Retrieve into a fresh session. A
// rejected file leaves the session and the exposure record exactly as they
// were; an accepted one is saved and read again, and from the second
// writing on saves to the same text (the session survives a write and a
// read unchanged), its exposure lines never changing at all.
#include <cmath>
#include <cstdio>
#include <sstream>

#include "files/options.h"
#include "files/session_file.h"
#include "fuzz_support.h"
#include "image/fake_image.h"
#include "image/meteor_image.h"
#include "platform/scripted.h"
#include "session/session_data.h"

namespace {

// Everything Retrieve may change, as one text.
std::string Dump(const SessionData& s) {
    std::ostringstream o;
    const DialogData& d = SessionData::dlgdat;
    o << d.station << '|' << d.image << '|' << d.meteor << '|' << d.year << '|' << d.month << '|' << d.day << '|'
      << d.hour << d.minute << d.second << '|' << d.refhour << d.refminute << d.refsecond << '|' << d.objective
      << '|' << d.shutter << '|' << d.customshutter << '|' << d.astrometry << d.status << '\n';
    o << s.nstar << ' ' << s.nhide << ' ' << s.nmet << ' ' << s.nreplay << ' ' << s.mstart << ' ' << s.order << ' '
      << s.x0 << ' ' << s.y0 << ' ' << s.racen << ' ' << s.decen << ' ' << s.stars.size() << ' ' << s.meteors.size();
    return o.str();
}

// Saves s and returns the file's text; empty when it was not saved.
std::string Saved(SessionData& s, const char* name) {
    ScriptedMessageBox mb;
    mb.answers.assign(4, MbAnswer::Yes);
    const auto path = fuzz::ScratchDir() / name;
    if (s.Save(path.c_str(), fuzz::ScratchDir().c_str(), mb) == 0) return std::string();
    return fuzz::ReadText(path);
}

// Where the count line, the third, starts; npos when the text has none.
std::size_t CountLine(const std::string& text) {
    const std::size_t second = text.find('\n');
    const std::size_t third = second == std::string::npos ? second : text.find('\n', second + 1);
    return third == std::string::npos ? third : third + 1;
}

// The Redsky count line holds the lens code 354 in columns 11 to 15.
bool IsRedsky(const std::string& text) {
    const std::size_t line3 = CountLine(text);
    return line3 != std::string::npos && line3 + 15 <= text.size() && text.compare(line3 + 10, 5, "  354") == 0;
}

// The Redsky count line ends with a lens code estimated from the plate
// solution, which an ill-conditioned star set changes with the last digit
// of a position: it is left out of the comparison.
std::string WithoutLensCode(std::string text) {
    if (IsRedsky(text)) {
        const std::size_t line3 = CountLine(text);
        const std::size_t end = text.find('\n', line3);
        if (end != std::string::npos && end > line3 + 15) text.replace(line3 + 15, end - line3 - 15, "lens");
    }
    return text;
}

// The frame list holds up to seven forward gaps of rising frame numbers;
// frames that fall back or leave more gaps (a list in the input that does
// not fit its points) cannot be written back as they were read.
bool FramesFitTheList(const SessionData& s) {
    int gaps = 0;
    for (std::size_t i = 1; i < s.meteors.size(); ++i) {
        if (s.meteors[i].frame <= s.meteors[i - 1].frame) return false;
        gaps += s.meteors[i].frame != s.meteors[i - 1].frame + 1;
    }
    return gaps <= 7;
}

std::string WithoutLine(std::string text, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index && start != std::string::npos; ++i) {
        start = text.find('\n', start);
        if (start != std::string::npos) ++start;
    }
    if (start == std::string::npos) return text;
    const std::size_t end = text.find('\n', start);
    return text.erase(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string Line(const std::string& text, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index && start != std::string::npos; ++i) {
        start = text.find('\n', start);
        if (start != std::string::npos) ++start;
    }
    if (start == std::string::npos) return std::string();
    return text.substr(start, text.find('\n', start) - start);
}

// The Redsky layout's origin line is not read back: the reader takes the
// mean of the star lines as a provisional origin, which the first plate
// fit replaces. A star line that the first writing rounded reaches the
// origin one writing later, by at most a unit in its last digit, so the
// origin is compared on its own, within that unit.
bool OriginsAgree(const std::string& a, const std::string& b) {
    float ax = 0, ay = 0, bx = 0, by = 0;
    if (std::sscanf(a.c_str(), "%f%f", &ax, &ay) != 2 || std::sscanf(b.c_str(), "%f%f", &bx, &by) != 2) return a == b;
    return std::fabs(ax - bx) <= 0.0015f && std::fabs(ay - by) <= 0.0015f;
}

std::string Comparable(const std::string& text, bool frames_fit) {
    std::string t = WithoutLensCode(text);
    if (!frames_fit) t = WithoutLine(t, 5);
    return IsRedsky(text) ? WithoutLine(t, 3) : t;
}

// Reads a saved text into s and saves it again.
std::string SavedAgain(const std::string& text, int kind, SessionData& s, const char* name) {
    const auto path = fuzz::WriteInput("saved.dar", reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    ScriptedMessageBox mb;
    int again = 0;
    try {
        again = s.Retrieve(path.c_str(), mb, false);
    } catch (const SessionFileError&) {
        fuzz::Broken("a saved session file was rejected");
    }
    fuzz::Require(again == kind, "a saved session file came back as another kind");
    return Saved(s, name);
}

// Every save adds a line to the yearly log in the scratch directory, and a
// log line is added by copying the log: left to grow over millions of runs
// it would make each run slower than the last.
void RemoveLogs() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(fuzz::ScratchDir(), ec)) {
        if (entry.path().extension() == ".log") std::filesystem::remove(entry.path(), ec);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RemoveLogs();
    const auto path = fuzz::WriteInput("input.dar", data, size);
    SessionData a;  // resets the exposure record
    const std::string before = Dump(a);
    ScriptedMessageBox mb;
    int kind = 0;
    try {
        kind = a.Retrieve(path.c_str(), mb, false);
    } catch (const SessionFileError&) {
        fuzz::Require(Dump(a) == before, "a rejected session file changed the session or the exposure record");
        return 0;
    }
    fuzz::Require(kind == 5 || kind == 14, "an accepted session file gave no image kind");
    fuzz::Require(a.stars.size() == a.nstar && a.meteors.size() == a.nmet, "record counts differ from the records");

    // As Retrieve session does without an image: a blank one of the file's
    // kind, which tells Save that the points carry frame numbers.
    FakeImage blank(100, 100, kind);
    Mimg = &blank;
    const std::string first = Saved(a, "first.dar");
    fuzz::Require(!first.empty(), "an accepted session could not be saved");
    // The frame list of a video whose points all lie on frame 0 is all zeros,
    // a photograph's: the file cannot tell them apart.
    if (kind == ImageType::BlankVideo && !session_file::HoldsFrames(session_file::BuildFrameList(a.meteors))) {
        kind = ImageType::BlankPhoto;
    }
    SessionData b;
    const std::string second = SavedAgain(first, kind, b, "second.dar");
    SessionData c;
    const std::string third = SavedAgain(second, kind, c, "third.dar");
    // Positions with more decimals than the file keeps are rounded by the
    // first writing (a mean of rounded measurements may differ in its last
    // digit), and a frame list that does not fit its points is rewritten:
    // from the second writing on the text stays the same. The exposure
    // lines never change.
    const bool fits = FramesFitTheList(b);
    fuzz::Require(Comparable(third, fits) == Comparable(second, fits), "a saved session read again saves to another text");
    fuzz::Require(!IsRedsky(second) || OriginsAgree(Line(second, 3), Line(third, 3)),
                  "a saved session read again moves its origin by more than the last digit");
    for (const int line : {0, 1, 2, 4}) {
        fuzz::Require(Line(WithoutLensCode(first), line) == Line(WithoutLensCode(second), line),
                      "the exposure lines changed when the file was read and saved again");
    }
    Mimg = nullptr;
    return 0;
}
