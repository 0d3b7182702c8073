#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>

#include "image/bmp_clip_image.h"
#include "image/image_status.h"
#include "image/packed_dib.h"
#include "platform/scripted.h"
#include "ui/platform/qt_clipboard.h"

namespace {

TEST(QtClipboardBitmap, AnEightBitImageComesBackBottomRowFirstAColourOneIsRefusedAndTextIsNoImage) {
    QImage grey(5, 3, QImage::Format_Grayscale8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) grey.scanLine(y)[x] = static_cast<uchar>(10 * y + x);
    QApplication::clipboard()->setImage(grey);
    QtClipboard clipboard;
    const auto dib = clipboard.GetDib();
    ASSERT_TRUE(dib);
    ASSERT_EQ(dib->size(), packed_dib::kPixelOffset + 8 * 3);
    EXPECT_EQ(packed_dib::Row(*dib, 5, 0)[4], 24);  // bottom row: image row 2
    EXPECT_EQ(packed_dib::Row(*dib, 5, 2)[1], 1);
    // The image source takes it as it takes any clipboard DIB.
    BMPClipImage image(clipboard);
    EXPECT_EQ(image.status, 0);
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(packed_dib::Row(image.picture, 5, 1)[3], 13);
    // An indexed image keeps its pixel indices and colour table.
    QImage indexed(4, 2, QImage::Format_Indexed8);
    indexed.setColorCount(256);
    for (int i = 0; i < 256; ++i) indexed.setColor(i, qRgb(255 - i, i, 0));
    indexed.fill(200);
    const auto indices = DibFromImage(indexed);
    EXPECT_EQ(packed_dib::Row(indices, 4, 1)[3], 200);
    EXPECT_EQ(indices[packed_dib::kHeaderSize + 4 * 200 + 2], 55);  // red of entry 200
    // A colour image is not 8-bit; text is no image.
    QImage colour(4, 4, QImage::Format_RGB32);
    colour.fill(Qt::red);
    QApplication::clipboard()->setImage(colour);
    EXPECT_EQ(BMPClipImage(clipboard).status, -5);
    QApplication::clipboard()->setText("no picture");
    EXPECT_FALSE(clipboard.HasImage());
    EXPECT_EQ(BMPClipImage(clipboard).status, -7);
}

TEST(QtClipboardBitmap, AnImageBeyondThePictureLimitIsRefusedAsTooLargeWithoutACopy) {
    QImage huge(33000, 32540, QImage::Format_Grayscale8);  // just over 1 GiB, never touched
    ASSERT_FALSE(huge.isNull());
    ScriptedClipboard clipboard;
    clipboard.dib = DibFromImage(huge);
    EXPECT_EQ(clipboard.dib->size(), packed_dib::kHeaderSize);
    EXPECT_EQ(BMPClipImage(clipboard).status, kStatusNoMemory);
}

TEST(QtClipboardWatch, JoiningFollowsEveryChangeAndLeavingStopsIt) {
    int changes = 0;
    QtClipboard clipboard([&changes] { ++changes; });
    QApplication::clipboard()->setText("before");
    EXPECT_EQ(changes, 0);
    clipboard.Watch(true);
    QApplication::clipboard()->setText("while joined");
    EXPECT_EQ(changes, 1);
    clipboard.Watch(false);
    QApplication::clipboard()->setText("after");
    EXPECT_EQ(changes, 1);
}

}  // namespace
