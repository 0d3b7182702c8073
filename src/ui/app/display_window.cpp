#include "ui/app/display_window.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "files/options.h"
#include "image/meteor_image.h"
#include "session/plate_solution.h"
#include "session/session_data.h"
#include "shell/command_ids.h"
#include "shell/display_markers.h"
#include "shell/display_pick.h"
#include "shell/main_commands.h"
#include "shell/popup_placement.h"
#include "shell/program_paths.h"
#include "shell/residual_vectors.h"
#include "shell/state_flags.h"
#include "ui/app/main_window.h"
#include "ui/resources/resource_builder.h"

namespace {
QColor ToQColor(Rgb c) { return QColor(c.red, c.green, c.blue); }

// A rectangle of the panes' drawing (right and bottom exclusive, outline on
// its edge) as QPainter draws it with a one-pixel pen.
QRect OutlineRect(const EdgeRect& r) { return QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1); }
}  // namespace

TDisplayWindow::TDisplayWindow(TMainWindow& main, QWidget* parent) : QAbstractScrollArea(parent), main_(main) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    viewport()->setAutoFillBackground(true);
    viewport()->setPalette(QPalette(QColor(255, 255, 255)));
    // Space + drag pans: the view takes the keyboard when clicked or wheeled.
    setFocusPolicy(Qt::WheelFocus);
    SelectedStar::iselect = -1;
}

const DisplayGeometry& TDisplayWindow::Transform() {
    if (Mimg != shown_image_) {
        geometry_.ResetZoom();
        shown_image_ = Mimg;
    }
    if (Mimg) geometry_.SetImageSize(Mimg->width, Mimg->height);
    geometry_.SetMode(sf.dispmode);
    geometry_.SetScrollPosition(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return geometry_;
}

// --- Scaling and scrolling ---

void TDisplayWindow::SetClientArea() { geometry_.SetClientArea(viewport()->width(), viewport()->height()); }

void TDisplayWindow::SetScroller() {
    // SetScroller runs for every new image and every resize: either can
    // leave the picture's block where the old one was, so the sampled view
    // is made afresh.
    cache_.Invalidate();
    SetClientArea();
    const ScrollerSetup s = ScrollRanges(Transform(), horizontalScrollBar()->maximum(), verticalScrollBar()->maximum());
    ApplyScroller(s.xrange, s.yrange, s.xpage, s.ypage);
    SetClientArea();
}

void TDisplayWindow::ApplyScroller(long xrange, long yrange, long xpage, long ypage) {
    horizontalScrollBar()->setRange(0, static_cast<int>(xrange));
    verticalScrollBar()->setRange(0, static_cast<int>(yrange));
    horizontalScrollBar()->setValue(static_cast<int>(keep_x_));
    verticalScrollBar()->setValue(static_cast<int>(keep_y_));
    horizontalScrollBar()->setPageStep(static_cast<int>(xpage));
    verticalScrollBar()->setPageStep(static_cast<int>(ypage));
}

void TDisplayWindow::SetImageZoom() {
    geometry_.ResetZoom();
    KeepScrollPosition();
    horizontalScrollBar()->setRange(0, 0);
    verticalScrollBar()->setRange(0, 0);
    SetClientArea();
}

void TDisplayWindow::SetImagePixel() {
    geometry_.ResetZoom();
    SetScroller();
    viewport()->update();
}

void TDisplayWindow::KeepScrollPosition() {
    keep_x_ = horizontalScrollBar()->value();
    keep_y_ = verticalScrollBar()->value();
}

void TDisplayWindow::ResetZoom() {
    if (!geometry_.Zoomed()) return;
    geometry_.ResetZoom();
    SetScroller();
    viewport()->update();
}

void TDisplayWindow::ZoomAt(QPoint p, int steps) {
    if (!sf.imgloaded || !Mimg || steps == 0) return;
    SetClientArea();
    Transform();
    switch (geometry_.Zoom(p.x(), p.y(), steps)) {
    case ZoomStep::Unchanged:
        return;
    case ZoomStep::BackToFit:
        main_.Command(cmd::ImageZoom);
        return;
    case ZoomStep::Changed:
        // The zoomed picture moves by panning; the scroll bars go.
        horizontalScrollBar()->setRange(0, 0);
        verticalScrollBar()->setRange(0, 0);
        SetClientArea();
        geometry_.ClampPan();
        viewport()->update();
        return;
    }
}

void TDisplayWindow::PictureColoursChanged() { viewport()->update(); }

void TDisplayWindow::PicturePixelsChanged() {
    cache_.Invalidate();
    viewport()->update();
}

void TDisplayWindow::scrollContentsBy(int, int) { viewport()->update(); }

// --- Drawing ---

void TDisplayWindow::paintEvent(QPaintEvent*) {
    if (!sf.imgloaded || !Mimg || !Session) return;
    SetClientArea();
    const DisplayGeometry& g = Transform();
    geometry_.ClampPan();
    QPainter painter(viewport());
    const ScreenPoint offset = g.ScrollOffset();
    painter.translate(offset.x, offset.y);
    PaintPicture(painter);
    if (opt.catoverlay) PaintCatalogue(painter);
    if (opt.showresiduals) PaintResiduals(painter);
    PaintMarkers(painter);
}

void TDisplayWindow::PaintPicture(QPainter& painter) {
    const CanvasRect r = geometry_.ImageRect();
    QtCanvas canvas(painter, &cache_);
    Mimg->Display(canvas, r.x, r.y, r.w, r.h, 0, 0, Mimg->width, Mimg->height, -1);
}

const std::vector<OverlayStar>* TDisplayWindow::CatalogueStars() {
    if (!opt.catoverlay || !sf.imgloaded || !Mimg || !Session) return nullptr;
    const CatalogueFiles files = CatalogueFilesFor(opt, main_.commands().paths());
    return &overlay_.Update(*Session, Mimg->width, Mimg->height, opt.limit, files);
}

void TDisplayWindow::PaintCatalogue(QPainter& painter) {
    if (const std::vector<OverlayStar>* stars = CatalogueStars()) DrawCatalogueRings(painter, *stars, geometry_);
}

namespace {
// One ring of each radius, drawn once: a pane of 2 000 rings then costs
// 2 000 small copies instead of 2 000 ellipses.
const QImage& RingSprite(int radius) {
    static std::vector<QImage> sprites;
    if (sprites.empty()) {
        for (int r = 0; r <= 11; ++r) {
            QImage sprite(2 * r + 2, 2 * r + 2, QImage::Format_ARGB32_Premultiplied);
            sprite.fill(Qt::transparent);
            QPainter p(&sprite);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(ToQColor(kCatalogueRingColour));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPoint(r, r), r, r);
            sprites.push_back(std::move(sprite));
        }
    }
    return sprites[static_cast<std::size_t>(std::clamp(radius, 0, 11))];
}
}  // namespace

void DrawCatalogueRings(QPainter& painter, const std::vector<OverlayStar>& stars, const DisplayGeometry& g) {
    // Rings whose centre lies beyond the pane by more than the largest
    // radius cannot show.
    const ScreenPoint off = g.ScrollOffset();
    const QRect area(-off.x - 12, -off.y - 12, g.AreaWidth() + 24, g.AreaHeight() + 24);
    for (const OverlayStar& s : stars) {
        const ScreenPoint c = g.MMtoDC(s.x, s.y);
        if (!area.contains(c.x, c.y)) continue;
        painter.drawImage(QPoint(c.x - s.radius, c.y - s.radius), RingSprite(s.radius));
    }
}

bool TDisplayWindow::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::vector<OverlayStar>* stars = CatalogueStars();
        const DisplayGeometry& g = Transform();
        const int i = stars ? NearestOverlayStar(*stars, g, g.ClickToImage(help->pos().x(), help->pos().y())) : -1;
        if (i >= 0) {
            QToolTip::showText(help->globalPos(), QString::fromStdString(OverlayStarText((*stars)[i])), viewport());
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TDisplayWindow::PaintResiduals(QPainter& painter) {
    const ResidualVectors r = ComputeResidualVectors(*Session, SolvePlate(*Session), geometry_);
    if (r.scale_text.empty()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    for (const ResidualArrow& a : r.arrows) {
        QPen pen(ToQColor(a.hidden ? kHiddenResidualColour : kResidualColour));
        pen.setWidth(1);
        painter.setPen(pen);
        const QPointF from(a.from.x, a.from.y), tip(a.to_x, a.to_y);
        painter.drawLine(from, tip);
        const ArrowHead h = ArrowHeadOf(a.from.x, a.from.y, a.to_x, a.to_y);
        if (h.drawn) {
            painter.drawLine(tip, QPointF(h.left_x, h.left_y));
            painter.drawLine(tip, QPointF(h.right_x, h.right_y));
        }
    }
    // The scale stays in the pane's corner, whatever the scroll or zoom.
    painter.resetTransform();
    const QFontMetrics fm(font());
    const QString text = QString::fromStdString(r.scale_text);
    const QRect box(4, geometry_.AreaHeight() - fm.height() - 8, fm.horizontalAdvance(text) + 8, fm.height() + 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0));
    painter.drawRect(box);
    painter.setPen(ToQColor(kResidualColour));
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}

void TDisplayWindow::PaintMarkers(QPainter& painter) {
    painter.setPen(ToQColor(kMarkerOutline));
    for (const Marker& m : DisplayMarkers(*Session, geometry_, SelectedStar::iselect)) {
        painter.setBrush(ToQColor(m.fill));
        painter.drawEllipse(OutlineRect(m.circle));
    }
    if (!opt.markcenter) return;
    const CentreMark mark = PlateCentreMark(geometry_);
    painter.setBrush(ToQColor(kCentreMarkColour));
    painter.drawRect(OutlineRect(mark.vertical));
    painter.drawRect(OutlineRect(mark.horizontal));
    painter.setPen(ToQColor(kCentreMarkColour));
    // The line's last point is not drawn, as the rectangles' right and
    // bottom edges are not.
    painter.drawLine(mark.line_from.x, mark.line_from.y, mark.line_to.x, mark.line_to.y - 1);
}

// --- Mouse ---

void TDisplayWindow::DiscardPendingClick() {
    discard_click_ = true;
    QTimer::singleShot(0, this, [this] { discard_click_ = false; });
}

void TDisplayWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const bool pan = event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && space_held_);
    if (pan) {
        if (geometry_.Zoomed()) {
            panning_ = true;
            pan_from_ = p;
            viewport()->setCursor(Qt::ClosedHandCursor);
        }
        return;
    }
    if (event->button() == Qt::LeftButton) {
        if (discard_click_) {
            discard_click_ = false;
            return;
        }
        EvLButtonDown(p);
    } else if (event->button() == Qt::RightButton) {
        EvRButtonDown(p);
    }
}

void TDisplayWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!panning_) return;
    const QPoint p = event->position().toPoint();
    geometry_.Pan(p.x() - pan_from_.x(), p.y() - pan_from_.y());
    pan_from_ = p;
    viewport()->update();
}

void TDisplayWindow::mouseReleaseEvent(QMouseEvent*) {
    if (!panning_) return;
    panning_ = false;
    viewport()->unsetCursor();
}

void TDisplayWindow::wheelEvent(QWheelEvent* event) {
    // One step per notch (120 eighths of a degree); a fine-grained wheel
    // gathers its deltas into notches.
    wheel_rest_ += event->angleDelta().y();
    const int steps = wheel_rest_ / 120;
    wheel_rest_ -= steps * 120;
    const QPoint p = event->position().toPoint();
    for (int i = 0; i < std::abs(steps); ++i) ZoomAt(p, steps > 0 ? 1 : -1);
    event->accept();
}

void TDisplayWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) space_held_ = true;
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TDisplayWindow::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) space_held_ = false;
        event->accept();
        return;
    }
    QAbstractScrollArea::keyReleaseEvent(event);
}

void TDisplayWindow::focusOutEvent(QFocusEvent* event) {
    // A Space released while a dialog had the keyboard never reaches us.
    space_held_ = false;
    QAbstractScrollArea::focusOutEvent(event);
}

void TDisplayWindow::EvLButtonDown(QPoint p) {
    // A session retrieved without its image has nothing to measure on.
    if (main_.windowTitle() == QString::fromUtf8(kNoImageCaption)) return;
    if (!sf.imgloaded || !Mimg) return;
    const ImagePixel pixel = Transform().ClickToPixel(p.x(), p.y());
    if (geometry_.OutsideImage(pixel)) return;
    // A click on a catalogue ring in star mode offers that star first.
    const std::vector<OverlayStar>* stars = sf.measmode == kStarMode ? CatalogueStars() : nullptr;
    const int ring = stars ? NearestOverlayStar(*stars, geometry_, geometry_.ClickToImage(p.x(), p.y())) : -1;
    main_.commands().MeasureAt(pixel.column, pixel.row, ring >= 0 ? &(*stars)[ring].star : nullptr);
}

void TDisplayWindow::EvRButtonDown(QPoint p) {
    if (!sf.imgloaded || !Mimg || !Session) return;
    const DisplayContext c = ChooseDisplayContext(*Session, Transform(), p.x(), p.y(), Mimg->IsVideo());
    SelectedStar::iselect = c.iselect;
    if (!c.show_menu) {
        viewport()->update();
        return;
    }
    if (c.star_picked) main_.commands().SetMenuState();
    std::unique_ptr<QMenu> menu(BuildPopupMenu(*FindMenuResource("POPUP_MENUS"), static_cast<int>(c.menu), this));
    if (!menu) return;
    if (c.remove_switch) {
        if (QAction* sw = FindCommand(menu.get(), cmd::CtxSwitch)) menu->removeAction(sw);
    }
    viewport()->update();

    const PopupPlacement place = PlacePopup(p.x(), p.y(), geometry_.AreaWidth());
    QPoint at = viewport()->mapToGlobal(QPoint(place.anchor.x, place.anchor.y));
    if (place.right_aligned) at.rx() -= menu->sizeHint().width();
    const EdgeRect& k = place.keep_open;
    keep_open_ = QRect(viewport()->mapToGlobal(QPoint(k.left, k.top)), QSize(k.right - k.left, k.bottom - k.top));
    menu->installEventFilter(this);
    connect(menu.get(), &QMenu::aboutToHide, this, &TDisplayWindow::DiscardPendingClick);
    context_menu_ = menu.get();
    QAction* chosen = menu->exec(at);
    context_menu_ = nullptr;
    const int id = chosen ? CommandOf(chosen) : 0;
    menu.reset();
    if (id != 0) {
        main_.Command(id);
        return;
    }
    // The menu was dismissed: its selection goes with it.
    SelectedStar::iselect = -1;
    viewport()->update();
    main_.commands().SetMenuState();
}

bool TDisplayWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == context_menu_ && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (keep_open_.contains(mouse->globalPosition().toPoint())) return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}
