// velkarn-cli catalogue name TEXT | near RA DE: searches the sky catalogue as
// the star dialog does and prints each candidate as its full-precision row
// (name, magnitude, RA h m s, DE d m s), or the search's message (exit
// status 1). RA is in decimal hours, DE and the radius in decimal degrees.
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/sky_cat.h"
#include "cli/command.h"
#include "files/json_writer.h"
#include "files/options.h"
#include "session/fixed_text.h"
#include "shell/program_paths.h"

namespace {

constexpr const char* kUsage =
    "catalogue name TEXT | near RA DE [--radius R] [--limit L] [--catalogue-dir DIR] "
    "[--program-dir DIR] [--json]";

struct Arguments {
    std::vector<std::string> words;  // the positional arguments
    std::string catalogue_dir;
    std::string program_dir;
    std::string radius = "0.5";  // the settings' defaults
    std::string limit = "8.0";
    bool json = false;
};

int Refuse(const std::string& why) {
    std::fprintf(stderr, "velkarn-cli catalogue: %s\nusage: velkarn-cli %s\n", why.c_str(), kUsage);
    return 2;
}

// The whole text as a finite number, or nothing.
std::optional<float> ParseNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const float v = std::strtof(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<Arguments> Parse(const std::vector<std::string>& args, std::string& error) {
    Arguments a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        std::string* value = nullptr;
        if (s == "--json") {
            a.json = true;
            continue;
        }
        if (s == "--catalogue-dir") value = &a.catalogue_dir;
        if (s == "--program-dir") value = &a.program_dir;
        if (s == "--radius") value = &a.radius;
        if (s == "--limit") value = &a.limit;
        if (value) {
            if (++i == args.size()) {
                error = s + " needs a value";
                return std::nullopt;
            }
            *value = args[i];
        } else if (s.starts_with("--")) {
            error = "unknown option \"" + s + "\"";
            return std::nullopt;
        } else {
            a.words.push_back(s);
        }
    }
    if (a.catalogue_dir.empty() || a.program_dir.empty()) {
        const ProgramPaths paths = CliProgramPaths();
        if (a.catalogue_dir.empty()) a.catalogue_dir = paths.data_dir.string();
        // The index that belongs to the catalogue: beside it, else in the
        // data directory.
        if (a.program_dir.empty()) {
            if (!FitsOptionPath(a.catalogue_dir)) {
                throw std::runtime_error("the catalogue directory is longer than " + std::to_string(kMaxOptionPath) +
                                         " characters; give --program-dir as well");
            }
            Options o;
            copy_text(o.skycatdir, a.catalogue_dir);
            a.program_dir = CatalogueFilesFor(o, paths).index_dir.string();
        }
    }
    return a;
}

void PrintJson(const SkyCat& cat, const SkyCatMessage* failure) {
    JsonWriter w;
    w.BeginObject();
    w.Value("status", cat.status);
    if (failure) {
        w.Value("message", failure->text);
    } else {
        w.BeginArray("candidates");
        for (const CatStar& s : cat.candidates) {
            w.BeginObject();
            w.Value("name", s.name);
            w.Value("mag", static_cast<double>(s.mag));
            w.Value("ra", static_cast<double>(s.ra));
            w.Value("pmra", static_cast<double>(s.pmra));
            w.Value("de", static_cast<double>(s.de));
            w.Value("pmde", static_cast<double>(s.pmde));
            w.Value("text", s.MakeListBoxText());
            w.EndObject();
        }
        w.EndArray();
    }
    w.EndObject();
    std::printf("%s\n", w.str().c_str());
}

int Report(const SkyCat& cat, bool json) {
    const bool failed = cat.status != SkyCatStatus::Found;
    const SkyCatMessage message = SkyCatStatusMessage(cat.status);
    if (json) {
        PrintJson(cat, failed ? &message : nullptr);
    } else if (!failed) {
        for (const CatStar& s : cat.candidates) std::printf("%s\n", s.MakeListBoxText().c_str());
    }
    if (failed) {
        std::string line = message.text;
        for (char& c : line)
            if (c == '\n') c = ' ';
        std::fprintf(stderr, "velkarn-cli catalogue: %s\n", line.c_str());
        return 1;
    }
    return 0;
}

int RunCatalogue(const std::vector<std::string>& args) {
    std::string error;
    const auto a = Parse(args, error);
    if (!a) return Refuse(error);
    if (a->words.empty()) return Refuse("name or near expected");
    const CatalogueFiles files{a->catalogue_dir, a->program_dir};
    const auto radius = ParseNumber(a->radius);
    if (!radius || *radius < 0.1f || *radius > 5.0f) return Refuse("the radius must lie in 0.1 .. 5 degrees");
    const auto limit = ParseNumber(a->limit);
    if (!limit) return Refuse("the limiting magnitude must be a number");

    const std::string& kind = a->words[0];
    if (kind == "name") {
        if (a->words.size() < 2) return Refuse("a Flamsteed name such as \"58 Ori\" expected");
        std::string name = a->words[1];
        for (std::size_t i = 2; i < a->words.size(); ++i) name += " " + a->words[i];
        const SkyCat cat(files, name.c_str(), *radius);
        return Report(cat, a->json);
    }
    if (kind == "near") {
        if (a->words.size() != 3) return Refuse("RA (hours) and DE (degrees) expected");
        const auto ra = ParseNumber(a->words[1]);
        const auto de = ParseNumber(a->words[2]);
        if (!ra || !de) return Refuse("RA and DE must be decimal numbers");
        const SkyCat cat(files, *ra, *de, *radius, *limit);
        return Report(cat, a->json);
    }
    return Refuse("unknown search \"" + kind + "\"");
}

const CommandRegistration reg{"catalogue", kUsage, RunCatalogue};

}  // namespace
