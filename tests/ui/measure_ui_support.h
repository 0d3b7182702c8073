#pragma once
// Pictures, sessions and hands for the window tests of the measuring
// dialogs: a still picture or a video whose every pixel has a known grey
// level, clicks and keys on the magnifier as an observer gives them, and
// what the magnifier shows, read back from its painted pixels.

#include <QAbstractButton>
#include <QTest>
#include <cmath>

#include "identify/identify_scene.h"
#include "image/meteor_image.h"
#include "measure/magnifier.h"
#include "session/fixed_text.h"
#include "platform/scripted.h"
#include "session/session_data.h"
#include "ui/measure/meas_control.h"
#include "ui/measure/measure_dialog_window.h"
#include "ui_test_support.h"

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


using ui_test::Painted;

// The image pixels the magnifier paints (the green of one control pixel of
// each 4 x 4 block), 80 x 80, bottom row first.
inline std::vector<std::uint8_t> MagnifierPixels(TMeasureDialog& d) {
    const QImage img = Painted(d.MagnifierControl());
    std::vector<std::uint8_t> grey(80 * 80);
    for (int r = 0; r < 80; ++r)
        for (int c = 0; c < 80; ++c) grey[r * 80 + c] = qGreen(img.pixel(4 * c + 1, 317 - 4 * r));
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

// A measuring dialog over a GreyPicture of w x h (a video with frames > 1),
// the program-wide session set up and reset, message boxes scripted.
template <class Dialog>
class DialogTest : public testing::Test {
protected:
    explicit DialogTest(int w, int h, int frames = 1) : image_(w, h, frames) {
        Session = &session_;
        Mimg = &image_;
    }
    // Resets the program-wide session state a dialog test may leave behind.
    ~DialogTest() override {
        Session = nullptr;
        Mimg = nullptr;
        SessionData::dlgdat = DialogData{};
    }
    // Shows the dialog and lets it paint.
    void Show(std::unique_ptr<Dialog> dialog) {
        dialog_ = std::move(dialog);
        dialog_->show();
        QApplication::processEvents();
    }
    void Press(int id) { QTest::mouseClick(dialog_->template ControlAs<QAbstractButton>(id), Qt::LeftButton); }
    SessionData& session() { return session_; }

    GreyPicture image_;
    SessionData session_;
    ScriptedMessageBox messages_;
    std::unique_ptr<Dialog> dialog_;
};

// The shipped catalogue, as the program finds it.
using identify_test::ShippedCatalogue;

}  // namespace measure_ui
