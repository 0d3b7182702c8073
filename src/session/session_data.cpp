#include "session/session_data.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/meteor_image.h"
#include "platform/c_locale.h"
#include "session/fixed_text.h"

DialogData SessionData::dlgdat;
SessionData* Session = nullptr;

SessionData::SessionData() {
    stars.reserve(1);
    meteors.reserve(1);
    // A new session starts a new exposure record; the station carries over.
    DialogData fresh;
    copy_text(fresh.station, dlgdat.station);
    dlgdat = fresh;
}

// The order rules keep at least one degree of freedom in the plate fit:
// order 1 has 3 constants per coordinate, order 2 has 6, order 3 has 10.
void SessionData::OrderAfterStarShown() {
    const unsigned int v = Visible();
    if (v == 7) order = 2;
    if (v == 11) order = 3;
}

void SessionData::OrderAfterStarGone() {
    const unsigned int v = Visible();
    if (v == 6) order = 1;
    if (v == 10 && order == 3) order = 2;
}

void SessionData::AddStar(const Star& s, int recompute) {
    stars.push_back(s);
    ++nstar;
    if (s.hidden) ++nhide;
    else OrderAfterStarShown();
    ProperMotion(static_cast<int>(nstar) - 1);
    if (recompute != 0) {
        // The star stays even when the recomputation raises: the
        // measurement is the observer's work.
        surround = Getsurround(-1);
        CalculateOC();
    }
}

void SessionData::DropStar(int i) {
    if (i < 0 || static_cast<unsigned>(i) >= nstar) {
        surround = Getsurround(-1);
        return;
    }
    const bool was_hidden = stars[i].hidden != 0;
    if (was_hidden) --nhide;
    stars.erase(stars.begin() + i);
    --nstar;
    OrderAfterStarGone();
    if (!was_hidden) surround = Getsurround(-1);
}

void SessionData::ReplayStar(int i, float x, float y) {
    if (i < 0 || static_cast<unsigned>(i) >= nstar) return;
    Star& s = stars[i];
    ++s.nrep;
    s.x.push_back(x);
    s.y.push_back(y);
}

namespace {

// Names compare without their trailing blanks: a session file keeps a name
// in a column of nine characters and gives it back padded, while the
// catalogue gives it bare.
bool SameName(const char* a, const char* b) {
    std::size_t na = std::strlen(a), nb = std::strlen(b);
    while (na > 0 && a[na - 1] == ' ') --na;
    while (nb > 0 && b[nb - 1] == ' ') --nb;
    return na == nb && std::strncmp(a, b, na) == 0;
}

}  // namespace

int SessionData::ExistStar(const char* name) const {
    for (const Star& s : stars)
        if (SameName(s.name, name)) return 1;
    return 0;
}

namespace {
float Mean(const std::vector<float>& v) {
    if (v.empty()) return -1.0f;
    float sum = 0.0f;
    for (const float a : v) sum += a;
    return sum / static_cast<float>(v.size());
}
}  // namespace

float SessionData::fxstr(int i) const {
    if (i < 0 || static_cast<unsigned>(i) >= nstar) return -1.0f;
    return Mean(stars[i].x);
}

float SessionData::fystr(int i) const {
    if (i < 0 || static_cast<unsigned>(i) >= nstar) return -1.0f;
    return Mean(stars[i].y);
}

void SessionData::fhide(int i) {
    if (i < 0 || static_cast<unsigned>(i) >= nstar || stars[i].hidden) return;
    stars[i].hidden = 1;
    ++nhide;
    OrderAfterStarGone();
}

void SessionData::funhide(int i) {
    if (i < 0 || static_cast<unsigned>(i) >= nstar || !stars[i].hidden) return;
    stars[i].hidden = 0;
    --nhide;
    OrderAfterStarShown();
}

void SessionData::ToggleHidden(int k) {
    if (k >= 0 && static_cast<unsigned>(k) < nstar && stars[k].hidden)
        funhide(k);
    else
        fhide(k);
}

namespace {
// Writes h, m and s as the three "%2.0f" texts of a time. A second that
// rounds to 60 carries into the minute (and on), so the texts never show an
// impossible time.
void WriteTime(double h, double m, double s, char (&hh)[3], char (&mm)[3], char (&ss)[3]) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%2.0f", s);
    if (std::strcmp(buf, "60") == 0) {
        s = 0.0;
        if (++m >= 60.0) {
            m = 0.0;
            if (++h >= 24.0) h = 0.0;
        }
    }
    std::snprintf(buf, sizeof buf, "%2.0f", h);
    copy_text(hh, buf);
    std::snprintf(buf, sizeof buf, "%2.0f", m);
    copy_text(mm, buf);
    std::snprintf(buf, sizeof buf, "%2.0f", s);
    copy_text(ss, buf);
}
}  // namespace

void SessionData::AddMetPnt(const Meteor& m) {
    meteors.push_back(m);
    ++nmet;
    surround = Getsurround(-1);
    const double shutter = AtofC(dlgdat.shutter);
    if (Mimg == nullptr || !Mimg->IsVideo() || !(shutter > 0.0)) return;
    // On a video the reference time is the time of the middle frame of the
    // file, measured from the meteor time at the middle point of the trail.
    const int middle_frame = meteors[nmet / 2].frame;
    const double dt = (middle_frame - Mimg->GetNFr() / 2) / shutter;
    double t = ftmet() - dt / 3600.0;
    if (t >= 24.0) t -= 24.0;
    if (t < 0.0) t += 24.0;
    const double h = std::floor(t);
    const double mi = std::floor((t - h) * 60.0);
    const double s = ((t - h) * 60.0 - mi) * 60.0;
    WriteTime(h, mi, s, dlgdat.refhour, dlgdat.refminute, dlgdat.refsecond);
}

void SessionData::DropMetPnt(int i) {
    if (i >= 0 && static_cast<unsigned>(i) < nmet) {
        if (static_cast<unsigned>(i) < mstart) --mstart;
        meteors.erase(meteors.begin() + i);
        --nmet;
    }
    surround = Getsurround(-1);
}

void SessionData::ReplayMetPnt(int i, float x, float y) {
    if (i < 0 || static_cast<unsigned>(i) >= nmet) return;
    Meteor& m = meteors[i];
    ++m.nrep;
    m.x.push_back(x);
    m.y.push_back(y);
}

float SessionData::fxmet(int i) const {
    if (i < 0 || static_cast<unsigned>(i) >= nmet) return -1.0f;
    return Mean(meteors[i].x);
}

float SessionData::fymet(int i) const {
    if (i < 0 || static_cast<unsigned>(i) >= nmet) return -1.0f;
    return Mean(meteors[i].y);
}

void SessionData::DeleteTimes() {
    dlgdat.hour[0] = dlgdat.minute[0] = dlgdat.second[0] = '\0';
    dlgdat.refhour[0] = dlgdat.refminute[0] = dlgdat.refsecond[0] = '\0';
    dlgdat.meteor[0] = '\0';
}

std::string SessionData::Analysis(int i) const {
    if (i < 0 || static_cast<unsigned>(i) >= nstar) return std::string();
    char buf[40];
    CNumericLocale c_numbers;
    std::snprintf(buf, sizeof buf, "\t%6.3f\t%6.3f", static_cast<double>(fxstr(i)),
                  static_cast<double>(fystr(i)));
    return stars[i].MakeListBoxText() + buf;
}
