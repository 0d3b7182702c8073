// Writes the fuzz targets' seed corpora into SOURCE_DIR/fuzz/corpus/<input>/
// with the program's own writers (session files, settings, station lists),
// the test builders of BMP, DIB, Photo CD and video files, and slices of the
// shipped catalogue.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bmp_test_files.h"
#include "files/settings_file.h"
#include "files/station_list.h"
#include "pcd_test_files.h"
#include "platform/scripted.h"
#include "session/fixed_text.h"
#include "session/session_data.h"
#include "video_test_files.h"

namespace fs = std::filesystem;

namespace {

fs::path root;

void Put(const std::string& input, const std::string& name, const std::string& bytes) {
    const fs::path dir = root / "fuzz/corpus" / input;
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary) << bytes;
}
void Put(const std::string& input, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    Put(input, name, std::string(bytes.begin(), bytes.end()));
}
std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void SessionFiles(const fs::path& scratch) {
    for (const char* example : {"per0812a.dar", "spo0813b.kes"}) {
        const fs::path from = root / "data/examples" / example;
        Put("session_file", example, Read(from));
        // The same session in the Redsky layout, written by Save.
        SessionData s;
        ScriptedMessageBox mb;
        if (s.Retrieve(from.c_str(), mb, false) <= 0) continue;
        SessionData::dlgdat.astrometry = 0;
        const fs::path out = scratch / "redsky";
        mb.answers.assign(2, MbAnswer::Yes);
        if (s.Save(out.c_str(), scratch.c_str(), mb) != 0) Put("session_file", std::string("redsky_") + example, Read(out));
    }
}

void Images() {
    using bmp_test::Layout;
    const std::vector<std::pair<std::string, Layout>> layouts = {
        {"plain", Layout{}},
        {"top_down", Layout{.height = -5}},
        {"v5_header", Layout{.header_size = 124}},
        {"short_table", Layout{.colours = 16, .clr_used = 16}},
        {"editor_table", Layout{.width = 9, .height = 3, .editor_table = true}},
        {"gap", Layout{.gap = 6}},
    };
    for (const auto& [name, l] : layouts) {
        Put("bmp_file", name + ".bmp", bmp_test::File(l));
        Put("clipboard_dib", name + ".dib", bmp_test::Dib(l));
    }
    Put("bmp_file", "imagemagick_gradient.bmp", Read(root / "tests/image/data/gradient_37x23.bmp"));
    // Photo CD: the three stored resolutions, and a pac cut inside its Base.
    std::vector<std::uint8_t> pac = pcd_test::BuildImagePac({.highest_step = 3});
    Put("photo_cd", "base.pcd", pac);
    pac.resize(65536);
    Put("photo_cd", "cut.pcd", pac);
}

void Videos(const fs::path& scratch) {
    struct Case {
        const char* name;
        const char* encoder;
        AVPixelFormat format;
    };
    for (const Case& c : {Case{"gray.avi", "rawvideo", AV_PIX_FMT_GRAY8}, Case{"ffv1.mkv", "ffv1", AV_PIX_FMT_YUV420P},
                          Case{"mjpeg.mp4", "mjpeg", AV_PIX_FMT_YUVJ420P}}) {
        TestVideo v;
        v.encoder = c.encoder;
        v.pix_fmt = c.format;
        v.width = 16;
        v.height = 16;
        v.frames = 4;
        v.pixel = [](int f, int x, int y) { return static_cast<std::uint8_t>(16 * f + x + 3 * y); };
        if (std::string(c.name) == "gray.avi") v.empty_frames = {2};
        const fs::path p = scratch / c.name;
        WriteTestVideo(p.string(), v);
        Put("video", c.name, Read(p));
    }
}

void SettingsAndStations(const fs::path& scratch) {
    SettingsEnvironment env{scratch, "/home/Observer", 1920, 1080};
    Options o;
    StartSettings start = GetIniValues(env, o);
    WriteIniValues(env, o, start, start.window, false);
    Put("settings", "defaults.ini", Read(SettingsPath(env)));
    o.radius = 2.5f;
    o.limit = 6.5f;
    o.pcdres = 3;
    o.randomness = 4;
    copy_text(o.image, "/photos/1999/*.pcd");
    WriteIniValues(env, o, start, WindowPlacement{10, 20, 800, 600}, false);
    Put("settings", "changed.ini", Read(SettingsPath(env)));

    const fs::path list = scratch / "station.dat";
    fs::remove(list);
    StationData s;
    for (const char* name : {"Darnholm", "Ondrejov"}) {
        copy_text(s.name, name);
        copy_text(s.latdeg, "48");
        copy_text(s.latmin, "30");
        copy_text(s.latsec, "12.5");
        copy_text(s.londeg, "-11");
        copy_text(s.height, "450");
        AddStation(list, s);
    }
    Put("station_list", "two.dat", Read(list) + "  End of file\n");
    Put("station_list", "without_end.dat", Read(list));
}

void Catalogue() {
    const std::string records = Read(root / "data/catalogue/skycat.dat");
    const std::string index = Read(root / "data/catalogue/velkarn.ndx");
    const std::string polar = Read(root / "data/catalogue/skycat.pol");
    // Records around 5 h (Orion), some index entries, the polar list.
    const std::size_t at = records.size() / 107 * 5 / 24 * 107;
    Put("catalogue", "orion", std::string("\x28\x10") + records.substr(at, 40 * 107) + index.substr(0, 16 * 6) + polar);
    Put("catalogue", "first", std::string("\x10\x08") + records.substr(0, 16 * 107) + index.substr(0, 8 * 6));
}

void NumericTexts() {
    int n = 0;
    for (const char* text : {"\x00\x01\x02" "123", "\x01\x00\x04-12a3", "\x02\x02\x05" "12.5.3", "\x02\x00\x00..x9"}) {
        Put("numeric_filter", "text" + std::to_string(n++), std::string(text, 3 + std::strlen(text + 3)));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: velkarn-make-corpus SOURCE_DIR\n");
        return 2;
    }
    root = argv[1];
    const fs::path scratch = fs::temp_directory_path() / "velkarn-make-corpus";
    fs::create_directories(scratch);
    SessionFiles(scratch);
    Images();
    Videos(scratch);
    SettingsAndStations(scratch);
    Catalogue();
    NumericTexts();
    fs::remove_all(scratch);
    return 0;
}
