// Writes the example sessions of data/examples/ with SessionData::Save:
//
//   velkarn-make-examples [OUTPUT_DIR [PROGRAM_DIR]]
//
// OUTPUT_DIR defaults to data/examples of the source tree; the log lines of
// the saves go to PROGRAM_DIR (default: a scratch directory that is removed).

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "files/options.h"
#include "image/fake_image.h"
#include "platform/scripted.h"
#include "session/session_data.h"
#include "synthetic_session.h"

namespace {

bool WriteExample(const synthetic::ExampleImage& x, const std::filesystem::path& out,
                  const std::string& program_dir) {
    FakeImage image(x.width, x.height, x.type);
    MeteorImage* saved = Mimg;
    Mimg = &image;
    SessionData s;
    const synthetic::Example e = x.make(s);
    // What the program does before saving: surround and residuals.
    s.surround = s.Getsurround(-1);
    s.CalculateOC();
    std::snprintf(opt.station, sizeof opt.station, "%s", SessionData::dlgdat.station);
    ScriptedMessageBox mb;
    const int result = s.Save((out / e.file_name).c_str(), program_dir.c_str(), mb);
    Mimg = saved;
    std::printf("%s: %u stars, %u points, order %d, sd %.1f arcsec, surround %.0f%%, save result %d\n",
                e.file_name.c_str(), s.nstar, s.nmet, s.order, s.sd * 3600.0, s.surround, result);
    return result == 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path out =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::path(VELKARN_SOURCE_DIR) / "data/examples";
    std::string program_dir;
    std::filesystem::path scratch;
    if (argc > 2) {
        program_dir = argv[2];
    } else {
        std::string pattern = (std::filesystem::temp_directory_path() / "velkarn-log-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return 1;
        scratch = pattern;
        program_dir = pattern;
    }
    std::filesystem::create_directories(out);
    bool ok = true;
    for (const auto& x : synthetic::ExampleImages()) ok = WriteExample(x, out, program_dir) && ok;
    if (!scratch.empty()) std::filesystem::remove_all(scratch);
    return ok ? 0 : 1;
}
