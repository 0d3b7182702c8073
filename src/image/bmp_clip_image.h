#pragma once
#include "image/meteor_image.h"

class ClipboardService;

// An uncompressed 8-bit DIB taken from the clipboard. Besides the plain
// layout it reads longer headers, short colour tables and top-down rows;
// a DIB shorter than its declared pixels or with impossible dimensions is
// no valid image (-7).
class BMPClipImage : public MeteorImage {
public:
    explicit BMPClipImage(ClipboardService& clipboard);

private:
    int Take(ClipboardService& clipboard);
};
