#pragma once
// The clipboard's bitmap through QClipboard. An 8-bit image (indexed or
// grey) is the accepted bitmap and comes back as a packed DIB of its pixel
// values; any other image comes back as a bare header carrying its bit count,
// so that the image source reports "Not an 8-bit image!". Watching the
// clipboard stands for the viewer chain: joining connects to dataChanged,
// leaving disconnects.
#include <QMetaObject>
#include <functional>

#include "platform/clipboard.h"

class QImage;

class QtClipboard : public ClipboardService {
public:
    explicit QtClipboard(std::function<void()> changed = {}) : changed_(std::move(changed)) {}
    ~QtClipboard() override { Watch(false); }
    QtClipboard(const QtClipboard&) = delete;
    QtClipboard& operator=(const QtClipboard&) = delete;

    std::optional<std::vector<std::uint8_t>> GetDib() override;
    // True when the clipboard offers an image of any kind (cheap: decodes
    // nothing).
    bool HasImage() const;

    // Join (true) or leave (false) the watch; the callback runs after every
    // change of the clipboard while joined.
    void Watch(bool join);
    bool Watching() const { return static_cast<bool>(connection_); }
    void SetCallback(std::function<void()> changed) { changed_ = std::move(changed); }

private:
    std::function<void()> changed_;
    QMetaObject::Connection connection_;
};

// The packed DIB of an image as GetDib returns it.
std::vector<std::uint8_t> DibFromImage(const QImage& image);
