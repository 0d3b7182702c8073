#pragma once
// The replay and template dialogs without their windows. Each measures one
// item and shows how far the click lies from where the item was expected,
// in image pixels (x to the right, y upward):
// - star replay: star i measured again, against the mean of its earlier
//   measurements; OK appends the measurement (ReplayStar);
// - meteor replay: meteor point j, the same (ReplayMetPnt); on a video the
//   magnifier shows the frame the point was measured on;
// - star from template: a template star at the position the template
//   predicts (the window's centre), against that position; OK adds it as a
//   new star without recomputation (the template command recomputes after
//   the series).
// A replay's window is displaced by the replay offsets and does not draw the
// item measured again. OK needs a measured position; CANCEL skips the item;
// BREAK ends the series at once, storing nothing.
#include <string>

#include "measure/measure_dialog.h"
#include "session/records.h"

// The "REPLAY_DIALOG" resource's controls.
namespace replay_dialog {
constexpr int kBreak = 195;
constexpr int kDifference = 196;
}  // namespace replay_dialog

class ReplayDialog : public MeasureDialog {
public:
    // BREAK: the dialog ends with DialogEnd::Break without CanClose.
    void Break() { Finish(DialogEnd::Break); }

    // The dialog's title.
    const std::string& caption() const { return caption_; }
    // The difference text (control 196), lines separated by "\r\n".
    const std::string& difference() const { return difference_; }

protected:
    ReplayDialog(SessionData& session, MeteorImage& image, int column, int row, int index, ReplayOffsets offsets,
                 std::string caption, std::string title);

    // After a click: the title, then the difference in pixels.
    void ShowDifference(double dx, double dy);

    std::string caption_;
    std::string title_;  // "Star 3", "Break 2" or the template star's name
    std::string difference_;
};

class StarReplay : public ReplayDialog {
public:
    StarReplay(SessionData& session, MeteorImage& image, int column, int row, int star, ReplayOffsets offsets);
    bool MeasuresStars() const override { return true; }

protected:
    void ProcessPosition() override;
    bool CanClose() override;

private:
    int star_;
};

class MeteorReplay : public ReplayDialog {
public:
    MeteorReplay(SessionData& session, MeteorImage& image, int column, int row, int point, ReplayOffsets offsets);

protected:
    void ProcessPosition() override;
    bool CanClose() override;

private:
    int point_;
};

class StarTemplate : public ReplayDialog {
public:
    StarTemplate(SessionData& session, MeteorImage& image, int column, int row, const CatStar& star);
    bool MeasuresStars() const override { return true; }

protected:
    void ProcessPosition() override;
    bool CanClose() override;

private:
    CatStar star_;
};
