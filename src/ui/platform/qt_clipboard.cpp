#include "ui/platform/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <algorithm>
#include <cstring>

#include "image/packed_dib.h"

namespace {

bool IsEightBit(const QImage& image) {
    return image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Grayscale8;
}

// Only the header: its size or bit count tells the image source why the
// picture cannot be taken.
std::vector<std::uint8_t> HeaderOnly(const QImage& image) {
    std::vector<std::uint8_t> header(packed_dib::kHeaderSize);
    packed_dib::Header h = packed_dib::GreyHeader(std::max(image.width(), 1), std::max(image.height(), 1));
    h.bit_count = static_cast<std::uint16_t>(image.depth());
    packed_dib::WriteHeader(header.data(), h);
    return header;
}

}  // namespace

std::vector<std::uint8_t> DibFromImage(const QImage& image) {
    if (!IsEightBit(image) || !packed_dib::BlockSize(image.width(), image.height())) return HeaderOnly(image);
    std::vector<std::uint8_t> dib = packed_dib::MakeGreyDib(image.width(), image.height());
    if (image.format() == QImage::Format_Indexed8) {
        // The colour table goes along, though the picture shows grey levels.
        const QList<QRgb> table = image.colorTable();
        std::uint8_t* entries = dib.data() + packed_dib::kHeaderSize;
        for (int i = 0; i < packed_dib::kColourEntries; ++i) {
            const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
            entries[4 * i] = static_cast<std::uint8_t>(qBlue(c));
            entries[4 * i + 1] = static_cast<std::uint8_t>(qGreen(c));
            entries[4 * i + 2] = static_cast<std::uint8_t>(qRed(c));
            entries[4 * i + 3] = 0;
        }
    }
    const int w = image.width(), h = image.height();
    for (int row = 0; row < h; ++row)  // DIB rows count from the bottom
        std::memcpy(packed_dib::Row(dib, w, row), image.constScanLine(h - 1 - row), static_cast<std::size_t>(w));
    return dib;
}

std::optional<std::vector<std::uint8_t>> QtClipboard::GetDib() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (data == nullptr || !data->hasImage()) return std::nullopt;
    const QImage image = clipboard->image();
    if (image.isNull()) return std::nullopt;
    return DibFromImage(image);
}

bool QtClipboard::HasImage() const {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data != nullptr && data->hasImage();
}

void QtClipboard::Watch(bool join) {
    if (join == Watching()) return;
    if (join) {
        connection_ = QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [this] {
            if (changed_) changed_();
        });
    } else {
        QObject::disconnect(connection_);
        connection_ = {};
    }
}
