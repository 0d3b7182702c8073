// One whole observation measured through the program's windows, as an
// observer does it, on pictures whose truth is known (measure_sky_scene.h):
// the image opened, three bright stars clicked and named, further stars
// identified automatically, the meteor measured point by point, its maximum
// marked, the exposure data entered, everything replayed and the session
// saved. The session file read back and the log line are then checked
// against the truth: every star the star it was drawn from, every meteor
// point on its true sky position within 0.3 pixel once the plate order
// matches the lens, and the log's begin, end and angular velocity.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <array>
#include <cstring>
#include <sstream>

#include "image/still_test_files.h"
#include "image/video_test_files.h"
#include "main_window_fixture.h"
#include "measure_sky_scene.h"
#include "measure_ui_support.h"
#include "shell/display_geometry.h"
#include "ui/dialogs/image_dialog.h"
#include "ui/measure/meteor_dialog_window.h"
#include "ui/measure/replay_dialog_window.h"
#include "ui/measure/star_dialog_window.h"

namespace {

using namespace measure_ui;
namespace fs = std::filesystem;
using sky_scene::Scene;
using sky_scene::TrueStar;

class ObservationTest : public ui_test::MainWindowTest {
protected:
    // The program over its own directory, which holds the shipped catalogue,
    // with the image opened; message boxes, file dialogs and the exposure
    // data are scripted, the measuring dialogs are the real ones.
    void StartProgram(const std::string& image) {
        for (const char* name : {"skycat.dat", "skycat.pol", "velkarn.ndx"}) {
            if (!fs::exists(dir_ / name))
                fs::create_symlink(fs::path(VELKARN_SOURCE_DIR) / "data" / "catalogue" / name, dir_ / name);
        }
        real_dialogs_ = true;
        Start();
        files_.answers.push_back(image);
        ASSERT_TRUE(Choose(cmd::ImgFileOpen));
        ASSERT_NE(Mimg, nullptr);
    }
    std::string PhotoBmp(const Scene& scene) {
        const std::string path = (dir_ / "orion.bmp").string();
        const int w = scene.camera.width, h = scene.camera.height;
        identify_test::WriteBmp(path, identify_test::FromTopDown(sky_scene::RenderPhoto(scene, 11), w, h));
        return path;
    }

    // A click in the image view on image position (u, v).
    void ClickImage(double u, double v, Qt::MouseButton button = Qt::LeftButton) {
        const ScreenPoint p = display().Transform().MMtoDC(static_cast<float>(u * 0.012), static_cast<float>(v * 0.012));
        QTest::mouseClick(display().viewport(), button, {}, QPoint(p.x, p.y));
    }

    // A click on what the observer sees near (u, v): the centroid of the
    // spot in the magnifier; false when nothing shows there.
    bool ClickSpot(TMeasureDialog& d, double u, double v) {
        const WindowOrigin o = d.core().magnifier().origin();
        const std::vector<std::uint8_t> pixels = MagnifierPixels(d);
        const CentroidResult seen = StarCentroid({pixels.data(), 80, 80, 80}, u - o.x, v - o.y);
        if (!seen.centre) return false;
        const double su = o.x + seen.centre->x, sv = o.y + seen.centre->y;
        const double off = std::hypot(su - u, sv - v);
        if (off > 0.5) ADD_FAILURE() << "a spot seen " << off << " pixels from where it lies";
        ClickMagnifier(d, ControlPixelFor(d.core().magnifier().origin(), su, sv));
        return true;
    }
    bool InMagnifier(TMeasureDialog& d, double u, double v) {
        const ControlPoint p = ControlPixelFor(d.core().magnifier().origin(), u, v);
        return p.x >= 4 && p.y >= 4 && p.x < 316 && p.y < 316;
    }

    // Measures scene star i: a click on it in the image view, then in the
    // magnifier where the observer sees it (or at its true place, rounded to
    // the quarter pixel); by name for the first three, automatically after.
    void MeasureStar(const TrueStar& t, bool by_name, bool at_truth = false) {
        bool closed = false;
        ui_test::WhenModal("STAR_DIALOG", [&](QWidget* w) {
            auto* d = static_cast<TStarDialog*>(w);
            if (at_truth) {
                ClickMagnifier(*d, ControlPixelFor(d->core().magnifier().origin(), t.u, t.v));
            } else if (!ClickSpot(*d, t.u, t.v)) {
                ADD_FAILURE() << "no star seen at " << t.cat.name;
                d->reject();
                return;
            }
            auto* name = d->ControlAs<QLineEdit>(171);
            if (by_name) {
                QTest::keyClicks(name, QString(t.cat.name).trimmed());
                QTest::keyClick(name, Qt::Key_Return);
            }
            const CatStar* chosen = d->star().candidate(d->star().selected());
            EXPECT_TRUE(chosen && std::strcmp(chosen->name, t.cat.name) == 0)
                << t.cat.name << " was taken for " << (chosen ? chosen->name : "nothing");
            QTest::keyClick(name, Qt::Key_Return);
            closed = !d->isVisible();
        });
        ClickImage(t.u, t.v);
        EXPECT_TRUE(closed) << t.cat.name;
    }

    // Every star of the scene's choice, the first three by name.
    void MeasureStars(const Scene& scene, bool at_truth = false) {
        for (std::size_t i = 0; i < scene.chosen.size(); ++i) {
            MeasureStar(scene.chosen[i], i < 3, at_truth);
            ASSERT_EQ(session().nstar, i + 1) << scene.chosen[i].cat.name;
        }
    }

    // Measure > Replay stars + meteor, each item clicked where it is seen
    // (a star) or where it truly lies (a break), one window after another.
    void Replay(const Scene& scene, bool spots) {
        std::function<void(QWidget*)> answer = [&](QWidget* w) {
            auto* d = static_cast<TReplayDialog*>(w);
            const int index = d->core().index();
            const int nstar = static_cast<int>(scene.chosen.size());
            bool ok = false;
            if (index < nstar) {
                ok = ClickSpot(*d, scene.chosen[index].u, scene.chosen[index].v);
            } else {
                const sky_scene::TruePoint& p = scene.meteor[index - nstar];
                ok = spots ? ClickSpot(*d, p.u, p.v) : InMagnifier(*d, p.u, p.v);
                if (ok && !spots) ClickMagnifier(*d, ControlPixelFor(d->core().magnifier().origin(), p.u, p.v));
            }
            EXPECT_TRUE(ok) << "item " << index << " not found in its replay window";
            QTest::mouseClick(d->ControlAs<QPushButton>(1), Qt::LeftButton);
            if (index + 1 < nstar + static_cast<int>(scene.meteor.size())) ui_test::WhenModal("REPLAY_DIALOG", answer);
        };
        ui_test::WhenModal("REPLAY_DIALOG", answer);
        ASSERT_TRUE(Choose(cmd::Replay));
    }

    // The exposure data the observer enters: the exposure and reference
    // times as hour, minute, second each, on 12 August 2000.
    void EnterExposure(const char* meteor, std::array<const char*, 6> times, const char* shutter) {
        exposure_.entered = [=](DialogData& d) {
            char* fields[] = {d.hour, d.minute, d.second, d.refhour, d.refminute, d.refsecond};
            for (int i = 0; i < 6; ++i) std::strcpy(fields[i], times[i]);
            copy_text(d.year, "2000");
            copy_text(d.month, "8");
            copy_text(d.day, "12");
            copy_text(d.meteor, meteor);
            copy_text(d.shutter, shutter);
        };
        ASSERT_TRUE(Choose(cmd::ExpData));
        EXPECT_EQ(SessionData::dlgdat.status, 0);
    }

    // Saves the session, then reads the file back and checks it against the
    // scene: the stars' names and the meteor points' sky positions (in
    // pixels of the image scale).
    void SaveAndCheck(const std::string& name, const Scene& scene, int order) {
        const std::string path = (dir_ / name).string();
        files_.answers.push_back(path);
        messages_.answers.clear();
        const std::size_t shown = messages_.shown.size();
        EXPECT_TRUE(Choose(cmd::SaveSession));
        for (std::size_t i = shown; i < messages_.shown.size(); ++i)
            ADD_FAILURE() << "saving asked: " << messages_.shown[i].text;
        ScriptedMessageBox mb;
        SessionData back;
        EXPECT_GT(back.Retrieve(path.c_str(), mb, false), 0);
        EXPECT_EQ(back.nstar, scene.chosen.size());
        EXPECT_EQ(back.order, order);
        EXPECT_EQ(back.nreplay, 1u);
        for (unsigned i = 0; i < back.nstar && i < scene.chosen.size(); ++i) {
            // The file keeps names in a column of nine characters.
            EXPECT_EQ(std::string(back.stars[i].name).rfind(scene.chosen[i].cat.name, 0), 0u) << back.stars[i].name;
            EXPECT_EQ(back.ExistStar(scene.chosen[i].cat.name), 1) << "a star read back is known by its name";
            EXPECT_EQ(back.stars[i].nrep, 1) << back.stars[i].name;
        }
        EXPECT_EQ(back.nmet, scene.meteor.size());
        for (unsigned j = 0; j < back.nmet && j < scene.meteor.size(); ++j) {
            EXPECT_EQ(back.meteors[j].nrep, 1);
            float ra = 0, de = 0;
            back.EstimateRADE(back.fxmet(static_cast<int>(j)), back.fymet(static_cast<int>(j)), ra, de);
            const double off = sky_scene::Separation(ra, de, scene.meteor[j].ra, scene.meteor[j].de) * 3600 /
                               scene.camera.ArcsecPerPixel();
            EXPECT_LT(off, 0.3) << "meteor point " << j;
        }
    }

    // The log's begin, end and angular velocity against the truth, the
    // right ascensions brought to the meteor time by shift_deg.
    void CheckLog(const fs::path& log, const Scene& scene, double shift_deg, double shutter) {
        std::ifstream in(log);
        std::string line, last;
        while (std::getline(in, line))
            if (!line.empty() && line[0] == '"') last = line;
        // After the quoted meteor name: the date in six fields, magnitude,
        // angular velocity and its error, begin and end right ascension and
        // declination, standard deviation and surround.
        std::istringstream rest(last.substr(last.find('"', 1) + 1));
        std::vector<std::string> date(6);
        std::vector<double> l(9);
        for (std::string& d : date) rest >> d;
        for (double& v : l) rest >> v;
        const double px = scene.camera.ArcsecPerPixel() / 3600;  // degrees per pixel
        const sky_scene::TruePoint &b = scene.meteor.front(), &e = scene.meteor.back();
        const double rab = std::fmod(b.ra * 15 + shift_deg + 360, 360), rae = std::fmod(e.ra * 15 + shift_deg + 360, 360);
        const double cos_de = std::cos(b.de * 3.14159265 / 180);
        EXPECT_NEAR(std::fmod(l[3] + 360, 360), rab, 0.3 * px / cos_de + 0.0005);
        EXPECT_NEAR(l[4], b.de, 0.3 * px + 0.0005);
        EXPECT_NEAR(std::fmod(l[5] + 360, 360), rae, 0.3 * px / cos_de + 0.0005);
        EXPECT_NEAR(l[6], e.de, 0.3 * px + 0.0005);
        const double w = scene.step_deg * shutter;
        EXPECT_NEAR(l[1], w, 0.003 * w + 0.005) << "true angular velocity " << w << " deg/s";
        EXPECT_EQ(l[8], 100);
    }

    // The photograph of PhotoScene in a file: opened, its display adjusted as
    // the observer likes it, measured, replayed, saved and checked.
    void MeasurePhotograph(const Scene& scene, const std::string& image, const std::function<void()>& adjust) {
        ASSERT_EQ(scene.chosen.size(), 18u);
        StartProgram(image);
        if (adjust) adjust();

        MeasureStars(scene);
        // Eleven stars and more bring the cubic plate constants the lens needs.
        QTest::mouseClick(status().PlusButton(), Qt::LeftButton);
        ASSERT_EQ(session().order, 3);

        // The breaks, one after another in one meteor dialog.
        ASSERT_TRUE(Choose(cmd::MeteorMode));
        const auto& breaks = scene.meteor;
        bool measured = false;
        ui_test::WhenModal("METEOR_DIALOG", [&](QWidget* wd) {
            auto* d = static_cast<TMeteorDialog*>(wd);
            for (const sky_scene::TruePoint& b : breaks) {
                ClickMagnifier(*d, ControlPixelFor(d->core().magnifier().origin(), b.u, b.v));
                QTest::mouseClick(d->ControlAs<QPushButton>(191), Qt::LeftButton);
            }
            QTest::mouseClick(d->ControlAs<QPushButton>(176), Qt::LeftButton);
            measured = !d->isVisible();
        });
        ClickImage(breaks[0].u, breaks[0].v);
        ASSERT_TRUE(measured);
        ASSERT_EQ(session().nmet, breaks.size());

        // The brightest break, from the image view's menu.
        ui_test::WhenPopup([](QMenu* menu) { ui_test::ClickItem(menu, cmd::CtxMax); });
        ClickImage(breaks[6].u, breaks[6].v, Qt::RightButton);
        EXPECT_STREQ(session().meteors[6].label, "Maximum");

        // 5 min 42 s from the reference time to the meteor.
        EnterExposure("ori0812a", {"23", "15", "42", "23", "10", "00"}, "25.0");
        Replay(scene, false);
        SaveAndCheck("orion.ori", scene, 3);
        const double shift = (5 * 60 + 42) / 3600.0 * 1.00263791 * 15;
        CheckLog(dir_ / "photo00.log", scene, shift, 25.0);
    }
};

// Orion through a 35 mm lens turned by 8 degrees, 2.5 pixels of barrel
// distortion in the corners, a meteor of 13 breaks at 25 breaks a second.
Scene PhotoScene() {
    return sky_scene::MakeScene(ShippedCatalogue(), {.camera = {5.55, 1.0, 35, 8, 2.5 / (800.0 * 800 * 800), 1280, 960},
                                                     .stars_to_choose = 18, .from_u = 420, .from_v = 560, .to_u = 760,
                                                     .to_v = 400, .points = 13});
}

TEST_F(ObservationTest, APhotographMeasuredThroughTheWindowsMatchesItsTruth) {
    const Scene scene = PhotoScene();
    MeasurePhotograph(scene, PhotoBmp(scene), {});
}

// The same field from a 16-bit sensor in a FITS file: the observer lowers
// the black point a little and raises the white point until the sky is dark
// and the stars stand out, then measures as on the BMP, to the same bounds.
TEST_F(ObservationTest, ASixteenBitFitsOfTheSameFieldReducesAsWellAsItsBmp) {
    const Scene scene = PhotoScene();
    const int w = scene.camera.width, h = scene.camera.height;
    const std::vector<std::uint16_t> pixels = sky_scene::RenderPhoto16(scene, 11);
    std::vector<std::int16_t> rows;  // bottom first, as FITS stores them
    for (int r = h - 1; r >= 0; --r)
        for (int c = 0; c < w; ++c) rows.push_back(static_cast<std::int16_t>(pixels[r * w + c] - 32768));
    const auto cards = still_test::ImageCards(16, {w, h}, {"BZERO   =                32768"});
    const std::string fits = still_test::WriteFits("orion.fits", cards, still_test::BigEndian16(rows));
    MeasurePhotograph(scene, fits, [this] {
        bool adjusted = false;
        ui_test::WhenModal("DEEP_IMAGE_DIALOG", [&adjusted](QWidget* w) {
            auto* d = static_cast<TImageDialog*>(w);
            for (int i = 0; i < 2; ++i) QTest::mouseClick(d->ControlAs<QPushButton>(146), Qt::LeftButton);
            for (int i = 0; i < 8; ++i) QTest::mouseClick(d->ControlAs<QPushButton>(149), Qt::LeftButton);
            QTest::mouseClick(d->ControlAs<QPushButton>(1), Qt::LeftButton);
            adjusted = true;
        });
        ASSERT_TRUE(Choose(cmd::ImageBrightness));
        ASSERT_TRUE(adjusted);
    });
}

// Clicks at the rendered stars' true places rounded to the quarter pixel,
// then the same with Options > "Snap clicks to star centre": the centroids
// bring the standard deviation of the reduction down.
TEST_F(ObservationTest, SnappingClicksToStarCentresLowersTheStandardDeviation) {
    const Scene scene = PhotoScene();
    const std::string bmp = PhotoBmp(scene);
    opt.snapcentre = 0;
    double sd[2] = {0, 0};
    for (const int snap : {0, 1}) {
        StartProgram(bmp);
        if (snap) {
            ASSERT_TRUE(Choose(cmd::OptionSnapCentre));
        }
        ASSERT_EQ(opt.snapcentre, static_cast<unsigned>(snap));
        MeasureStars(scene, true);
        QTest::mouseClick(status().PlusButton(), Qt::LeftButton);
        ASSERT_EQ(session().order, 3);
        sd[snap] = session().sd * 3600.0;
    }
    opt.snapcentre = 0;
    EXPECT_LT(sd[1], sd[0]) << "clicked at the quarter pixel: " << sd[0] << "\", snapped: " << sd[1] << "\"";
}

// Orion through a 16.5 mm lens without distortion, a meteor crossing 20
// frames of a 40-frame video at 25 frames a second, written losslessly.
// The meteor's path passes no star within ten pixels.
TEST_F(ObservationTest, AVideoMeasuredFrameByFrameThroughTheWindowsMatchesItsTruth) {
    const Scene scene =
        sky_scene::MakeScene(ShippedCatalogue(), {.camera = {5.55, 1.0, 16.5, 5, 0, 640, 480}, .render_limit = 5.0f,
                                                  .choose_limit = 4.6f, .stars_to_choose = 8, .from_u = 180,
                                                  .from_v = 324, .to_u = 420, .to_v = 224, .points = 20,
                                                  .first_frame = 8});
    ASSERT_EQ(scene.chosen.size(), 8u);
    constexpr int kFrames = 40;
    std::vector<std::vector<std::uint8_t>> frames;
    for (int k = 0; k < kFrames; ++k) frames.push_back(sky_scene::RenderFrame(scene, k, 23));
    const int w = scene.camera.width;
    TestVideo video{.encoder = "ffv1", .width = w, .height = scene.camera.height, .frames = kFrames, .gop = 10};
    video.pixel = [&](int k, int x, int y) { return frames[k][static_cast<std::size_t>(y) * w + x]; };
    const std::string file = (dir_ / "orion.avi").string();
    WriteTestVideo(file, video);

    StartProgram(file);
    ASSERT_EQ(Mimg->GetNFr(), kFrames);

    MeasureStars(scene);
    // Seven stars bring the quadratic plate constants; this lens needs only
    // the linear ones.
    ASSERT_EQ(session().order, 2);
    QTest::mouseClick(status().MinusButton(), Qt::LeftButton);
    ASSERT_EQ(session().order, 1);

    ASSERT_TRUE(Choose(cmd::MeteorMode));
    const auto& points = scene.meteor;
    bool measured = false;
    ui_test::WhenModal("METEOR_DIALOG", [&](QWidget* wd) {
        auto* d = static_cast<TMeteorDialog*>(wd);
        auto* bar = d->ControlAs<QScrollBar>(192);
        // On to the meteor's first frame, a frame at a time.
        while (bar->value() < points[0].frame) bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        for (const sky_scene::TruePoint& p : points) {
            EXPECT_EQ(bar->value(), p.frame);
            EXPECT_TRUE(ClickSpot(*d, p.u, p.v)) << "no meteor seen on frame " << p.frame;
            if (p.frame == points[10].frame)
                QTest::mouseClick(d->ControlAs<QCheckBox>(197), Qt::LeftButton, {}, QPoint(5, 10));
            QTest::keyClick(d, Qt::Key_Return);  // ACCEPT
        }
        QTest::mouseClick(d->ControlAs<QPushButton>(176), Qt::LeftButton);
        measured = !d->isVisible();
    });
    ClickImage(points[0].u, points[0].v);
    ASSERT_TRUE(measured);
    ASSERT_EQ(session().nmet, points.size());
    for (std::size_t j = 0; j < points.size(); ++j) EXPECT_EQ(session().meteors[j].frame, points[j].frame);
    EXPECT_STREQ(session().meteors[10].label, "Maximum");

    EnterExposure("ori0812v", {"23", "15", "42", "23", "15", "42"}, "25.0");
    Replay(scene, true);
    SaveAndCheck("orion.vid", scene, 1);
    // The reference time is the meteor's own: no sidereal shift.
    CheckLog(dir_ / "video00.log", scene, 0.0, 25.0);
}

}  // namespace
