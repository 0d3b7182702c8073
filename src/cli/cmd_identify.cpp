// velkarn-cli identify IMAGE [--save SESSION] [--json] [--time-limit S]
// [--limit MAG]: the automatic star identification without windows, for
// archives of images. Opens the image as File > Open image file does,
// plate-solves it (a FITS whose header holds a celestial TAN WCS is taken
// from its header, without the solver), and prints the centre, scale and
// rotation of the solution and the identified catalogue stars. --save
// writes a session file holding them, each added with one measurement as
// the star dialog adds a star.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "astro/numerical_error.h"
#include "cli/command.h"
#include "files/json_writer.h"
#include "files/options.h"
#include "identify/deep_picture.h"
#include "identify/identify_stars.h"
#include "image/fits_file_image.h"
#include "image/open_image.h"
#include "platform/scripted.h"
#include "session/fixed_text.h"
#include "session/session_data.h"
#include "shell/image_file_names.h"
#include "shell/program_paths.h"

namespace {

constexpr const char* kUsage = "identify IMAGE [--save SESSION] [--json] [--time-limit S] [--limit MAG]";

struct Failure {
    int status;
    std::string text;
};

struct Arguments {
    std::string image;
    std::optional<std::string> save;
    bool json = false;
    double time_limit = 30;
    float limit = 8.0f;
};

double Number(const std::string& option, const std::string& text, double low, double high) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(v >= low && v <= high))
        throw Failure{2, option + " must be a number from " + std::to_string(static_cast<int>(low)) + " to " +
                             std::to_string(static_cast<int>(high)) + ", not \"" + text + "\""};
    return v;
}

Arguments Parse(const std::vector<std::string>& args) {
    Arguments a;
    auto value = [&](std::size_t& i) {
        if (i + 1 >= args.size()) throw Failure{2, args[i] + " needs a value (usage: velkarn-cli " + kUsage + ")"};
        return args[++i];
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        if (s == "--save") {
            a.save = value(i);
        } else if (s == "--json") {
            a.json = true;
        } else if (s == "--time-limit") {
            a.time_limit = Number(s, value(i), 1, 3600);
        } else if (s == "--limit") {
            a.limit = static_cast<float>(Number(s, value(i), 6, 8));
        } else if (s.starts_with("--") || !a.image.empty()) {
            throw Failure{2, "unexpected argument \"" + s + "\" (usage: velkarn-cli " + kUsage + ")"};
        } else {
            a.image = s;
        }
    }
    if (a.image.empty()) throw Failure{2, std::string("no image given (usage: velkarn-cli ") + kUsage + ")"};
    return a;
}

void PrintText(const IdentifyResult& r) {
    for (const std::string& line : SolutionLines(r.solution)) std::printf("%s\n", line.c_str());
    std::printf("Solved from: %s\n", r.from_header ? "the FITS header" : "the star images");
    std::printf("Stars: %zu\nname\tmag\tx\ty\tdistance\n", r.proposals.size());
    for (const StarProposal& p : r.proposals) {
        const auto f = ProposalFields(p);
        std::printf("%s\t%s\t%s\t%s\t%s\n", f[0].c_str(), f[1].c_str(), f[2].c_str(), f[3].c_str(), f[4].c_str());
    }
}

void PrintJson(const Arguments& a, const IdentifyResult& r) {
    JsonWriter w;
    w.BeginObject();
    w.Value("file", a.image);
    w.Value("solved_from", r.from_header ? "header" : "stars");
    w.BeginObject("solution");
    w.Value("ra_hours", r.solution.ra_h);
    w.Value("de_degrees", r.solution.de_deg);
    w.Value("arcsec_per_pixel", r.solution.arcsec_per_pixel);
    w.Value("rotation_degrees", r.solution.rotation_deg);
    w.Value("mirrored", r.solution.mirrored);
    w.Value("width_degrees", r.solution.width_deg);
    w.Value("height_degrees", r.solution.height_deg);
    w.EndObject();
    w.BeginArray("stars");
    for (const StarProposal& p : r.proposals) {
        std::string name(p.star.name);
        name.erase(0, name.find_first_not_of(' '));
        w.BeginObject();
        w.Value("name", name);
        w.Value("magnitude", static_cast<double>(p.star.mag));
        w.Value("ra_hours", static_cast<double>(p.star.ra));
        w.Value("de_degrees", static_cast<double>(p.star.de));
        w.Value("x", p.x);
        w.Value("y", p.y);
        w.Value("distance", p.distance);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
    std::printf("%s\n", w.str().c_str());
}

void Save(const Arguments& a, MeteorImage& image, const IdentifyResult& r) {
    SessionData session;
    copy_text(SessionData::dlgdat.image, ImageNameOf(a.image));
    CurrentImage current(&image);
    try {
        AddProposals(session, r.proposals);
    } catch (const NumericalError& e) {
        throw Failure{1, std::string("the identified stars allow no plate solution (") + e.what() + ")"};
    }
    const ProgramPaths paths = CliProgramPaths();
    std::error_code ec;
    std::filesystem::create_directories(paths.program_dir, ec);
    ScriptedMessageBox mb;
    if (session.Save(a.save->c_str(), paths.program_dir.string().c_str(), mb) == 0)
        throw Failure{1, "cannot write " + *a.save};
}

int Run(const Arguments& a) {
    ScriptedProgress no_progress;
    ImageOpenContext context{no_progress};
    const auto image = OpenImageFile(a.image, context);
    if (image->status != kStatusOk) {
        std::string message = ImageStatusMessage(image->status);
        if (message.empty()) message = "Image cannot be loaded (status " + std::to_string(image->status) + ")";
        throw Failure{1, a.image + ": " + message};
    }
    const ProgramPaths paths = CliProgramPaths();
    IdentifyRequest request;
    request.files = {paths.data_dir, paths.data_dir};
    request.limit = a.limit;
    request.time_limit_s = a.time_limit;
    if (const auto* fits = dynamic_cast<const FITSFileImage*>(image.get()); fits && !fits->wcs.empty())
        request.header_wcs = ReadTanWcs(a.image);
    MeasuringPicture deep;
    const GreyView picture = IdentificationView(*image, deep);
    const IdentifyResult r = IdentifyStars(picture, request, no_progress);
    if (r.status != IdentifyStatus::Found) throw Failure{1, IdentifyStatusText(r.status)};
    if (a.save) Save(a, *image, r);
    if (a.json) {
        PrintJson(a, r);
    } else {
        PrintText(r);
    }
    return 0;
}

int RunIdentify(const std::vector<std::string>& args) {
    try {
        return Run(Parse(args));
    } catch (const Failure& f) {
        std::string text = f.text;
        for (char& c : text)
            if (c == '\n') c = ' ';
        std::fprintf(stderr, "velkarn-cli identify: %s\n", text.c_str());
        return f.status;
    }
}

const CommandRegistration reg{"identify", kUsage, RunIdentify};

}  // namespace
