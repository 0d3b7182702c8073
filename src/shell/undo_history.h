#pragma once
// Undo and redo: the history of whole session states, each the session with
// the exposure record, as they stood after the commands that changed them.
// Restoring a step gives the session back exactly, with the plate centre,
// standard deviation and surround it had, so that a file saved from it is
// the file saved then.
//
// A state whose measurements (everything but the reduction's results) equal
// the current step's is no new step: it only brings the reduction's results
// of the current step up to date. So a recomputation after the command (the
// analysis view's) never costs the user an undo step.
//
// The history remembers which step is the one saved on disk (or read from
// it); the unsaved-changes flag follows from that after an undo or redo.
#include <cstddef>
#include <cstdint>
#include <deque>

#include "session/session_data.h"

struct SessionState {
    SessionData session;
    DialogData exposure;
};

// Every field of both sessions and records equal, floats bit for bit.
bool SameState(const SessionData& a, const DialogData& da, const SessionData& b, const DialogData& db);
// As SameState, but the reduction's results (surround, sd, plate centre and
// origin) are not compared.
bool SameMeasurements(const SessionData& a, const DialogData& da, const SessionData& b, const DialogData& db);

class UndoHistory {
public:
    // depth: the most steps that can be undone; older ones are forgotten.
    explicit UndoHistory(std::size_t depth = 200);

    // Forgets every step: the state given is the only one. saved: it is the
    // state on disk.
    void Reset(const SessionData& s, const DialogData& d, bool saved);
    // The state after a command: a new step (the steps that could be
    // redone are forgotten) when its measurements differ from the current
    // step's, otherwise the current step takes it. Nothing before Reset.
    void Record(const SessionData& s, const DialogData& d);
    // The current step is the state on disk.
    void MarkSaved();

    bool CanUndo() const { return current_ > 0; }
    bool CanRedo() const { return current_ + 1 < steps_.size(); }
    // Moves one step back or forward and returns the state to restore;
    // only when CanUndo / CanRedo.
    const SessionState& Undo();
    const SessionState& Redo();
    // The current step is the state on disk.
    bool AtSaved() const;

    std::size_t size() const { return steps_.size(); }

private:
    struct Step {
        SessionState state;
        std::uint64_t id;
    };
    std::size_t depth_;
    std::deque<Step> steps_;
    std::size_t current_ = 0;
    std::uint64_t next_id_ = 1;
    std::uint64_t saved_id_ = 0;  // 0: no step is the state on disk
};
