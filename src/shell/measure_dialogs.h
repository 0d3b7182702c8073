#pragma once
// The measuring dialogs the main window runs: the star and meteor dialogs
// of a left click in the image view, and the replay and template dialogs of
// the replay loop and Open template. Each is modal and works on Session and
// Mimg; the positions are image pixels (column from the left, row from the
// top).
#include <optional>
#include <vector>

#include "identify/identify_stars.h"
#include "session/records.h"

enum class DialogEnd { Ok, Cancel, Break };

class MeasureDialogs {
public:
    virtual ~MeasureDialogs() = default;
    // Measures and identifies a star near (column, row); OK adds it.
    virtual void RunStarDialog(int column, int row) = 0;
    // The same with a catalogue star offered at the top of the candidate
    // list, selected.
    virtual void RunStarDialogFor(int column, int row, const CatStar&) { RunStarDialog(column, row); }
    // Measures meteor points starting near (column, row).
    virtual void RunMeteorDialog(int column, int row) = 0;
    // Measures star `index` again; OK adds the measurement.
    virtual DialogEnd RunStarReplay(int column, int row, int index) = 0;
    // Measures meteor point `index` again.
    virtual DialogEnd RunMeteorReplay(int column, int row, int index) = 0;
    // Measures a template star on the new image; OK adds it to Session.
    virtual DialogEnd RunTemplateStar(int column, int row, const CatStar& star) = 0;
    // Shows the stars the automatic identification proposes, each with a
    // tick; the ticked ones on OK, nothing on Cancel.
    virtual std::optional<std::vector<StarProposal>> RunIdentifyProposals(const SkyPointing& solution,
                                                                          const std::vector<StarProposal>& proposals) {
        (void)solution;
        (void)proposals;
        return std::nullopt;
    }
};
