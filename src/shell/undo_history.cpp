#include "shell/undo_history.h"

#include <cstring>

namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool SameFloats(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0);
}

bool SameCatalogue(const CatStar& a, const CatStar& b) {
    return std::strncmp(a.name, b.name, sizeof a.name) == 0 && SameBits(a.mag, b.mag) && SameBits(a.ra, b.ra) &&
           SameBits(a.pmra, b.pmra) && SameBits(a.raobs, b.raobs) && SameBits(a.de, b.de) &&
           SameBits(a.pmde, b.pmde) && SameBits(a.deobs, b.deobs);
}

bool SameStar(const Star& a, const Star& b) {
    return SameCatalogue(a, b) && a.nrep == b.nrep && a.hidden == b.hidden && SameFloats(a.x, b.x) &&
           SameFloats(a.y, b.y);
}

bool SameMeteor(const Meteor& a, const Meteor& b) {
    return a.nrep == b.nrep && a.frame == b.frame && std::strncmp(a.label, b.label, sizeof a.label) == 0 &&
           SameFloats(a.x, b.x) && SameFloats(a.y, b.y);
}

// The texts compare up to their terminator: what lies behind it is never
// read or written.
bool SameExposure(const DialogData& a, const DialogData& b) {
    auto same = [](const auto& x, const auto& y) { return std::strncmp(x, y, sizeof x) == 0; };
    return same(a.station, b.station) && same(a.image, b.image) && same(a.meteor, b.meteor) &&
           same(a.year, b.year) && same(a.month, b.month) && same(a.day, b.day) && same(a.hour, b.hour) &&
           same(a.minute, b.minute) && same(a.second, b.second) && same(a.refhour, b.refhour) &&
           same(a.refminute, b.refminute) && same(a.refsecond, b.refsecond) && same(a.objective, b.objective) &&
           same(a.shutter, b.shutter) && same(a.customshutter, b.customshutter) && a.astrometry == b.astrometry &&
           a.status == b.status;
}

bool SameResults(const SessionData& a, const SessionData& b) {
    return SameBits(a.surround, b.surround) && SameBits(a.sd, b.sd) && SameBits(a.x0, b.x0) &&
           SameBits(a.y0, b.y0) && SameBits(a.racen, b.racen) && SameBits(a.decen, b.decen);
}

}  // namespace

bool SameMeasurements(const SessionData& a, const DialogData& da, const SessionData& b, const DialogData& db) {
    if (a.nstar != b.nstar || a.nhide != b.nhide || a.nmet != b.nmet || a.nreplay != b.nreplay ||
        a.mstart != b.mstart || a.order != b.order || a.stars.size() != b.stars.size() ||
        a.meteors.size() != b.meteors.size() || !SameExposure(da, db)) {
        return false;
    }
    for (std::size_t i = 0; i < a.stars.size(); ++i)
        if (!SameStar(a.stars[i], b.stars[i])) return false;
    for (std::size_t i = 0; i < a.meteors.size(); ++i)
        if (!SameMeteor(a.meteors[i], b.meteors[i])) return false;
    return true;
}

bool SameState(const SessionData& a, const DialogData& da, const SessionData& b, const DialogData& db) {
    return SameResults(a, b) && SameMeasurements(a, da, b, db);
}

UndoHistory::UndoHistory(std::size_t depth) : depth_(depth) {}

void UndoHistory::Reset(const SessionData& s, const DialogData& d, bool saved) {
    steps_.clear();
    steps_.push_back(Step{SessionState{s, d}, next_id_++});
    current_ = 0;
    saved_id_ = saved ? steps_.back().id : 0;
}

void UndoHistory::Record(const SessionData& s, const DialogData& d) {
    if (steps_.empty()) return;
    SessionState& now = steps_[current_].state;
    if (SameMeasurements(now.session, now.exposure, s, d)) {
        if (!SameResults(now.session, s)) now.session = s;
        return;
    }
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(current_) + 1, steps_.end());
    steps_.push_back(Step{SessionState{s, d}, next_id_++});
    if (steps_.size() > depth_ + 1) steps_.pop_front();
    current_ = steps_.size() - 1;
}

void UndoHistory::MarkSaved() {
    if (!steps_.empty()) saved_id_ = steps_[current_].id;
}

const SessionState& UndoHistory::Undo() { return steps_[--current_].state; }

const SessionState& UndoHistory::Redo() { return steps_[++current_].state; }

bool UndoHistory::AtSaved() const { return !steps_.empty() && steps_[current_].id == saved_id_; }
