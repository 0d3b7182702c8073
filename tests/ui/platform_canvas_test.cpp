#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "image/packed_dib.h"
#include "platform/raster_canvas.h"
#include "ui/platform/qt_canvas.h"

namespace {

// A DIB whose pixel at (column, row from the bottom) has value
// (7 * column + 13 * row) % 256, through a colour table that maps value v to
// (v, 255 - v, v / 2), so neighbouring pixels differ and any blend shows.
std::vector<std::uint8_t> Pattern(int w, int h) {
    std::vector<std::uint8_t> dib = packed_dib::MakeGreyDib(w, h);
    for (int v = 0; v < 256; ++v) {
        std::uint8_t* e = dib.data() + packed_dib::kHeaderSize + 4 * v;
        e[0] = static_cast<std::uint8_t>(v / 2);
        e[1] = static_cast<std::uint8_t>(255 - v);
        e[2] = static_cast<std::uint8_t>(v);
    }
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            packed_dib::Row(dib, w, row)[col] = static_cast<std::uint8_t>((7 * col + 13 * row) % 256);
    return dib;
}

QImage Target(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3));
    return image;
}

// The DIB drawn by the Qt canvas on a w x h target.
QImage Drawn(const std::vector<std::uint8_t>& dib, CanvasRect dst, CanvasRect src, int w, int h,
             DibViewCache* cache = nullptr) {
    QImage target = Target(w, h);
    QPainter painter(&target);
    QtCanvas(painter, cache).DrawDib(dib.data(), dib.size(), dst, src);
    painter.end();
    return target;
}

// The same drawing on the test canvas, whose sampling is the reference.
void ExpectSameAsRaster(const QImage& drawn, const std::vector<std::uint8_t>& dib, CanvasRect dst, CanvasRect src) {
    RasterCanvas reference(drawn.width(), drawn.height(), Rgb{1, 2, 3});
    reference.DrawDib(dib.data(), dib.size(), dst, src);
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb p = drawn.pixel(x, y);
            ASSERT_EQ(Rgb(qRed(p), qGreen(p), qBlue(p)), reference.At(x, y)) << "at " << x << ", " << y;
        }
}

// Nearest-neighbour sampling through the view's transform, scrolled or
// not, is checked pixel by pixel in the image view's zoom test; here the
// cache of the sampled picture.
TEST(QtCanvas, ARepaintWithOnlyANewColourTableResamplesNothing) {
    std::vector<std::uint8_t> dib = Pattern(97, 61);
    const CanvasRect dst{0, 0, 50, 30}, src{0, 0, 97, 61};
    DibViewCache cache;
    const auto paint = [&] { return Drawn(dib, dst, src, 50, 30, &cache); };
    paint();
    EXPECT_EQ(cache.samplings(), 1);
    // A new ramp (as a brightness step writes it): the colours follow it.
    for (int v = 0; v < 256; ++v) std::fill_n(dib.data() + packed_dib::kHeaderSize + 4 * v, 3, 255 - v);
    ExpectSameAsRaster(paint(), dib, dst, src);
    EXPECT_EQ(cache.samplings(), 1);
    // Pixels changed in the same block: a change on the fingerprint's grid
    // is seen at once, any other after Invalidate.
    packed_dib::Row(dib, 97, 60)[0] = 0;
    ExpectSameAsRaster(paint(), dib, dst, src);
    EXPECT_EQ(cache.samplings(), 2);
    packed_dib::Row(dib, 97, 30)[2] ^= 0xFF;  // column 2 lies between grid columns
    paint();
    EXPECT_EQ(cache.samplings(), 2);
    cache.Invalidate();
    ExpectSameAsRaster(paint(), dib, dst, src);
    EXPECT_EQ(cache.samplings(), 3);
    // Another destination is sampled anew.
    Drawn(dib, CanvasRect{0, 0, 25, 30}, src, 50, 30, &cache);
    EXPECT_EQ(cache.samplings(), 4);
}

TEST(QtCanvas, IgnoresADibTooShortForItsHeader) {
    std::vector<std::uint8_t> dib = Pattern(16, 16);
    dib.resize(dib.size() - 1);
    EXPECT_EQ(Drawn(dib, {0, 0, 16, 16}, {0, 0, 16, 16}, 16, 16), Target(16, 16));
}

}  // namespace
