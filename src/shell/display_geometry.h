#pragma once
// The image view's one transform between the image and the screen. The view
// keeps a DisplayGeometry, updates it when the pane, the mode, the image or
// the scroll position change, and asks it every question of position: where
// a plate position is drawn, which image pixel a click hits, how far a pick
// may reach, whether a marker shows. Nothing else in the view converts
// coordinates, so another scale (a zoom) needs only this type to learn it.
//
// Screen positions are pane (client) pixels, y downward. Plate positions
// are mm with y upward (session/records.h); image pixels are (column, row)
// with row 0 the top row. Fit mode (dispmode 4) stretches the whole image
// over the area; original pixels (dispmode 5) show it unscaled, centred in
// the area when it is smaller, and scrolled in 16-pixel units when larger.
//
// On top of either mode the view can be zoomed: the picture is then drawn
// at a uniform scale of a power of sqrt(2) (from the fit scale up to 8
// screen pixels per image pixel) at a rectangle that panning moves, and
// the scroll bars stand still. The unzoomed modes keep their arithmetic;
// a menu command of either mode ends the zoom.

#include "platform/canvas.h"
#include "shell/state_flags.h"

inline constexpr float kPixelsPerMm = 250.0f / 3.0f;  // image pixels per plate millimetre
inline constexpr int kScrollUnit = 16;                 // pixels per scroller unit

// A rectangle given by its edges, right and bottom exclusive, as the panes
// draw ellipses and rectangles.
struct EdgeRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const EdgeRect&) const = default;
};

// An image pixel; row 0 is the top row.
struct ImagePixel {
    int column = 0;
    int row = 0;
    bool operator==(const ImagePixel&) const = default;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// A position on the image in the units of PixelColumn/PixelRow (pixel c's
// centre is c), unrounded.
struct ImagePoint {
    float column = 0.0f;
    float row = 0.0f;
};

// What a zoom step did.
enum class ZoomStep {
    Unchanged,  // already at the limit
    Changed,    // a new scale
    BackToFit,  // the step out passes the fit scale: the view returns to fit mode
};

inline constexpr int kMaxZoomStep = 6;  // sqrt(2)^6 = 8 screen pixels per image pixel

class DisplayGeometry {
public:
    // --- State ---
    // Image size in pixels (W, H); a size below 1 counts as 1, so that no
    // conversion divides by zero.
    void SetImageSize(int width, int height);
    // SetClientArea: AreaWidth is the client width rounded up to a multiple
    // of 4, AreaHeight the client height.
    void SetClientArea(int client_width, int client_height);
    void SetMode(int dispmode) { dispmode_ = dispmode; }
    // The scroll position in 16-pixel units (0 in fit mode).
    void SetScrollPosition(long xpos, long ypos);

    int ImageWidth() const { return width_; }
    int ImageHeight() const { return height_; }
    int ClientWidth() const { return client_width_; }
    int AreaWidth() const { return area_width_; }
    int AreaHeight() const { return area_height_; }
    int Mode() const { return dispmode_; }
    bool FitMode() const { return dispmode_ == kFitMode && !zoomed_; }
    long XPos() const { return xpos_; }
    long YPos() const { return ypos_; }

    static int RoundedAreaWidth(int client_width) { return (client_width + 3) / 4 * 4; }

    // --- Zoom ---
    bool Zoomed() const { return zoomed_; }
    // The zoom step k of the scale sqrt(2)^k; meaningful while zoomed.
    int ZoomStepIndex() const { return step_; }
    // Screen pixels per image pixel: the zoom's scale, 1 at original pixels,
    // the smaller of the two axis scales in fit mode.
    double Scale() const;
    // The smaller of AreaWidth / W and AreaHeight / H: the lower end of the zoom.
    double FitScale() const;
    // One step in (steps > 0) or out (steps < 0) of sqrt(2), keeping the
    // image point under pane pixel (x, y) where it is. The first step from
    // an unzoomed mode starts from that mode's scale.
    ZoomStep Zoom(int x, int y, int steps);
    // Moves the zoomed picture by (dx, dy) pane pixels; a picture larger
    // than the area always covers it, a smaller one stays whole inside it.
    void Pan(int dx, int dy);
    // Back to the unzoomed mode.
    void ResetZoom() {
        zoomed_ = false;
        anchored_ = false;
    }
    // Keeps the picture where Pan allows after the area changed.
    void ClampPan();

    // --- Image to screen ---
    // Where the picture goes: the whole area in fit mode, else the image
    // unscaled at the centring offsets. Not shifted by the scroll position.
    CanvasRect ImageRect() const;
    // The centring offsets at original pixels ((AreaWidth - W) / 2 when the
    // image is narrower than the area, else 0; likewise vertically).
    int OffsetX() const;
    int OffsetY() const;
    // MMtoDC: the screen position of a plate position, before the scroll
    // offset is applied (drawing applies it, see ScrollOffset).
    ScreenPoint MMtoDC(float x, float y) const;
    void MMtoDC(float x, float y, int* dx, int* dy) const;
    // The shift of everything drawn: (-16 XPos, -16 YPos).
    ScreenPoint ScrollOffset() const;
    // A marker centred at an MMtoDC position is drawn when that position,
    // less the scroll offset, lies strictly inside (-4, AreaWidth + 3) x
    // (-4, AreaHeight + 3): a marker up to 3 pixels outside still shows.
    bool MarkerVisible(ScreenPoint dc) const;

    // --- Screen to image ---
    // The image pixel under a click (pane pixels): in fit mode x * W /
    // AreaWidth, y * H / AreaHeight (integers, truncating); at original
    // pixels x + 16 XPos - OffsetX, y + 16 YPos - OffsetY.
    ImagePixel ClickToPixel(int x, int y) const;
    // The unrounded image position under a click, for the pick: the pixel
    // of ClickToPixel when unzoomed; zoomed, the exact point under the centre
    // of the pane pixel, so that a pick at 8x is not coarser than a pixel.
    ImagePoint ClickToImage(int x, int y) const;
    // Column or row below 0, or column >= W, or row >= H.
    bool OutsideImage(ImagePixel p) const;
    // The image pixel (unrounded) of a plate position: column 83.33 x, row
    // (H - 1) - 83.33 y, single precision.
    float PixelColumn(float x) const;
    float PixelRow(float y) const;
    // The pick reaches 10 screen pixels: 10 image pixels at original pixels,
    // 10 W / AreaWidth in fit mode, 10 / scale zoomed.
    float PickThreshold() const;

private:
    int width_ = 1;
    int height_ = 1;
    int client_width_ = 0;
    int area_width_ = 0;
    int area_height_ = 0;
    int dispmode_ = kFitMode;
    long xpos_ = 0;
    long ypos_ = 0;
    bool zoomed_ = false;
    int step_ = 0;       // the scale is sqrt(2)^step_
    int zoom_left_ = 0;  // the zoomed picture's rectangle in pane pixels
    int zoom_top_ = 0;
    int zoom_width_ = 1;
    int zoom_height_ = 1;
    // The image point a run of wheel steps keeps under the pointer: taken
    // once, so that the whole pixels of the picture's place do not let it
    // drift from step to step.
    bool anchored_ = false;
    int anchor_x_ = 0;
    int anchor_y_ = 0;
    double anchor_column_ = 0.0;
    double anchor_row_ = 0.0;

    void SetZoomStep(int step, double anchor_x, double anchor_y, double column, double row);
    // The image position (pixel edges: pixel c spans [c, c + 1)) under a
    // pane position, for the current state.
    void ScreenToImage(double x, double y, double* column, double* row) const;
};

// The scroller of the image view (SetScroller): ranges and page sizes in
// 16-pixel units. Only at original pixels and when the image is larger than
// the pane does it scroll. A range that is 0 so far gets 17 pixels more,
// for the scroll bar that appears with it.
struct ScrollerSetup {
    long xrange = 0;
    long yrange = 0;
    long xpage = 0;
    long ypage = 0;
    bool operator==(const ScrollerSetup&) const = default;
};
ScrollerSetup ScrollRanges(const DisplayGeometry& g, long old_xrange, long old_yrange);
