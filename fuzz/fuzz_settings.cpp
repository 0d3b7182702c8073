// The settings file velkarn.ini through GetIniValues: every option within
// its range and every text terminated within its field; written, read and
// written again, the same file.
#include <cmath>
#include <cstring>

#include "files/settings_file.h"
#include "fuzz_support.h"

namespace {

bool Terminated(const char* text, std::size_t size) { return std::memchr(text, '\0', size) != nullptr; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SettingsEnvironment env{fuzz::ScratchDir(), "/home/Observer", 1920, 1080};
    fuzz::WriteInput("velkarn.ini", data, size);
    Options o;
    const StartSettings start = GetIniValues(env, o);
    fuzz::Require(o.pcdres >= 2 && o.pcdres <= 5, "Photo CD resolution out of range");
    fuzz::Require(o.randomness >= 0 && o.randomness <= 10, "randomness out of range");
    fuzz::Require(o.radius >= 0.1f && o.radius <= 5.0f, "search radius out of range");
    fuzz::Require(o.limit >= 6.0f && o.limit <= 8.0f, "limiting magnitude out of range");
    fuzz::Require(Terminated(o.stationfile, sizeof o.stationfile) && Terminated(o.skycatdir, sizeof o.skycatdir) &&
                      Terminated(o.image, sizeof o.image) && Terminated(o.outputdir, sizeof o.outputdir) &&
                      Terminated(o.station, sizeof o.station),
                  "a text option is not terminated");
    // Written, read and written again: the same file. (The file rounds the
    // radius and the limit to its decimals, so the first writing may
    // change what a hand-edited file held.)
    fuzz::Require(WriteIniValues(env, o, start, start.window, false), "the settings could not be written");
    const std::string first = fuzz::ReadText(SettingsPath(env));
    Options back;
    const StartSettings again = GetIniValues(env, back);
    fuzz::Require(WriteIniValues(env, back, again, again.window, false), "the settings could not be written again");
    fuzz::Require(fuzz::ReadText(SettingsPath(env)) == first, "settings written, read and written again differ");
    return 0;
}
