#include "measure/replay_dialogs.h"

#include <cstdio>

#include "image/meteor_image.h"
#include "session/session_data.h"

namespace {

std::string Numbered(const char* word, int i) { return std::string(word) + " " + std::to_string(i + 1); }

}  // namespace

ReplayDialog::ReplayDialog(SessionData& session, MeteorImage& image, int column, int row, int index,
                           ReplayOffsets offsets, std::string caption, std::string title)
    : MeasureDialog(session, image, column, row, index, offsets),
      caption_(std::move(caption)),
      title_(std::move(title)),
      difference_(title_) {}

void ReplayDialog::ShowDifference(double dx, double dy) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "\r\n\r\ndx=%+5.2f pxl\r\ndy=%+5.2f pxl", dx, dy);
    difference_ = title_ + buf;
}

StarReplay::StarReplay(SessionData& session, MeteorImage& image, int column, int row, int star,
                       ReplayOffsets offsets)
    : ReplayDialog(session, image, column, row, star, offsets, "Star replay", Numbered("Star", star)),
      star_(star) {}

void StarReplay::ProcessPosition() {
    ShowDifference(83.333 * (position_.x - session_.fxstr(star_)), 83.333 * (position_.y - session_.fystr(star_)));
}

bool StarReplay::CanClose() {
    if (!measured_) return false;
    session_.ReplayStar(star_, position_.x, position_.y);
    return true;
}

MeteorReplay::MeteorReplay(SessionData& session, MeteorImage& image, int column, int row, int point,
                           ReplayOffsets offsets)
    : ReplayDialog(session, image, column, row, static_cast<int>(session.nstar) + point, offsets,
                   "Meteor replay", Numbered("Break", point)),
      point_(point) {
    if (!image.IsVideo()) return;
    const bool known = point >= 0 && static_cast<unsigned>(point) < session.nmet;
    magnifier_.Move(origin_, known ? session.meteors[point].frame : -1);
}

void MeteorReplay::ProcessPosition() {
    ShowDifference(83.333 * (position_.x - session_.fxmet(point_)),
                   83.333 * (position_.y - session_.fymet(point_)));
}

bool MeteorReplay::CanClose() {
    if (!measured_) return false;
    session_.ReplayMetPnt(point_, position_.x, position_.y);
    return true;
}

StarTemplate::StarTemplate(SessionData& session, MeteorImage& image, int column, int row, const CatStar& star)
    : ReplayDialog(session, image, column, row, -1, {}, "Star from template", star.name), star_(star) {}

void StarTemplate::ProcessPosition() {
    // Against the window's centre, where the template puts the star.
    ShowDifference(83.333 * position_.x - origin_.x - 40, 83.333 * position_.y - origin_.y - 40);
}

bool StarTemplate::CanClose() {
    if (!measured_) return false;
    session_.AddStar(Star(star_, position_.x, position_.y), 0);
    return true;
}
