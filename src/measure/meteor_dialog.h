#pragma once
// The meteor dialog without its window: the observer clicks a point of the
// trail in the magnifier and ACCEPTs it, one point after another; the
// magnifier moves to where the next point is expected and, on a video, to
// the next frame. On a video the frame bar also visits the frames of points
// measured earlier, to look at them and to set or clear their "Maximum"
// label; such points are never measured again here.
//
// A position is stored with the frame it was measured on: moving the frame
// bar forgets a position not yet stored, and a disabled magnifier (an
// earlier point's frame, or the last frame used) measures nothing.
#include <string>

#include "measure/measure_dialog.h"
#include "measure/meteor_readout.h"
#include "session/dialog_data.h"

class MessageBoxService;

// The "METEOR_DIALOG" resource's controls.
namespace meteor_dialog {
constexpr int kAccept = 191;
constexpr int kFrameBar = 192;
constexpr int kReadoutValues = 193;
constexpr int kReadoutCaptions = 194;
constexpr int kMaximum = 197;
constexpr int kOk = 176;
}  // namespace meteor_dialog

// The frame scroll bar of a video (disabled on a still image).
struct FrameBar {
    static constexpr int kPage = 5;
    bool enabled = false;
    int min = 0;
    int max = 0;
    int pos = 0;
    bool operator==(const FrameBar&) const = default;
};

class MeteorDialog : public MeasureDialog {
public:
    MeteorDialog(SessionData& session, MeteorImage& image, int column, int row, MessageBoxService& messages);

    // ACCEPT (also Enter, and a right click anywhere in the dialog): stores
    // the position measured since the last store, if any, and moves on.
    // Returns true when a point was stored (the image view shows it then).
    bool Accept();
    void RightClick() override { Accept(); }
    // The frame bar moved to p (any of its notifications).
    void MoveFrameBar(int p);
    // The "Maximum" box was checked or cleared.
    void SetMaximum(bool checked);
    // CANCEL: drops every point this dialog stored, after asking when there
    // are 3 or more.
    void Cancel() override;

    const FrameBar& frame_bar() const { return bar_; }
    bool maximum_enabled() const { return video_; }
    bool maximum_checked() const { return maximum_; }
    // The read-out's two texts (control 193 and its captions, 194); empty
    // until a click with 3 visible stars.
    const MeteorReadout& readout() const { return readout_; }
    // Points from this index on were stored by this dialog.
    unsigned int first() const { return first_; }

protected:
    void ProcessPosition() override;
    bool CanClose() override;

private:
    void StoreMeasurement();
    int FrameCount() const;
    // The session's point measured on frame p, or -1.
    int PointOnFrame(int p) const;
    void MoveTo(WindowOrigin o, int frame);

    MessageBoxService& messages_;
    const bool video_;
    const unsigned int first_;
    bool label_changed_ = false;
    bool maximum_ = false;
    int measured_frame_ = -1;
    FrameBar bar_;
    MeteorReadout readout_;
    DialogData exposure_before_;  // for Cancel: AddMetPnt re-times a video's reference
};
