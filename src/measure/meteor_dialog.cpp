#include "measure/meteor_dialog.h"

#include <algorithm>
#include <cstring>

#include "astro/numerical_error.h"
#include "image/meteor_image.h"
#include "platform/message_box.h"
#include "session/fixed_text.h"
#include "session/session_data.h"
#include "shell/display_markers.h"

MeteorDialog::MeteorDialog(SessionData& session, MeteorImage& image, int column, int row,
                           MessageBoxService& messages)
    : MeasureDialog(session, image, column, row, -1),
      messages_(messages),
      video_(image.IsVideo()),
      first_(session.nmet),
      exposure_before_(SessionData::dlgdat) {
    if (!video_) return;
    const int n = FrameCount();
    int frame = first_ == 0 ? 0 : session.meteors[first_ - 1].frame + 1;
    // Earlier points are taken to lie on consecutive frames before it.
    int lower = frame - static_cast<int>(first_);
    if (frame >= n) {
        // Every frame is used: the last one is offered, not to be measured.
        frame = n - 1;
        lower = n - static_cast<int>(first_);
        magnifier_.SetEnabled(false);
    }
    bar_.enabled = true;
    bar_.max = std::max(n - 1, 0);
    bar_.min = std::clamp(lower, 0, bar_.max);
    bar_.pos = std::clamp(frame, bar_.min, bar_.max);
    magnifier_.Move(origin_, bar_.pos);
}

int MeteorDialog::FrameCount() const { return image_.GetNFr(); }

int MeteorDialog::PointOnFrame(int p) const {
    for (int j = static_cast<int>(session_.nmet) - 1; j >= 0; --j)
        if (session_.meteors[j].frame == p) return j;
    return -1;
}

void MeteorDialog::MoveTo(WindowOrigin o, int frame) {
    magnifier_.Move(ClampOrigin(o, image_.width, image_.height), frame);
}

void MeteorDialog::ProcessPosition() {
    measured_frame_ = magnifier_.frame();
    if (session_.Visible() < 3) return;
    try {
        readout_ = MeteorReadoutFor(session_, position_.x, position_.y);
    } catch (const NumericalError& e) {
        messages_.Show(e.what(), "Meteor measurement", MbButtons::Ok, MbIcon::Exclamation);
    }
}

void MeteorDialog::StoreMeasurement() {
    Meteor m(position_.x, position_.y, video_ ? measured_frame_ : static_cast<int>(session_.nmet));
    if (maximum_) {
        copy_text(m.label, "Maximum");
        maximum_ = false;
    }
    session_.AddMetPnt(m);
    measured_ = false;
}

bool MeteorDialog::Accept() {
    if (finished() || !measured_) return false;
    StoreMeasurement();
    int next = -1;
    if (video_) {
        const int n = FrameCount();
        const int points = static_cast<int>(session_.nmet);
        next = session_.meteors.back().frame + 1;
        if (next < n) {
            bar_.min = std::clamp(next - points, 0, n - 1);
            bar_.pos = next;
        } else {
            next = n - 1;
            bar_.min = std::clamp(n - points, 0, n - 1);
            bar_.pos = next;
            magnifier_.SetEnabled(false);
        }
    }
    WindowOrigin o = magnifier_.origin();
    session_.NextMeteor(o.x, o.y, next);
    MoveTo(o, next);
    return true;
}

void MeteorDialog::MoveFrameBar(int p) {
    if (finished() || !bar_.enabled) return;
    p = std::clamp(p, bar_.min, bar_.max);
    // The cross goes with the old frame, and so does a position not stored.
    measured_ = false;
    const int n = static_cast<int>(session_.nmet);
    if (n == 0) {
        bar_.pos = p;
        magnifier_.SetEnabled(true);
        magnifier_.Move(magnifier_.origin(), p);
        return;
    }
    p = std::max(p, session_.meteors[0].frame);
    bar_.pos = p;
    WindowOrigin o = magnifier_.origin();
    int frame = p;
    if (p > session_.meteors[n - 1].frame) {
        session_.NextMeteor(o.x, o.y, p);
        magnifier_.SetEnabled(true);
        maximum_ = false;
    } else {
        const int j = PointOnFrame(p);
        if (j >= 0) {
            // Centre the earlier point.
            o = {static_cast<int>(session_.fxmet(j) * 83.333 - 40), static_cast<int>(session_.fymet(j) * 83.333 - 40)};
            frame = session_.meteors[j].frame;
            maximum_ = IsMaximumLabel(session_.meteors[j].label);
        } else {
            maximum_ = false;
        }
        magnifier_.SetEnabled(false);
    }
    MoveTo(o, frame);
}

void MeteorDialog::SetMaximum(bool checked) {
    if (finished() || !video_) return;
    maximum_ = checked;
    const int n = static_cast<int>(session_.nmet);
    if (n == 0 || bar_.pos > session_.meteors[n - 1].frame) return;  // kept for the next store
    const int j = PointOnFrame(bar_.pos);
    if (j < 0) return;
    copy_text(session_.meteors[j].label, checked ? "Maximum" : "");
    label_changed_ = true;
}

bool MeteorDialog::CanClose() {
    if (measured_) StoreMeasurement();
    return session_.nmet > first_ || label_changed_;
}

void MeteorDialog::Cancel() {
    if (finished()) return;
    if (session_.nmet - first_ >= 3 &&
        messages_.Show("Are you sure you want to cancel\n all measurements of this dialog?", "Cancel",
                       MbButtons::YesNo, MbIcon::Question) != MbAnswer::Yes) {
        return;
    }
    while (session_.nmet > first_) session_.DropMetPnt(static_cast<int>(first_));
    // The reference time a video's points set goes with them.
    std::memcpy(SessionData::dlgdat.refhour, exposure_before_.refhour, sizeof exposure_before_.refhour);
    std::memcpy(SessionData::dlgdat.refminute, exposure_before_.refminute, sizeof exposure_before_.refminute);
    std::memcpy(SessionData::dlgdat.refsecond, exposure_before_.refsecond, sizeof exposure_before_.refsecond);
    Finish(DialogEnd::Cancel);
}
