#include "files/settings_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "files/atomic_file.h"
#include "platform/c_locale.h"
#include "session/fixed_text.h"

namespace {

// A stored line is cut here; a longer line holds no setting the program
// wrote, since every text value is limited to 259 characters.
constexpr std::size_t kMaxLineLength = 1024;

std::vector<std::string> ReadIniLines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (lines.size() < kIniLinesRead && std::getline(in, line)) {
        // A line ends at a carriage return (a file edited elsewhere) or a
        // NUL byte (which ends the text fields that hold the values), so
        // that every value written back reads back the same.
        line.resize(std::min(std::strlen(line.c_str()), line.find('\r')));
        if (line.size() > kMaxLineLength) line.resize(kMaxLineLength);
        lines.push_back(line);
    }
    return lines;
}

WindowPlacement ReadWindow(const std::vector<std::string>& lines, const SettingsEnvironment& env) {
    const WindowPlacement screen{0, 0, env.screen_width, env.screen_height};
    const auto value = GetIniLine("Window", lines);
    if (!value) return screen;
    WindowPlacement w;
    if (std::sscanf(value->c_str(), "%i%i%i%i", &w.left, &w.top, &w.width, &w.height) != 4) return screen;
    return w;
}

unsigned int ReadMarkCenter(const std::vector<std::string>& lines) {
    const auto value = GetIniLine("MarkCenter", lines);
    unsigned int v = 1;
    if (value && std::sscanf(value->c_str(), "%u", &v) == 1) return v;
    return 1;
}

// Files written before the overlay existed lack the line: off.
unsigned int ReadCatalogueOverlay(const std::vector<std::string>& lines) {
    const auto value = GetIniLine("CatalogueOverlay", lines);
    unsigned int v = 0;
    if (value && std::sscanf(value->c_str(), "%u", &v) == 1) return v != 0 ? 1 : 0;
    return 0;
}

int ReadPcdResolution(const std::vector<std::string>& lines) {
    const auto value = GetIniLine("PCDResolution", lines);
    int v = 0;
    if (value && std::sscanf(value->c_str(), "%i", &v) == 1 && v >= 2 && v <= 5) return v;
    return 5;
}

int ReadRandomness(const std::vector<std::string>& lines) {
    const auto value = GetIniLine("Randomness", lines);
    int v = 0;
    if (!value || std::sscanf(value->c_str(), "%i", &v) != 1) return 0;
    return v >= 0 && v <= 10 ? v : 1;
}

// Radius and limit are checked separately; a number that does not parse is 0
// and so out of range. NaN counts as out of range too.
void ReadSkycatParms(const std::vector<std::string>& lines, Options& options) {
    float radius = 0.5f;
    float limit = 8.0f;
    if (const auto value = GetIniLine("SkycatParms", lines)) {
        radius = 0.0f;
        limit = 0.0f;
        std::sscanf(value->c_str(), "%f%f", &radius, &limit);
        if (!(radius >= 0.1 && radius <= 5.0)) radius = 0.5f;
        if (!(limit >= 6.0 && limit <= 8.0)) limit = 8.0f;
    }
    options.radius = radius;
    options.limit = limit;
}

std::string ReadText(const std::vector<std::string>& lines, std::string_view key, const std::string& fallback) {
    return GetIniLine(key, lines).value_or(fallback);
}

// A path setting, or its default when it is too long for its field.
std::string ReadPath(const std::vector<std::string>& lines, std::string_view key, const std::string& fallback,
                     std::vector<std::string>& warnings) {
    const std::string value = ReadText(lines, key, fallback);
    if (FitsOptionPath(value)) return value;
    const std::string setting = std::string(key) + " in velkarn.ini";
    if (value != fallback && FitsOptionPath(fallback)) {
        warnings.push_back(OverlongPathText(value, setting + " is not used; the default\n" + fallback + "\nis."));
        return fallback;
    }
    warnings.push_back(OverlongPathText(value, setting + " is left empty."));
    return std::string();
}

// Paths on a removable drive are not remembered: they may be gone next time.
const char* RememberedPath(const char* current, const char* at_start) {
    return current[0] == 'a' || current[0] == 'b' ? at_start : current;
}

}  // namespace

std::filesystem::path SettingsPath(const std::filesystem::path& dir) { return dir / "velkarn.ini"; }

std::filesystem::path SettingsPath(const SettingsEnvironment& env) { return SettingsPath(env.SettingsDir()); }

std::optional<std::string> GetIniLine(std::string_view key, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (line.compare(0, key.size(), key) != 0) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) return std::nullopt;
        return line.substr(eq + 1);
    }
    return std::nullopt;
}

StartSettings GetIniValues(const SettingsEnvironment& env, Options& options) {
    CNumericLocale c_numbers;
    const std::vector<std::string> lines = ReadIniLines(SettingsPath(env));
    StartSettings start;
    start.window = ReadWindow(lines, env);
    options.markcenter = ReadMarkCenter(lines);
    options.catoverlay = ReadCatalogueOverlay(lines);
    options.showresiduals = 0;  // not remembered: every start shows the image plain
    options.pcdres = ReadPcdResolution(lines);
    options.randomness = ReadRandomness(lines);
    ReadSkycatParms(lines, options);
    std::vector<std::string>& warnings = start.warnings;
    copy_text(options.skycatdir, ReadPath(lines, "SkycatDir", env.DataDir().string(), warnings));
    copy_text(options.stationfile,
              ReadPath(lines, "StationFile", (env.ProgramDir() / "station.dat").string(), warnings));
    copy_text(options.image, ReadPath(lines, "Image", (env.home_dir / "*.bmp").string(), warnings));
    copy_text(options.outputdir, ReadPath(lines, "OutputDir", env.home_dir.string(), warnings));
    copy_text(options.station, ReadText(lines, "Station=", "Darnholm"));
    copy_text(start.IniImage, options.image);
    copy_text(start.IniOutputDir, options.outputdir);
    return start;
}

bool WriteIniValues(const SettingsEnvironment& env, const Options& options, const StartSettings& start,
                    const WindowPlacement& normal, bool maximised) {
    CNumericLocale c_numbers;
    AtomicFile file(SettingsPath(env));
    if (!file.ok()) return false;
    const WindowPlacement w = maximised ? WindowPlacement{0, 0, env.screen_width, env.screen_height} : normal;
    std::FILE* f = file.stream();
    std::fprintf(f, "[Velkarn]\n");
    std::fprintf(f, "Window=%i %i %i %i\n", w.left, w.top, w.width, w.height);
    std::fprintf(f, "MarkCenter=%u\n", options.markcenter);
    std::fprintf(f, "PCDResolution=%i\n", options.pcdres);
    std::fprintf(f, "Randomness=%i\n", options.randomness);
    std::fprintf(f, "SkycatParms=%4.2f %5.1f\n", options.radius, options.limit);
    std::fprintf(f, "SkycatDir=%s\n", options.skycatdir);
    std::fprintf(f, "StationFile=%s\n", options.stationfile);
    std::fprintf(f, "Image=%s\n", RememberedPath(options.image, start.IniImage));
    std::fprintf(f, "OutputDir=%s\n", RememberedPath(options.outputdir, start.IniOutputDir));
    std::fprintf(f, "Station=%s\n", options.station);
    std::fprintf(f, "CatalogueOverlay=%u\n", options.catoverlay);
    return file.Commit();
}
