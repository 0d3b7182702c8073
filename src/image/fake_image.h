#pragma once
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
