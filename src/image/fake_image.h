#pragma once
#include <memory>

#include "image/meteor_image.h"

// A blank grey area standing for a picture that is not loaded, used when a
// session is retrieved without its image. It holds no picture; its grey
// level follows the brightness step (128 +- 8 per step).
class FakeImage : public MeteorImage {
public:
    // type is the image kind code the session file gives (5 photographic,
    // 14 video).
    FakeImage(int width, int height, int type);

    void AdjustDIBColors() override {}
    void Display(Canvas& dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                 int frame) override;

    // The grey level the area is drawn in at the current brightness.
    int GreyLevel() const;
};

// Size in pixels of the blank image of a session retrieved without its
// picture: the plate origin (x0, y0) in mm lies at its centre, so each side
// is trunc(500/3 * origin), twice the 250/3 pixels per mm. Every side is at
// least 1 pixel (a session without stars has its origin at 0, and the views
// divide by the size) and at most kMaxBlankSide, whatever a file claims.
struct BlankSize {
    int width = 1;
    int height = 1;
};
constexpr int kMaxBlankSide = 1 << 20;
BlankSize BlankImageSize(float x0, float y0);

// The blank image of that size, of the image kind the session file gives.
std::unique_ptr<FakeImage> MakeBlankImage(float x0, float y0, int type);
