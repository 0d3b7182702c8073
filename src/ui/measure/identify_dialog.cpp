#include "ui/measure/identify_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TIdentifyDialog::TIdentifyDialog(QWidget* parent, const SkyPointing& solution,
                                 const std::vector<StarProposal>& proposals)
    : QDialog(parent), proposals_(proposals) {
    setWindowTitle(kIdentifyCaption);
    auto* layout = new QVBoxLayout(this);
    QStringList lines;
    for (const std::string& line : SolutionLines(solution)) lines << QString::fromStdString(line);
    auto* summary = new QLabel(lines.join('\n'), this);
    summary->setObjectName("solution");
    layout->addWidget(summary);

    list_ = new QTreeWidget(this);
    list_->setObjectName("proposals");
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({"Name", "Mv", "x (px)", "y (px)", "Distance (px)"});
    for (const StarProposal& p : proposals_) {
        const std::vector<std::string> f = ProposalFields(p);
        auto* item = new QTreeWidgetItem(list_);
        for (int c = 0; c < 5; ++c) {
            item->setText(c, QString::fromStdString(f[static_cast<std::size_t>(c)]));
            if (c > 0) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        }
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
    }
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->header()->setStretchLastSection(false);
    list_->setMinimumSize(420, 300);
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::vector<StarProposal> TIdentifyDialog::Ticked() const {
    std::vector<StarProposal> kept;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->checkState(0) == Qt::Checked) kept.push_back(proposals_[static_cast<std::size_t>(i)]);
    return kept;
}
