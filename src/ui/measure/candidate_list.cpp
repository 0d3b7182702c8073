#include "ui/measure/candidate_list.h"

#include <QApplication>
#include <QListWidget>
#include <QPainter>

#include "measure/star_dialog.h"
#include "ui/resources/resource_builder.h"

namespace {

// The list's text starts this far inside its frame, as the heads assume.
constexpr int kTextIndent = 2;

}  // namespace

void CandidateListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString line = opt.text;
    // The style draws the row's background and selection; the cells are
    // drawn here.
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    painter->save();
    const bool selected = (opt.state & QStyle::State_Selected) != 0;
    painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const std::vector<ListCell> cells = CandidateCells(line.toStdString());
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const int left = opt.rect.x() + kTextIndent + DialogUnits(cells[k].x);
        const int right = k + 1 < cells.size() ? opt.rect.x() + kTextIndent + DialogUnits(cells[k + 1].x)
                                               : opt.rect.right();
        const QRect cell(left, opt.rect.y(), std::max(right - left, 0), opt.rect.height());
        painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                          QString::fromStdString(cells[k].text));
    }
    painter->restore();
}

void SetCandidateTabStops(QListWidget& list) {
    list.setItemDelegate(new CandidateListDelegate(&list));
    list.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.setUniformItemSizes(true);
}
