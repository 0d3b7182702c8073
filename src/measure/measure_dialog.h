#pragma once
// What every measuring dialog shares, without the window: the magnifier
// opened round the display pixel the observer clicked, the click turned
// into a plate position, and closing. The Qt dialog forwards its events
// (Click, Key, RightClick, Ok, Cancel) and reads the state back after each;
// once finished() it ends with result().
//
// The concrete dialogs (star, meteor, replay, template) say what a measured
// position means (ProcessPosition) and when OK may close (CanClose).
#include <optional>
#include <string>
#include <vector>

#include "measure/magnifier.h"
#include "measure/magnifier_markers.h"
#include "shell/measure_dialogs.h"

class Canvas;
class MeteorImage;
class SessionData;

class MeasureDialog {
public:
    // A dialog for display pixel (column, row), row from the top. index is
    // -1 for a new measurement, else the item measured again: star i, or
    // nstar + j for meteor point j. offsets displace a replay's window.
    MeasureDialog(SessionData& session, MeteorImage& image, int column, int row, int index,
                  ReplayOffsets offsets = {});
    virtual ~MeasureDialog() = default;
    MeasureDialog(const MeasureDialog&) = delete;
    MeasureDialog& operator=(const MeasureDialog&) = delete;

    // A left click at control pixel p of the magnifier.
    void Click(ControlPoint p);
    // A key pressed while the magnifier has the focus.
    void Key(MagnifierKey key, bool shift);
    // A right click in the dialog or its magnifier: OK.
    virtual void RightClick() { Ok(); }
    // OK: closes when CanClose agrees.
    void Ok();
    // CANCEL: closes without storing.
    virtual void Cancel() { Finish(DialogEnd::Cancel); }

    // Draws the magnifier with its markers.
    void Paint(Canvas& canvas) const;
    std::vector<MagnifierMarker> Markers() const;

    // With snapping on, a click in a dialog that measures a star takes the
    // centroid of the star image around it; the click stays shown beside it.
    void SetSnap(bool on) { snap_ = on; }
    virtual bool MeasuresStars() const { return false; }
    bool snaps() const { return snap_ && MeasuresStars(); }
    // The click when the position was snapped away from it.
    const std::optional<PlatePosition>& snapped_from() const { return snapped_from_; }
    // Why the last click was kept as it is; empty when it was snapped.
    const std::string& snap_note() const { return snap_note_; }

    const Magnifier& magnifier() const { return magnifier_; }
    bool measured() const { return measured_; }
    PlatePosition position() const { return position_; }  // the last measured position
    int index() const { return index_; }
    bool finished() const { return finished_; }
    DialogEnd result() const { return result_; }

protected:
    // Called after every measured position.
    virtual void ProcessPosition() = 0;
    // OK's check; it also stores what OK stores.
    virtual bool CanClose() = 0;

    void Finish(DialogEnd end);

    SessionData& session_;
    MeteorImage& image_;
    WindowOrigin origin_;  // the window the dialog opened with
    Magnifier magnifier_;
    int index_;
    bool measured_ = false;
    PlatePosition position_;

private:
    void Measure(ControlPoint p);
    void Snap();
    bool snap_ = false;
    std::optional<PlatePosition> snapped_from_;
    std::string snap_note_;
    bool finished_ = false;
    DialogEnd result_ = DialogEnd::Cancel;
};

// Where a measuring dialog of size (w, h) opens over the main window
// (left, top, width W, height H), screen pixels: centred in the window
// shrunk by 10 pixels at the sides and 50 at top and bottom, or at 50 on an
// axis where it does not fit.
struct DialogPlace {
    int x = 0;
    int y = 0;
    bool operator==(const DialogPlace&) const = default;
};
DialogPlace MeasureDialogPlace(int left, int top, int W, int H, int w, int h);
