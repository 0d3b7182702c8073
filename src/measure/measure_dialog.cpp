#include "measure/measure_dialog.h"

#include "image/meteor_image.h"
#include "image/packed_dib.h"
#include "measure/magnifier_render.h"
#include "measure/star_centroid.h"
#include "session/session_data.h"

MeasureDialog::MeasureDialog(SessionData& session, MeteorImage& image, int column, int row, int index,
                             ReplayOffsets offsets)
    : session_(session),
      image_(image),
      origin_(MagnifierOrigin(column, row, image.height, index == -1 ? ReplayOffsets{} : offsets)),
      magnifier_(origin_),
      index_(index) {}

void MeasureDialog::Click(ControlPoint p) {
    if (finished_) return;
    if (const auto taken = magnifier_.Click(p, image_.width, image_.height)) Measure(*taken);
}

void MeasureDialog::Key(MagnifierKey key, bool shift) {
    if (finished_) return;
    if (const auto taken = magnifier_.Key(key, shift, image_.width, image_.height)) Measure(*taken);
}

void MeasureDialog::Measure(ControlPoint p) {
    // The window is the control's current one: the meteor dialog moves it
    // from point to point.
    position_ = MeasuredPosition(magnifier_.origin(), p);
    measured_ = true;
    if (snaps()) Snap();
    ProcessPosition();
}

void MeasureDialog::Snap() {
    snapped_from_.reset();
    snap_note_.clear();
    if (!packed_dib::BlockSize(image_.width, image_.height) ||
        image_.picture.size() < *packed_dib::BlockSize(image_.width, image_.height)) {
        snap_note_ = CentroidFailureText(CentroidFailure::NoStar);
        return;
    }
    // Stars are measured on the picture (a video's averaged frames).
    const GreyView picture = GreyView::OfDib(image_.picture, image_.width, image_.height);
    const CentroidResult found = StarCentroid(picture, position_.x / 0.012, position_.y / 0.012);
    if (!found.centre) {
        snap_note_ = CentroidFailureText(found.failure);
        return;
    }
    snapped_from_ = position_;
    position_ = {static_cast<float>(found.centre->x * 0.012), static_cast<float>(found.centre->y * 0.012)};
}

void MeasureDialog::Ok() {
    if (!finished_ && CanClose()) Finish(DialogEnd::Ok);
}

void MeasureDialog::Finish(DialogEnd end) {
    finished_ = true;
    result_ = end;
}

std::vector<MagnifierMarker> MeasureDialog::Markers() const {
    MarkerReference ref = WindowCentreReference(magnifier_.origin());
    const int nstar = static_cast<int>(session_.nstar);
    if (index_ >= 0 && index_ < nstar) {
        ref = {session_.fxstr(index_), session_.fystr(index_), index_};
    } else if (index_ >= nstar && index_ < nstar + static_cast<int>(session_.nmet)) {
        ref = {session_.fxmet(index_ - nstar), session_.fymet(index_ - nstar), index_};
    }
    std::vector<MagnifierMarker> markers = MagnifierMarkers(session_, magnifier_.origin(), magnifier_.enabled(), ref);
    // The snapped position beside the click's measuring cross.
    if (snapped_from_)
        markers.push_back({MagnifierMarker::Shape::Disc, MarkerPixel(magnifier_.origin(), position_.x, position_.y),
                           kSnappedFill});
    return markers;
}

void MeasureDialog::Paint(Canvas& canvas) const { RenderMagnifier(canvas, &image_, magnifier_, Markers()); }

DialogPlace MeasureDialogPlace(int left, int top, int W, int H, int w, int h) {
    const int spare_x = W - w - 20;
    const int spare_y = H - h - 100;
    return {spare_x < 0 ? 50 : left + 10 + spare_x / 2, spare_y < 0 ? 50 : top + 50 + spare_y / 2};
}
