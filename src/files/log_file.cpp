#include "files/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "astro/astrofun.h"
#include "astro/numerical_error.h"
#include "files/atomic_file.h"
#include "files/options.h"
#include "image/meteor_image.h"
#include "platform/c_locale.h"
#include "session/session_data.h"

namespace {

// Sidereal hours per solar hour.
constexpr double kSiderealRate = 1.00263791;

bool AllFinite(const MeteorPath& p) {
    const float values[] = {p.w,        p.dw,        p.begin[0], p.begin[1],
                            p.begin[2], p.end[0],    p.end[1],   p.end[2]};
    for (const float v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

}  // namespace

bool ComputeMeteorPositions(SessionData& s, MeteorPath& path) {
    if (s.Visible() < 3) return false;
    std::vector<double> ra_all, de_all;
    try {
        const float dift = s.fdift();
        for (unsigned int i = 0; i < s.nmet; ++i) {
            float ra, de;
            s.EstimateRADE(s.fxmet(i), s.fymet(i), ra, de);
            ra_all.push_back(ra + dift * kSiderealRate);
            de_all.push_back(de);
        }
    } catch (const NumericalError&) {
        return false;
    }
    path.ra = std::move(ra_all);
    path.de = std::move(de_all);
    return true;
}

bool ComputeMeteorPath(SessionData& s, MeteorPath& out) {
    if (s.nmet < 2) return false;
    MeteorPath p;
    if (!ComputeMeteorPositions(s, p)) return false;
    std::vector<float> X(s.nmet), Y(s.nmet), Z(s.nmet);
    for (unsigned int i = 0; i < s.nmet; ++i) {
        const double a = p.ra[i] * M_PI / 12;
        const double d = p.de[i] * M_PI / 180;
        X[i] = static_cast<float>(std::cos(a) * std::cos(d));
        Y[i] = static_cast<float>(std::sin(a) * std::cos(d));
        Z[i] = static_cast<float>(std::sin(d));
    }
    try {
        s.vlak(X.data(), Y.data(), Z.data(), p.pole, p.begin, p.end);
        s.hoeksnelheid(X.data(), Y.data(), Z.data(), p.pole, p.w, p.dw);
    } catch (const NumericalError&) {
        return false;
    }
    if (!AllFinite(p)) return false;
    out = std::move(p);
    return true;
}

LogEntry MakeLogEntry(const MeteorPath& p, float sd, float surround) {
    LogEntry e;
    e.w = p.w * kLogDegrees;
    e.dw = p.dw * kLogDegrees;
    float ra, de;
    r_rade(p.begin, ra, de);
    e.rab = ra * kLogDegrees;
    e.deb = de * kLogDegrees;
    r_rade(p.end, ra, de);
    e.rae = ra * kLogDegrees;
    e.dee = de * kLogDegrees;
    e.sig = sd;
    e.sur = surround;
    return e;
}

std::string LogHeaderLine() {
    return std::string("Meteor     year mo day H  M  S ") +
           "  mag   w    dw    RAB     DEB     RAE     DEE     sig sur " +
           " image      station            \n";
}

std::string LogRecordLine(const DialogData& d, const LogEntry& e, const char* station) {
    CNumericLocale c_numbers;
    char buf[512];
    // The times are texts: right-aligned in two columns, blank-padded.
    int n = std::snprintf(buf, sizeof buf, "\"%-8s\" %4s %2s %2s %2s %2s %2s ", d.meteor, d.year,
                          d.month, d.day, d.hour, d.minute, d.second);
    n += std::snprintf(buf + n, sizeof buf - n,
                       "%5.1f %5.2f %4.2f %7.3f %7.3f %7.3f %7.3f %5.3f %3.0f ", 0.0, e.w, e.dw,
                       e.rab, e.deb, e.rae, e.dee, e.sig, e.sur);
    std::snprintf(buf + n, sizeof buf - n, "\"%-8s\" \"%-18s\"\n", d.image, station);
    return buf;
}

std::filesystem::path LogFilePath(const std::filesystem::path& programDir, const DialogData& d,
                                  bool video) {
    std::string name = video ? "video" : "photo";
    const std::size_t len = std::strlen(d.year);
    if (len > 2) name.append(d.year + 2, len - 2 < 2 ? len - 2 : 2);
    name += ".log";
    return programDir / name;
}

namespace {

// Appends text in place with one write; a short write (a full disk) is
// taken back. A log whose last line was cut off gets the text on a line of
// its own. False, with errno saying why, when any step fails.
bool AppendInPlace(const std::filesystem::path& file, std::string text) {
    const int fd = open(file.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat st {};
    bool good = fstat(fd, &st) == 0;
    char last = '\n';
    if (good && st.st_size > 0 && pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n') text.insert(0, "\n");
    int error = good ? 0 : errno;
    if (good) {
        ssize_t n;
        do {
            n = write(fd, text.data(), text.size());
        } while (n < 0 && errno == EINTR);
        if (n != static_cast<ssize_t>(text.size())) {
            error = n < 0 ? errno : ENOSPC;
            if (n > 0 && ftruncate(fd, st.st_size) != 0) error = errno;
            good = false;
        }
    }
    if (good && fsync(fd) != 0) {
        error = errno;
        good = false;
    }
    if (close(fd) != 0 && good) {
        error = errno;
        good = false;
    }
    errno = error;
    return good;
}

// Appends text to the log so that a kill at any instant leaves the log as
// it was or with the whole text added: one write is not enough for that,
// since the kernel may stop a write that a kill interrupts between two
// pages of the file. The log is copied with the text added into a new
// file that replaces it (AtomicFile). A log that is not a regular file
// (a device, or one that cannot be read) is appended to in place.
bool AppendWhole(const std::filesystem::path& file, std::string text) {
    std::error_code ec;
    std::filesystem::path target = file;
    // A link keeps pointing at the log: the file it names is replaced.
    if (std::filesystem::is_symlink(file, ec)) {
        const std::filesystem::path resolved = std::filesystem::canonical(file, ec);
        if (!ec) target = resolved;
    }
    const bool exists = std::filesystem::exists(target, ec);
    std::string old;
    if (exists) {
        std::ifstream in(target, std::ios::binary);
        if (!std::filesystem::is_regular_file(target, ec) || !in) return AppendInPlace(target, std::move(text));
        old.assign(std::istreambuf_iterator<char>(in), {});
        if (in.bad()) return AppendInPlace(target, std::move(text));
    }
    if (!old.empty() && old.back() != '\n') text.insert(0, "\n");
    AtomicFile f(target);
    if (!f.ok()) return false;
    std::fwrite(old.data(), 1, old.size(), f.stream());
    std::fwrite(text.data(), 1, text.size(), f.stream());
    return f.Commit();
}

}  // namespace

LogOutcome LogMeteor(SessionData& s, const char* programDir) {
    if (s.nstar <= 2 || s.nmet <= 1) return LogOutcome::NotLoggable;
    MeteorPath path;
    if (!ComputeMeteorPath(s, path)) return LogOutcome::NotLoggable;

    const std::string record =
        LogRecordLine(SessionData::dlgdat, MakeLogEntry(path, s.sd, s.surround), opt.station);
    const auto file = LogFilePath(programDir ? programDir : "", SessionData::dlgdat,
                                  Mimg != nullptr && Mimg->IsVideo());
    // Only a log that does not exist yet gets the header; an existing one,
    // even one this program cannot read, is only ever appended to.
    std::error_code ec;
    const bool fresh = !std::filesystem::exists(file, ec) || std::filesystem::file_size(file, ec) == 0;
    const std::string text = fresh ? LogHeaderLine() + record : record;
    return AppendWhole(file, text) ? LogOutcome::Logged : LogOutcome::WriteFailed;
}

std::string LogFailureText(int error_number) {
    std::string why;
    switch (error_number) {
        case EACCES:
        case EPERM:
        case EROFS: why = "the log file or its directory is not writable."; break;
        case ENOSPC:
        case EDQUOT: why = "the disk is full."; break;
        case EISDIR: why = "a directory has the log file's name."; break;
        default: {
            why = error_number != 0 ? std::strerror(error_number) : "it could not be written";
            why[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(why[0])));
            why += ".";
        }
    }
    return "The session has been saved, but the meteor has not been included in the log file:\n" + why;
}
