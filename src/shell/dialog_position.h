#pragma once
// Where a replay or template dialog opens its magnifier: the image pixel of
// a plate position.

struct ImagePixel {
    int column = 0;
    int row = 0;  // from the top row
};

// Column trunc(250/3 * x), row trunc(height - 0.25 - 250/3 * y), for x and
// y in mm. Positions that would not fit an int are pinned far outside the
// image, so callers can test the bounds as usual.
ImagePixel DialogPosition(float x, float y, int height);

inline bool InsideImage(ImagePixel p, int width, int height) {
    return p.column >= 0 && p.row >= 0 && p.column < width && p.row < height;
}
