#pragma once
// Pictures, sessions and hands for the window tests of the measuring
// dialogs: a still picture or a video whose every pixel has a known grey
// level, clicks and keys on the magnifier as an observer gives them, and
// what the magnifier shows, read back from its painted pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/sky_cat.h"
#include "image/meteor_image.h"
#include "image/packed_dib.h"
#include "measure/magnifier.h"
#include "session/fixed_text.h"
#include "session/session_data.h"
#include "ui/measure/meas_control.h"
#include "ui/measure/measure_dialog_window.h"

namespace measure_ui {

// A picture whose pixel at column c, row r (from the bottom) has grey level
// Level(c, r), never the magnifier's grey 128. With frames > 1 it is a
// video whose every frame shows the same picture; the frame last asked for
// is kept.
class GreyPicture : public MeteorImage {
public:
    GreyPicture(int w, int h, int frame_count = 1) : frames(frame_count) {
        type = frame_count > 1 ? ImageType::Video : ImageType::Still;
        width = w;
        height = h;
        picture = packed_dib::MakeGreyDib(w, h);
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c) packed_dib::Row(picture, w, r)[c] = Level(c, r);
        frame_picture = picture;
    }
    static std::uint8_t Level(int c, int r) { return static_cast<std::uint8_t>(10 + (7 * c + 3 * r) % 100); }
    int GetNFr() const override { return frames; }
    void Display(Canvas& dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh, int frame) override {
        last_frame = frame;
        MeteorImage::Display(dc, x, y, w, h, sx, sy, sw, sh, frame);
    }
    int frames;
    int last_frame = -2;
};

inline CatStar Cat(const char* name, float mag, float ra, float de) {
    CatStar c;
    copy_text(c.name, name);
    c.mag = mag;
    c.ra = ra;
    c.de = de;
    return c;
}

// A catalogue name without its leading blanks, as an observer types it.
inline std::string Trimmed(const char* name) {
    std::string s(name);
    return s.substr(s.find_first_not_of(' '));
}

// What a widget shows now, one QRgb per pixel.
inline QImage Painted(QWidget* w) {
    QApplication::processEvents();
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The magnifier's pixels as grey levels (their green), top row first.
inline std::vector<std::uint8_t> MagnifierGrey(TMeasureDialog& d) {
    const QImage img = Painted(d.MagnifierControl());
    std::vector<std::uint8_t> grey(static_cast<std::size_t>(img.width()) * img.height());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) grey[static_cast<std::size_t>(y) * img.width() + x] = qGreen(img.pixel(x, y));
    return grey;
}

// The control pixel whose quarter-pixel position is nearest to the image
// position (u, v): u from the image's left edge, v from its bottom edge.
inline ControlPoint ControlPixelFor(WindowOrigin o, double u, double v) {
    return {static_cast<int>(std::lround(4 * (u - o.x))), 319 - static_cast<int>(std::lround(4 * (v - o.y)))};
}

// A left click in the magnifier, and the queued position it sends.
inline void ClickMagnifier(TMeasureDialog& d, ControlPoint p, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(d.MagnifierControl(), button, {}, QPoint(p.x, p.y));
    QApplication::processEvents();
}

// The display pixel (column, row from the top) of plate position (x, y)
// mm: the pixel a click in the image view would open a dialog for.
inline int ColumnOf(float x) { return static_cast<int>(x * (250.0f / 3.0f)); }
inline int RowOf(float y, int height) { return height - 1 - static_cast<int>(y * (250.0f / 3.0f)); }

// Resets the program-wide session state a dialog test may leave behind.
struct SessionGuard {
    SessionData session;
    MeteorImage* image;
    explicit SessionGuard(MeteorImage* img) : image(img) {
        Session = &session;
        Mimg = image;
    }
    ~SessionGuard() {
        Session = nullptr;
        Mimg = nullptr;
        SessionData::dlgdat = DialogData{};
    }
};

// The shipped catalogue, as the program finds it.
inline CatalogueFiles ShippedCatalogue() {
    const std::filesystem::path dir = std::filesystem::path(VELKARN_SOURCE_DIR) / "data" / "catalogue";
    return {dir, dir};
}

}  // namespace measure_ui
