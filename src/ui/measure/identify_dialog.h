#pragma once
// The proposals of Identify stars automatically: the plate solution, and
// one row per catalogue star found on the picture (name, magnitude,
// measured position, distance from the prediction), each with a tick, all
// ticked at the start. OK keeps the ticked stars, Cancel none.
#include <QDialog>
#include <vector>

#include "identify/identify_stars.h"

class QTreeWidget;

class TIdentifyDialog : public QDialog {
    Q_OBJECT
public:
    TIdentifyDialog(QWidget* parent, const SkyPointing& solution, const std::vector<StarProposal>& proposals);

    // The ticked proposals, in the list's order.
    std::vector<StarProposal> Ticked() const;
    QTreeWidget* list() const { return list_; }

private:
    std::vector<StarProposal> proposals_;
    QTreeWidget* list_ = nullptr;
};
