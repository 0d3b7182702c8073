#pragma once
// The star dialog's candidate list (control 174): one line per catalogue
// candidate, its tab-separated cells lined up under the column heads at the
// list's tab stops (44, 59, 85 and 109 dialog units from its left edge), as
// a list box with tab stops draws them. The items keep the whole line as
// their text.
#include <QStyledItemDelegate>

class QListWidget;

class CandidateListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// Gives the list its tab stops.
void SetCandidateTabStops(QListWidget& list);
