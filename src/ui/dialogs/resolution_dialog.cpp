#include "ui/dialogs/resolution_dialog.h"

#include <QListWidget>

namespace {

constexpr int kList = 199;
constexpr int kFirstStep = 2;  // the step of the first line
// The two leading blanks of the first lines align the columns.
const char* const kLines[] = {"  256 X 384   pixels", "  512 X 768   pixels", "1024 X 1536 pixels",
                              "2048 X 3072 pixels"};

}  // namespace

TResolutionDialog::TResolutionDialog(QWidget* parent, int* step)
    : ResourceDialog("RESOLUTION_DIALOG", parent), step_(step) {
    auto* list = ControlAs<QListWidget>(kList);
    for (const char* line : kLines) list->addItem(QString::fromLatin1(line));
    const int row = *step_ - kFirstStep;
    if (row >= 0 && row < list->count()) list->setCurrentRow(row);
    connect(list, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
}

bool TResolutionDialog::CanClose() {
    const int row = ControlAs<QListWidget>(kList)->currentRow();
    if (row >= 0) *step_ = row + kFirstStep;
    return true;
}

void TResolutionDialog::accept() {
    if (CanClose()) ResourceDialog::accept();
}
