// The magnifier's edges the window tests do not reach: clicks and keys at
// every edge of the image and the control, the markers pixel for pixel, a
// frame that cannot be drawn, and the replay offsets.
#include <gtest/gtest.h>

#include <optional>

#include "measure/magnifier.h"
#include "measure/magnifier_render.h"
#include "measure/measure_dialog.h"
#include "measure/replay_random.h"
#include "measure_test_support.h"
#include "platform/raster_canvas.h"

using namespace measure_test;

namespace {

const Rgb kGrey{128, 128, 128};
const Rgb kWhite{255, 255, 255};

Rgb Of(MarkerFill f) { return {f.red, f.green, f.blue}; }

RasterCanvas Render(MeteorImage& image, const Magnifier& m, const std::vector<MagnifierMarker>& markers = {}) {
    RasterCanvas c(320, 320, {1, 2, 3});
    RenderMagnifier(c, &image, m, markers);
    return c;
}

// Control pixel (x, y) shows want, or the image pixel under it when unset.
struct Px {
    int x, y;
    std::optional<Rgb> want;
};
void ExpectPixels(const RasterCanvas& c, WindowOrigin o, std::initializer_list<Px> pixels) {
    for (const Px& p : pixels) {
        const std::uint8_t v = TestPicture::Level(o.x + p.x / 4, o.y + (319 - p.y) / 4);
        EXPECT_EQ(c.At(p.x, p.y), p.want.value_or(Rgb{v, v, v})) << "control pixel " << p.x << ", " << p.y;
    }
}

TEST(MagnifierClick, ClicksOnTheGreyBeyondTheImageOrOnADisabledControlMeasureNothing) {
    // Opened at column 10: the window starts 30 columns left of the image.
    Magnifier m(MagnifierOrigin(10, 75, 150));
    ASSERT_EQ(m.origin().x, -30);
    EXPECT_FALSE(m.Click({119, 160}, 200, 150));
    EXPECT_FALSE(m.marked());
    EXPECT_EQ(m.Click({120, 160}, 200, 150), (ControlPoint{120, 160}));
    EXPECT_TRUE(m.marked());
    EXPECT_FALSE(m.Click({320, 160}, 200, 150));  // outside the control
    Magnifier corner(WindowOrigin{150, 100});
    EXPECT_TRUE(corner.Click({199, 200}, 200, 150));   // column 199, row 129
    EXPECT_FALSE(corner.Click({200, 200}, 200, 150));  // column 200
    EXPECT_TRUE(corner.Click({100, 120}, 200, 150));   // row 149
    EXPECT_FALSE(corner.Click({100, 119}, 200, 150));  // row 150

    Magnifier disabled(WindowOrigin{10, 10});
    disabled.SetEnabled(false);
    EXPECT_FALSE(disabled.Click({160, 160}, 200, 150));
    EXPECT_FALSE(disabled.Key(MagnifierKey::Space, false, 200, 150));
    EXPECT_FALSE(disabled.marked());
}

TEST(MagnifierDrawing, AFrameTheSourceCannotDrawLeavesNoOldPixelsBehind) {
    TestVideo video(200, 150, 5);
    RasterCanvas c(320, 320, {1, 2, 3});
    RenderMagnifier(c, &video, Magnifier(WindowOrigin{10, 10}, 2), {});
    ExpectPixels(c, {10, 10}, {{160, 160, {}}});
    video.frame_picture.clear();  // as after a frame that failed to decode
    RenderMagnifier(c, &video, Magnifier(WindowOrigin{10, 10}, 3), {});
    EXPECT_EQ(c.At(160, 160), kGrey);
}

// Markers round the window centre of a new measurement at origin (100, 200).
class MagnifierMarkersTest : public ::testing::Test {
protected:
    static constexpr WindowOrigin kOrigin{100, 200};
    // Plate position of a point dx, dy pixels from the window's centre.
    static float X(double dx) { return static_cast<float>((kOrigin.x + 40 + dx) * 0.012); }
    static float Y(double dy) { return static_cast<float>((kOrigin.y + 40 + dy) * 0.012); }
    void AddStar(const char* name, double dx, double dy, bool hidden = false) {
        Star s(Cat(name, 5, 0, 0), X(dx), Y(dy));
        s.hidden = hidden;
        session.AddStar(s, 0);
    }
    std::vector<MagnifierMarker> Markers(bool enabled, MarkerReference ref = WindowCentreReference(kOrigin)) {
        return MagnifierMarkers(session, kOrigin, enabled, ref);
    }
    SessionData session;
};

// Within two pixels of the centre a star or a meteor point from the third
// on is a cross while the control is enabled; the rest are discs coloured
// by their kind.
TEST_F(MagnifierMarkersTest, NearTheCentreIsACrossWhenEnabledAndTheRestAreDiscsOfTheirKind) {
    AddStar("near", 1.5, 0);
    AddStar("far", 3, 0);
    AddStar("hidden", -10, 10, true);
    for (int j = 0; j < 3; ++j) session.AddMetPnt(Meteor(X(0.5 * j), Y(0), j));
    copy_text(session.meteors[0].label, "Maximum");
    using enum MagnifierMarker::Shape;
    const auto m = Markers(true);
    ASSERT_EQ(m.size(), 6u);
    EXPECT_EQ(m[0], (MagnifierMarker{Cross, ControlPoint{166, 159}, kVisibleStarFill}));
    EXPECT_EQ(m[1].shape, Disc);
    EXPECT_EQ(m[2].fill, kHiddenStarFill);
    EXPECT_EQ(m[3], (MagnifierMarker{Disc, m[3].at, kMaximumFill}));
    EXPECT_EQ(m[4], (MagnifierMarker{Disc, m[4].at, kMeteorFill}));
    EXPECT_EQ(m[5].shape, Cross);
    EXPECT_EQ(Markers(false)[0].shape, Disc);
}

TEST_F(MagnifierMarkersTest, ItemsOffTheControlAreLeftOutTheRestDrawnOverTheImageAndAReplayDoesNotDrawItsOwnItem) {
    AddStar("left", -41, 0);    // column 99: off the window
    AddStar("edge", -40, -40);  // the window's bottom-left pixel
    AddStar("above", 0, 40);    // row 240: off the window
    AddStar("again", 10, 10);
    ASSERT_EQ(Markers(true).size(), 2u);
    TestPicture image(1000, 1000);
    const RasterCanvas c = Render(image, Magnifier(kOrigin), Markers(true));
    const Rgb fill = Of(kVisibleStarFill);
    // The disc at (0, 319): a 4 x 4 fill inside a white ring, 6 x 6 in all.
    ExpectPixels(c, kOrigin, {{0, 318, fill}, {1, 317, fill}, {2, 318, kWhite}, {0, 316, kWhite}, {3, 318, {}}});
    const ControlPoint p = MarkerPixel(kOrigin, X(10), Y(10));
    ExpectPixels(c, kOrigin,
                 {{p.x, p.y, fill}, {p.x - 2, p.y - 2, fill}, {p.x + 1, p.y + 1, fill}, {p.x - 3, p.y - 2, kWhite},
                  {p.x - 3, p.y - 3, {}}, {p.x + 2, p.y + 2, {}}, {p.x - 2, p.y + 2, kWhite}, {p.x + 3, p.y, {}}});

    // Replaying star 3: it is not drawn, and a star within two pixels of it
    // is the cross.
    AddStar("close", 11, 10);
    const auto m = Markers(true, {session.fxstr(3), session.fystr(3), 3});
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[1].shape, MagnifierMarker::Shape::Cross);
}

// The window tests step the cross with the arrows; here its edges.
TEST(MagnifierKeys, TheCrossNeverLeavesTheControlAndSpaceOnTheGreyMeasuresNothing) {
    Magnifier m(WindowOrigin{100, 200});
    m.Click({1, 318}, 1000, 1000);
    m.Key(MagnifierKey::Left, true, 1000, 1000);
    m.Key(MagnifierKey::Down, true, 1000, 1000);
    EXPECT_EQ(m.cross(), (ControlPoint{0, 319}));

    Magnifier beyond(WindowOrigin{-30, 0});
    for (int i = 0; i < 11; ++i) beyond.Key(MagnifierKey::Left, true, 200, 150);
    EXPECT_EQ(beyond.cross(), (ControlPoint{116, 159}));
    EXPECT_FALSE(beyond.Key(MagnifierKey::Space, false, 200, 150));
    beyond.Key(MagnifierKey::Right, true, 200, 150);
    EXPECT_TRUE(beyond.Key(MagnifierKey::Space, false, 200, 150));
}

TEST(ReplayOffsets, EachSignIsMinusHalfTheTimeAndRandomnessZeroDisplacesNothing) {
    ReplayRandom random(12345);
    int minus_x = 0, minus_y = 0;
    constexpr int kDraws = 20000;
    for (int i = 0; i < kDraws; ++i) {
        const ReplayOffsets o = random.Offsets(3);
        ASSERT_TRUE((o.x == 3 || o.x == -3) && (o.y == 3 || o.y == -3));
        minus_x += o.x < 0;
        minus_y += o.y < 0;
    }
    // Four standard deviations of a fair coin: 0.014 of 20 000 draws.
    EXPECT_NEAR(minus_x / double(kDraws), 0.5, 0.014);
    EXPECT_NEAR(minus_y / double(kDraws), 0.5, 0.014);

    ReplayRandom startup(ReplayRandom::StartupSeed());
    for (int i = 0; i < 8; ++i) EXPECT_EQ(startup.Offsets(0), (ReplayOffsets{0, 0}));
}

}  // namespace
