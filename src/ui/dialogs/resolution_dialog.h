#pragma once
// "Photo CD resolution": the resolution step (2..5) at which Photo CD images
// are loaded. OK, or a double click on a line, takes the selected line;
// Cancel keeps the step.
#include "ui/resources/resource_builder.h"

class TResolutionDialog : public ResourceDialog {
    Q_OBJECT
public:
    TResolutionDialog(QWidget* parent, int* step);

    bool CanClose();
    void accept() override;

private:
    int* step_;
};
