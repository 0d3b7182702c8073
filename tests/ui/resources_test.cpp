#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/dialogs/numeric_edits.h"
#include "ui/resources/program_art.h"
#include "ui/resources/resource_builder.h"

namespace {

// A menu as text: "Meteor: 905 &Edit label | ... | 904 &Delete |".
std::string Describe(const QMenu& menu) {
    std::string out = menu.title().toStdString() + ":";
    for (const QAction* a : menu.actions()) {
        if (a->isSeparator())
            out += " -";
        else
            out += " " + std::to_string(CommandOf(a)) + " " + a->text().toStdString();
        out += " |";
    }
    return out;
}

// The window tests read the items of the context menus as they open; the
// menu of a video's meteor point, without the maximum, is found by name
// and by its place.
TEST(PopupMenus, TheVideosMeteorPointMenuIsFoundByNameAndByPosition) {
    const MenuSpec& popups = *FindMenuResource("POPUP_MENUS");
    std::unique_ptr<QMenu> first(BuildPopupMenu(popups, 0));
    std::unique_ptr<QMenu> by_name(BuildPopupMenu(popups, "Meteor"));
    EXPECT_EQ(Describe(*by_name), "Meteor: 905 &Edit label | 903 &Switch to analysis | 904 &Delete |");
    EXPECT_EQ(Describe(*first), Describe(*by_name));
    EXPECT_NE(std::unique_ptr<QMenu>(BuildPopupMenu(popups, 8)), nullptr);
    EXPECT_EQ(BuildPopupMenu(popups, 9), nullptr);
}

TEST(DialogBuilder, MakesTheKindOfControlTheTemplateNamesAndFindsItById) {
    ResourceDialog dialog("DATA_DIALOG", nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Exposure data");
    EXPECT_NE(dialog.ControlAs<QComboBox>(151), nullptr);
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(152)->maxLength(), 8);
    EXPECT_NE(qobject_cast<T_UINTEdit*>(dialog.Control(154)), nullptr);
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(154)->maxLength(), 4);
    EXPECT_EQ(dialog.ControlAs<QLabel>(1160)->text(), "Reference time:");
    EXPECT_EQ(ControlId(dialog.Control(152)), 152);
    EXPECT_EQ(dialog.Control(999), nullptr);
    // A run of radio buttons is one exclusive group.
    auto* turner = dialog.ControlAs<QRadioButton>(165);
    turner->setChecked(true);
    dialog.ControlAs<QRadioButton>(166)->setChecked(true);
    EXPECT_FALSE(turner->isChecked());
    ResourceDialog station("STATION_DIALOG", nullptr);
    EXPECT_NE(qobject_cast<T_INTEdit*>(station.Control(252)), nullptr);
    EXPECT_NE(qobject_cast<T_UFLOATEdit*>(station.Control(257)), nullptr);
    EXPECT_THROW(ResourceDialog("NO_SUCH_DIALOG", nullptr), std::invalid_argument);
}

// Two pixels a dialog unit; custom controls come from the dialog's factory.
TEST(DialogBuilder, PlacesControlsAtTwoPixelsPerDialogUnitAndTakesCustomOnesFromTheFactory) {
    DialogSpec plan{"TEST", "Test", 100, 50, {{300, ControlKind::Custom, "", 5, 5, 40, 40}, {1, ControlKind::DefButton, "OK", 50, 30, 30, 14}}};
    QDialog dialog;
    BuildDialog(plan, dialog, [](const ControlSpec& c, QWidget* parent) -> QWidget* {
        return c.id == 300 ? new QGroupBox("made here", parent) : nullptr;
    });
    auto* custom = qobject_cast<QGroupBox*>(FindControl(&dialog, 300));
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(custom->title(), "made here");
    EXPECT_EQ(custom->geometry(), QRect(10, 10, 80, 80));
    EXPECT_NE(qobject_cast<QPushButton*>(FindControl(&dialog, 1)), nullptr);
}

// Checks every template, those added later included: ids are unique, every
// control lies inside its dialog and no two controls overlap (a group box
// may hold controls, but not cut through one).
TEST(DialogTemplates, KeepEveryControlInsideTheDialogWithoutOverlapsOrRepeatedIds) {
    for (const DialogSpec* d : DialogResources()) {
        std::set<int> ids;
        for (std::size_t i = 0; i < d->controls.size(); ++i) {
            const ControlSpec& a = d->controls[i];
            const QRect ra(a.x, a.y, a.w, a.h);
            EXPECT_TRUE(QRect(0, 0, d->w, d->h).contains(ra)) << d->name << " control " << a.id;
            if (a.id != -1) {
                EXPECT_TRUE(ids.insert(a.id).second) << d->name << " repeats " << a.id;
            }
            for (std::size_t j = i + 1; j < d->controls.size(); ++j) {
                const ControlSpec& b = d->controls[j];
                const QRect rb(b.x, b.y, b.w, b.h);
                const bool group = a.kind == ControlKind::GroupBox || b.kind == ControlKind::GroupBox;
                const bool overlap = group ? ra.intersects(rb) && !ra.contains(rb) && !rb.contains(ra)
                                           : ra.intersects(rb);
                EXPECT_FALSE(overlap) << d->name << ": " << a.id << " \"" << a.text << "\" and " << b.id
                                      << " \"" << b.text << "\"";
            }
        }
    }
}

TEST(ProgramArt, TheIconIsDrawnAtEverySizeAndTheRingCursorPointsAtItsCentre) {
    const QIcon icon = ProgramIcon();
    EXPECT_FALSE(icon.isNull());
    EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
    const QImage big = ProgramIconPixmap(64).toImage();
    EXPECT_EQ(qAlpha(big.pixel(0, 0)), 0);     // rounded corner
    EXPECT_EQ(qAlpha(big.pixel(32, 32)), 255);  // sky
    const QCursor ring = RingCursor();
    EXPECT_EQ(ring.hotSpot(), QPoint(15, 15));
    const QImage shape = ring.pixmap().toImage();
    EXPECT_EQ(qAlpha(shape.pixel(15, 15)), 0);   // the measured pixel stays visible
    EXPECT_EQ(qAlpha(shape.pixel(22, 15)), 255);  // on the ring
}

}  // namespace
