#pragma once
// TDisplayWindow, the image view: the current image scaled to fit the pane
// or at its original pixels with scroll bars (16-pixel units), a marker over
// every star and meteor point, the plate-centre mark, a measurement on the
// left button and the context menu of the nearest measurement on the right.
// The wheel zooms about the pointer; the middle button, or the left with
// Space held, pans the zoomed picture.
// Every position question goes to one DisplayGeometry, the transform between
// image and screen; every change of the session goes to MainCommands.
#include <QAbstractScrollArea>
#include <QMenu>
#include <QPointer>

#include "shell/catalogue_overlay.h"
#include "shell/display_geometry.h"
#include "ui/platform/qt_canvas.h"

class QMenu;
class TMainWindow;

// The rings of the catalogue overlay, thin and unfilled, as the view draws
// them (translated by the scroll offset already).
void DrawCatalogueRings(QPainter& painter, const std::vector<OverlayStar>& stars, const DisplayGeometry& g);

class TDisplayWindow : public QAbstractScrollArea {
    Q_OBJECT
public:
    TDisplayWindow(TMainWindow& main, QWidget* parent);

    // The transform as it stands (image size, pane, mode, scroll position).
    const DisplayGeometry& Transform();

    // SetClientArea, SetScroller, SetImageZoom, SetImagePixel: the scaling
    // and scrolling the main window's commands switch.
    void SetClientArea();
    void SetScroller();
    void SetImageZoom();
    void SetImagePixel();
    // The current scroll position becomes the one the next SetScroller
    // restores (a resize of a still image at original pixels).
    void KeepScrollPosition();
    // Ends a zoom: the mode shows as its menu command shows it.
    void ResetZoom();
    // One wheel step in (> 0) or out (< 0) about pane pixel p, as the wheel
    // does it.
    void ZoomAt(QPoint p, int steps);
    // The colour table of the picture changed (brightness, contrast,
    // inversion): repaint; the sampled pixels are kept.
    void PictureColoursChanged();
    // The pixels of the picture were re-made in place (a new display
    // stretch): sample them afresh and repaint.
    void PicturePixelsChanged();
    // A menu was highlighted or closed: a left click that is still pending
    // does not start a measurement.
    void DiscardPendingClick();

    // The context menu while it is open (for tests), else nullptr.
    QMenu* OpenContextMenu() const { return context_menu_; }
    const DibViewCache& PictureCache() const { return cache_; }
    // The catalogue stars as last drawn (Image > Show catalogue stars).
    const CatalogueOverlay& Overlay() const { return overlay_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void EvLButtonDown(QPoint p);
    void EvRButtonDown(QPoint p);
    void PaintPicture(QPainter& painter);
    void PaintMarkers(QPainter& painter);
    void PaintResiduals(QPainter& painter);
    void PaintCatalogue(QPainter& painter);
    // The overlay brought up to date, or nullptr while it is off or
    // there is no picture.
    const std::vector<OverlayStar>* CatalogueStars();
    void ApplyScroller(long xrange, long yrange, long xpage, long ypage);

    TMainWindow& main_;
    DisplayGeometry geometry_;
    long keep_x_ = 0;  // KeepX, KeepY: the scroll position the next SetScroller restores
    long keep_y_ = 0;
    DibViewCache cache_;
    bool discard_click_ = false;
    QPointer<QMenu> context_menu_;
    QRect keep_open_;  // global: a click here leaves the context menu open
    const void* shown_image_ = nullptr;  // the picture the zoom belongs to
    bool space_held_ = false;
    bool panning_ = false;
    QPoint pan_from_;
    int wheel_rest_ = 0;  // eighths of a degree not yet turned into a step
    CatalogueOverlay overlay_;
};
