// The measuring dialogs' texts fit their controls in the program's font,
// with the widest values they can show: nothing is clipped or runs into
// its neighbour.

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>

#include "measure/meteor_readout.h"
#include "measure_ui_support.h"
#include "ui/measure/meteor_dialog_window.h"
#include "ui/measure/replay_dialog_window.h"
#include "ui/measure/star_dialog_window.h"

namespace {

using namespace measure_ui;

// Every label and button of the dialog shows its whole text.
void ExpectTextsFit(QWidget& dialog) {
    for (QLabel* l : dialog.findChildren<QLabel*>()) {
        if (l->text().isEmpty()) continue;
        const QRect need = l->fontMetrics().boundingRect(l->contentsRect(), static_cast<int>(l->alignment()), l->text());
        EXPECT_TRUE(l->contentsRect().contains(need))
            << dialog.objectName().toStdString() << ": \"" << l->text().toStdString() << "\" needs " << need.width()
            << " x " << need.height() << ", has " << l->width() << " x " << l->height();
    }
    for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>()) {
        if (b->text().isEmpty()) continue;
        // A check box's text follows its indicator.
        const int indicator = qobject_cast<QCheckBox*>(b) ? 24 : 8;
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + indicator, b->width())
            << dialog.objectName().toStdString() << ": \"" << b->text().toStdString() << "\"";
        EXPECT_LE(b->fontMetrics().height(), b->height()) << b->text().toStdString();
    }
}

// The dialogs over a large picture.
class MeasureDialogLayout : public DialogTest<QDialog> {
protected:
    MeasureDialogLayout() : DialogTest(4000, 3000) {}
};

TEST_F(MeasureDialogLayout, EveryDialogsTextsFitTheirWidestValues) {
    TMeteorDialog d(nullptr, session(), image_, 100, 100, messages_);
    d.show();
    const MeteorReadout widest = FormatMeteorReadout(47.988f, 35.988f, 23.95f, -89.95f, false);
    d.ControlAs<QLabel>(193)->setText(QString::fromStdString(widest.values).replace("\r\n", "\n"));
    d.ControlAs<QLabel>(194)->setText(QString::fromStdString(widest.captions).replace("\r\n", "\n"));
    ExpectTextsFit(d);
    TReplayDialog r(nullptr, image_, messages_,
                    std::make_unique<StarTemplate>(session(), image_, 100, 100, Cat("SAO123456", 1, 1, 1)));
    r.show();
    for (const char* text : {"Break 100\n\ndx=-99.99 pxl\ndy=-99.99 pxl", "SAO123456\n\ndx=+99.99 pxl\ndy=+99.99 pxl"}) {
        r.ControlAs<QLabel>(196)->setText(text);
        ExpectTextsFit(r);
    }
    // Every candidate cell of the star dialog fits between its tab stops.
    TStarDialog star(nullptr, session(), image_, 100, 100, messages_, {ShippedCatalogue(), 0.5f, 8.0f, {}});
    star.show();
    ExpectTextsFit(star);
    const QFontMetrics fm = star.ControlAs<QListWidget>(174)->fontMetrics();
    // The widest line: a nine-character name, a negative magnitude, the
    // widest right ascension and declination and the largest st.dev.
    const std::vector<ListCell> cells = CandidateCells(" SAO123456\t-1.4\t23 59.9\t-89 59\t99'59\"");
    const int list_width = star.ControlAs<QListWidget>(174)->viewport()->width();
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const int right = k + 1 < cells.size() ? DialogUnits(cells[k + 1].x) : list_width;
        EXPECT_LE(DialogUnits(cells[k].x) + 2 + fm.horizontalAdvance(QString::fromStdString(cells[k].text)), right - 2)
            << "cell " << k << " \"" << cells[k].text << "\"";
    }
}

}  // namespace
