// velkarn-cli reduce: retrieves a session file without its image, reduces it
// and reports the residual table, the meteor points on the sky and the
// meteor's great circle and angular velocity; optionally saves it again with
// its log line, exactly as Save session does.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "astro/numerical_error.h"
#include "cli/command.h"
#include "files/log_file.h"
#include "files/options.h"
#include "files/reduction_export.h"
#include "files/session_file.h"
#include "image/fake_image.h"
#include "platform/scripted.h"
#include "session/reduction_report.h"
#include "session/session_data.h"
#include "shell/program_paths.h"

namespace {

constexpr const char* kUsage =
    "reduce SESSION [--order N] [--save PATH] [--program-dir DIR] [--yes] [--json]";

// A bad invocation or input: one line on standard error and this status.
struct Failure {
    int status;
    std::string text;
};

struct Arguments {
    std::string session;
    int order = 0;  // 0: the order the file gives
    std::optional<std::string> save;
    std::string program_dir;
    bool yes = false;
    bool json = false;
};

Arguments ParseArguments(const std::vector<std::string>& args) {
    Arguments a;
    auto value = [&](std::size_t& i) {
        if (i + 1 >= args.size()) throw Failure{2, args[i] + " needs a value (usage: " + kUsage + ")"};
        return args[++i];
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--order") {
            const std::string v = value(i);
            if (v != "1" && v != "2" && v != "3") throw Failure{2, "--order must be 1, 2 or 3, not \"" + v + "\""};
            a.order = v[0] - '0';
        } else if (arg == "--save") {
            a.save = value(i);
        } else if (arg == "--program-dir") {
            a.program_dir = value(i);
        } else if (arg == "--yes") {
            a.yes = true;
        } else if (arg == "--json") {
            a.json = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw Failure{2, "unknown option " + arg + " (usage: " + kUsage + ")"};
        } else if (a.session.empty()) {
            a.session = arg;
        } else {
            throw Failure{2, "more than one session file given (usage: " + std::string(kUsage) + ")"};
        }
    }
    if (a.session.empty()) throw Failure{2, std::string("no session file given (usage: ") + kUsage + ")"};
    return a;
}

class CurrentSession {
public:
    explicit CurrentSession(SessionData* s) : saved_(Session) { Session = s; }
    ~CurrentSession() { Session = saved_; }

private:
    SessionData* saved_;
};

std::string TrimRight(const char* text) {
    std::string s(text);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

void PrintText(const Arguments& a, const SessionData& s, const ReductionExport& r) {
    const DialogData& d = SessionData::dlgdat;
    std::printf("Session file  %s\n", a.session.c_str());
    std::printf("Station       %s\n", TrimRight(d.station).c_str());
    std::printf("Image         %s (%s, blank %d x %d pixels)\n", d.image,
                r.kind == ImageType::BlankVideo ? "video" : "photograph", r.width, r.height);
    std::printf("Meteor        %s\n", d.meteor);
    std::printf("Date          %s-%s-%s\n", d.year, d.month, d.day);
    std::printf("Meteor time   %s:%s:%s\n", d.hour, d.minute, d.second);
    std::printf("Reference     %s:%s:%s\n", d.refhour, d.refminute, d.refsecond);
    std::printf("Objective     %s\n", TrimRight(d.objective).c_str());
    std::printf("Shutter       %s per second\n", d.shutter);
    std::printf("Astrometry    %s\n", d.astrometry ? "Turner" : "Redsky");
    std::printf("Order         %d\n", s.order);
    std::printf("Stars         %u (%u hidden), meteor points %u, replays %u\n", s.nstar, s.nhide,
                s.nmet, s.nreplay);
    std::printf("St.dev        %.0f. (%.1f arcsec)\n", PackedDeviation(s.sd), s.sd * 3600.0);
    std::printf("Surround      %.0f%%\n\n", s.surround);

    std::printf("%-9s %4s %12s %10s %7s %7s %6s %6s %7s %6s\n", "Star", "Mv", "RA", "DE", "X",
                "Y", "O-C RA", "O-C DE", "st.dev", "surr.");
    for (const ReportStarRow& row : r.stars) {
        std::string residuals = "              ";
        if (!row.star->hidden && r.rms_ra) {
            char buf[32];
            std::snprintf(buf, sizeof buf, " %5.0f. %5.0f.", PackedResidual(row.numbers.dra),
                          PackedResidual(row.numbers.dde));
            residuals = buf;
        }
        char sd[16] = "      -";
        if (row.numbers.sd_reversed) {
            std::snprintf(sd, sizeof sd, "%6.0f.", PackedDeviation(*row.numbers.sd_reversed));
        }
        std::printf("%-9s %4s %12s %10s %7s %7s%s %s %5.0f%%%s\n", row.fields[0].c_str(),
                    row.fields[1].c_str(), row.fields[2].c_str(), row.fields[3].c_str(),
                    row.fields[4].c_str(), row.fields[5].c_str(), residuals.c_str(), sd,
                    row.numbers.surround_reversed, row.star->hidden ? "  hidden" : "");
    }
    if (r.rms_ra) {
        std::printf("%-9s %4s %12s %10s %7s %7s %5.0f. %5.0f.\n", "rms", "", "", "", "", "",
                    PackedDeviation(*r.rms_ra), PackedDeviation(*r.rms_de));
    } else {
        std::printf("(residuals need at least 4 visible stars)\n");
    }

    std::printf("\n%5s %-15s %6s %8s %8s %10s %10s\n", "Point", "Label", "Frame", "X", "Y",
                "RA (h)", "DE (deg)");
    for (unsigned int i = 0; i < s.nmet; ++i) {
        const Meteor& m = s.meteors[i];
        std::printf("%5u %-15s %6d %8.3f %8.3f", i + 1, TrimRight(m.label).c_str(), m.frame,
                    s.fxmet(static_cast<int>(i)), s.fymet(static_cast<int>(i)));
        if (r.positions) std::printf(" %10.5f %10.4f", Hours24(r.path.ra[i]), r.path.de[i]);
        std::printf("\n");
    }
    if (r.trajectory) {
        std::printf("\nBegin         RA %7.3f  DE %7.3f degrees\n", r.log.rab, r.log.deb);
        std::printf("End           RA %7.3f  DE %7.3f degrees\n", r.log.rae, r.log.dee);
        std::printf("Velocity      %.2f +- %.2f degrees per second\n", r.log.w, r.log.dw);
    } else {
        std::printf("\nNo great circle: it needs at least two meteor points.\n");
    }
}

void PrintJson(const SessionData& s, const ReductionExport& r) {
    std::printf("%s\n", ReductionJson(r, s, SessionData::dlgdat).c_str());
}

int Save(Arguments a, SessionData& s) {
    if (a.program_dir.empty()) {
        // The log goes where the desktop program keeps it, made on first use.
        const ProgramPaths paths = CliProgramPaths();
        std::error_code ec;
        std::filesystem::create_directories(paths.program_dir, ec);
        a.program_dir = paths.program_dir.string();
    }
    ScriptedMessageBox mb;
    if (a.yes) mb.answers.push_back(MbAnswer::Yes);
    const int result = s.Save(a.save->c_str(), a.program_dir.c_str(), mb);
    const int error = errno;
    if (result == 0) {
        if (!mb.shown.empty()) {
            throw Failure{1, "not saved: the image is not a fish-eye image (--yes saves it anyway)"};
        }
        throw Failure{1, "cannot write " + *a.save};
    }
    if (result == 2) {
        std::fprintf(stderr,
                     "velkarn-cli reduce: the meteor has not been included in the log file because "
                     "too few stars and/or meteor points were measured\n");
    }
    if (result == 3) {
        std::string text = LogFailureText(error);
        std::replace(text.begin(), text.end(), '\n', ' ');
        std::fprintf(stderr, "velkarn-cli reduce: %s\n", text.c_str());
    }
    return result;
}

int Run(const Arguments& a) {
    std::error_code ec;
    if (std::filesystem::is_directory(a.session, ec)) throw Failure{1, a.session + " is a directory"};
    if (std::FILE* f = std::fopen(a.session.c_str(), "r")) {
        std::fclose(f);
    } else {
        throw Failure{1, "cannot open " + a.session + ": " + std::strerror(errno)};
    }

    SessionData session;
    CurrentSession current_session(&session);
    ScriptedMessageBox mb;
    ReductionExport r;
    try {
        r.kind = session.Retrieve(a.session.c_str(), mb, false);
    } catch (const SessionFileError& e) {
        throw Failure{1, a.session + " is not a valid session file: " + e.what()};
    }
    if (r.kind == SessionData::kRetrieveCannotOpen) {
        throw Failure{1, "cannot open " + a.session + ": " + std::strerror(errno)};
    }
    if (r.kind <= 0) throw Failure{1, "cannot read " + a.session};
    // As Retrieve session does: the file's station becomes the default one,
    // which the log line records.
    std::snprintf(opt.station, sizeof opt.station, "%s", SessionData::dlgdat.station);

    if (session.Visible() < 3) {
        throw Failure{1, "too few stars to reduce: " + std::to_string(session.Visible()) +
                             " visible, at least 3 needed"};
    }
    // The blank image puts the plate origin at its centre.
    const BlankSize blank = BlankImageSize(session.x0, session.y0);
    r.width = blank.width;
    r.height = blank.height;
    FakeImage image(r.width, r.height, r.kind);
    CurrentImage current_image(&image);
    // As Retrieve session does: the surround and residuals of the session as
    // read. This settles the plate centre on the blank image, so the report
    // shows the numbers the program's analysis view shows.
    try {
        session.surround = session.Getsurround(-1);
        session.CalculateOC();
    } catch (const NumericalError& e) {
        throw Failure{1, "the star set allows no plate solution (" + std::string(e.what()) + ")"};
    }

    if (a.order != 0) {
        while (session.order < a.order && session.PlusOrder()) {
        }
        while (session.order > a.order && session.MinOrder()) {
        }
        if (session.order != a.order) {
            throw Failure{1, "order " + std::to_string(a.order) + " needs at least " +
                                 (a.order == 2 ? "7" : "11") + " visible stars, the session has " +
                                 std::to_string(session.Visible())};
        }
    }
    try {
        r = MakeReductionExport(session, a.session, r.kind, r.width, r.height);
    } catch (const NumericalError& e) {
        throw Failure{1, "the star set allows no plate solution (" + std::string(e.what()) + ")"};
    }
    const int saved = a.save ? Save(a, session) : 1;
    if (a.json) {
        PrintJson(session, r);
    } else {
        PrintText(a, session, r);
    }
    // A meteor missing from its log is a failure, though the file is saved.
    return saved == 3 ? 1 : 0;
}

int RunReduce(const std::vector<std::string>& args) {
    try {
        return Run(ParseArguments(args));
    } catch (const Failure& f) {
        std::fprintf(stderr, "velkarn-cli reduce: %s\n", f.text.c_str());
        return f.status;
    }
}

const CommandRegistration registration{"reduce", kUsage, RunReduce};

}  // namespace
