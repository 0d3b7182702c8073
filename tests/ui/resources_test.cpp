#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/dialogs/numeric_edits.h"
#include "ui/resources/program_art.h"
#include "ui/resources/resource_builder.h"

namespace {

// A menu as text: "&File: 19 &New session | 22 ... | - | 102 E&xit".
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

TEST(MainMenu, HasEveryItemWithItsIdMnemonicAndSeparatorInOrder) {
    QMenuBar bar;
    BuildMenuBar(*FindMenuResource("MAIN_MENU"), bar);
    std::vector<std::string> menus;
    for (const QAction* a : bar.actions()) menus.push_back(Describe(*a->menu()));
    const std::vector<std::string> expected = {
        "&File: 19 &New session | 22 &Open image file | 2 Open &template | 1 &Retrieve session | "
        "3 &Save session | 42 Ex&port report… | - | 102 E&xit |",
        "&Edit: 40 U&ndo | 41 &Redo | - | 4 &Hide star | 5 &Unhide star | - | 6 &Paste image | - | 7 &Delete measurement | "
        "8 Delete &all meteor points |",
        "&Image: 9 &Zoom to fit | 10 &Original pixels | 11 &Brightness/contrast | - | 601 Show &residuals | "
        "602 Show &catalogue stars | - | 12 &Play | 13 In&fo |",
        "&Measure: 14 &Exposure data | 15 &Stars | 16 &Meteor | - | 17 &Replay meteor | "
        "18 Re&play stars + meteor | - | 30 &Identify stars automatically |",
        "&Options: 501 Photo &CD resolution | 502 &Replay randomness | - | 504 Star &search area | "
        "505 Star &limiting magnitude | 508 Identification &time limit | - | 506 &Mark plate center | 507 S&nap clicks to star centre |",
        "&Window: 20 &Measure | 21 &Analysis |",
        "&Help: 701 &Manual | 702 &About... |",
    };
    EXPECT_EQ(menus, expected);
}

TEST(MainMenu, ItemsWithAnEnableRuleStartGreyedAndMarkPlateCenterCarriesACheck) {
    QMenuBar bar;
    BuildMenuBar(*FindMenuResource("MAIN_MENU"), bar);
    for (int id = 1; id <= 22; ++id) {
        ASSERT_NE(FindCommand(&bar, id), nullptr) << id;
        EXPECT_FALSE(FindCommand(&bar, id)->isEnabled()) << id;
    }
    for (int id : {102, 501, 502, 504, 505, 506, 701, 702}) EXPECT_TRUE(FindCommand(&bar, id)->isEnabled()) << id;
    QAction* mark = FindCommand(&bar, 506);
    EXPECT_TRUE(mark->isCheckable());
    EXPECT_TRUE(mark->isChecked());
    EXPECT_FALSE(FindCommand(&bar, 505)->isCheckable());
    EXPECT_EQ(FindCommand(&bar, 503), nullptr);
}

TEST(PopupMenus, AreTheNineContextMenusByPositionAndByName) {
    const MenuSpec& popups = *FindMenuResource("POPUP_MENUS");
    const std::vector<std::string> expected = {
        "Meteor: 905 &Edit label | 903 &Switch to analysis | 904 &Delete |",
        "Meteormmax: 906 Mark as &maximum | 905 &Edit label | 903 &Switch to analysis | 904 &Delete |",
        "Meteorumax: 906 Unmark as &maximum | 905 &Edit label | 903 &Switch to analysis | 904 &Delete |",
        "Displayhstar: 902 &Unhide for analysis | 903 &Switch to analysis | 904 &Delete |",
        "Displayustar: 901 &Hide for analysis | 903 &Switch to analysis | 904 &Delete |",
        "Displayclient: 903 &Switch to analysis |",
        "Analysishstar: 902 &Unhide for analysis | 903 &Switch to measuring | 904 &Delete |",
        "Analysisustar: 901 &Hide for analysis | 903 &Switch to measuring | 904 &Delete |",
        "Analysisclient: 903 &Switch to measuring |",
    };
    for (int i = 0; i < 9; ++i) {
        std::unique_ptr<QMenu> menu(BuildPopupMenu(popups, i));
        ASSERT_TRUE(menu);
        EXPECT_EQ(Describe(*menu), expected[i]);
        for (const QAction* a : menu->actions()) EXPECT_TRUE(a->isEnabled());
    }
    EXPECT_EQ(BuildPopupMenu(popups, 9), nullptr);
    std::unique_ptr<QMenu> byName(BuildPopupMenu(popups, "Displayustar"));
    EXPECT_EQ(Describe(*byName), expected[4]);
}

TEST(DialogBuilder, PlacesControlsAtTwoPixelsPerDialogUnitAndFindsThemById) {
    ResourceDialog dialog("IMAGE_DIALOG", nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Display image");
    EXPECT_EQ(dialog.size(), QSize(252, 160));
    EXPECT_EQ(dialog.Control(105)->geometry(), QRect(16, 4, 220, 96));
    EXPECT_EQ(dialog.Control(141)->geometry(), QRect(28, 18, 48, 28));
    EXPECT_EQ(dialog.Control(1)->geometry(), QRect(150, 116, 72, 28));
    EXPECT_EQ(dialog.ControlAs<QPushButton>(145)->text(), "Invert");
    EXPECT_EQ(ControlId(dialog.Control(144)), 144);
    EXPECT_EQ(dialog.Control(2), nullptr);
    // Labels without an id are there but nobody finds them.
    std::vector<QString> labels;
    for (const QLabel* l : dialog.findChildren<QLabel*>()) labels.push_back(l->text());
    EXPECT_EQ(labels, (std::vector<QString>{"Brightness", "Contrast"}));
}

TEST(DialogBuilder, MakesTheKindOfControlTheTemplateNames) {
    ResourceDialog dialog("DATA_DIALOG", nullptr);
    EXPECT_NE(dialog.ControlAs<QComboBox>(151), nullptr);
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(152)->maxLength(), 8);
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(163)->maxLength(), 56);
    EXPECT_NE(qobject_cast<T_UINTEdit*>(dialog.Control(154)), nullptr);
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(154)->maxLength(), 4);
    EXPECT_EQ(dialog.ControlAs<QLabel>(1160)->text(), "Reference time:");
    EXPECT_NE(dialog.ControlAs<QRadioButton>(165), nullptr);
    ResourceDialog station("STATION_DIALOG", nullptr);
    EXPECT_NE(qobject_cast<T_INTEdit*>(station.Control(252)), nullptr);
    EXPECT_NE(qobject_cast<T_UFLOATEdit*>(station.Control(257)), nullptr);
    EXPECT_THROW(ResourceDialog("NO_SUCH_DIALOG", nullptr), std::invalid_argument);
}

TEST(DialogBuilder, OkAcceptsCancelRejectsAndFocusNeverMovesTheDefault) {
    ResourceDialog dialog("RESOLUTION_DIALOG", nullptr);
    auto* ok = dialog.ControlAs<QPushButton>(1);
    auto* cancel = dialog.ControlAs<QPushButton>(2);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(cancel->isDefault());
    EXPECT_FALSE(cancel->autoDefault());
    dialog.show();
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_EQ(rejected.count(), 1);
    dialog.show();
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    cancel->setFocus();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(accepted.count(), 1);
}

TEST(DialogBuilder, ARunOfRadioButtonsIsOneExclusiveGroup) {
    ResourceDialog dialog("DATA_DIALOG", nullptr);
    auto* turner = dialog.ControlAs<QRadioButton>(165);
    auto* redsky = dialog.ControlAs<QRadioButton>(166);
    turner->setChecked(true);
    redsky->setChecked(true);
    EXPECT_FALSE(turner->isChecked());
}

TEST(DialogBuilder, CustomControlsComeFromTheDialogsFactory) {
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
