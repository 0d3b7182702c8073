// The star dialog as the observer uses it, over the shipped catalogue: the
// default button Enter follows, and the warning and question about a star
// measured before. (The search by name and the automatic one run through
// the windows in the observation tests; what the searches find, a fit that
// fails and Cancel are tested on the dialog's core.)

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "measure_sky_scene.h"
#include "measure_ui_support.h"
#include "ui/measure/star_dialog_window.h"

namespace {

using namespace measure_ui;

constexpr int kW = 1280, kH = 960;

class StarDialogTest : public DialogTest<TStarDialog> {
protected:
    StarDialogTest() : DialogTest(kW, kH) {}
};

TEST_F(StarDialogTest, AStarMeasuredBeforeIsWarnedOfAndAddedAgainOnlyWhenTheObserverSaysYes) {
    // Orion through a 35 mm lens without distortion.
    const sky_scene::Scene scene = sky_scene::MakeScene(
        ShippedCatalogue(), {.camera = {5.55, 1.0, 35, 8, 0, kW, kH}, .stars_to_choose = 8, .from_u = 420,
                             .from_v = 560, .to_u = 760, .to_v = 400});
    const sky_scene::TrueStar& t = scene.chosen[0];
    session().AddStar(Star(t.cat, static_cast<float>(t.u * 0.012), static_cast<float>(t.v * 0.012)), 0);
    Show(std::make_unique<TStarDialog>(nullptr, session(), image_, static_cast<int>(t.u), kH - 1 - static_cast<int>(t.v),
                                       messages_, StarSearchSettings{ShippedCatalogue(), 0.5f, 8.0f, std::nullopt}));
    auto* name = dialog_->ControlAs<QLineEdit>(171);
    QListWidget& list = *dialog_->ControlAs<QListWidget>(174);
    ClickMagnifier(*dialog_, ControlPixelFor(dialog_->core().magnifier().origin(), t.u, t.v));
    // Typed, the name makes Search the default, which Enter then presses.
    QTest::keyClicks(name, QString(t.cat.name).trimmed());
    EXPECT_TRUE(dialog_->ControlAs<QPushButton>(175)->isDefault());
    QTest::keyClick(name, Qt::Key_Return);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption + ": " + messages_.shown[0].text, "Star measurement: Star was identified before");
    EXPECT_EQ(messages_.shown[0].icon, MbIcon::Exclamation);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.currentRow(), -1);

    // The observer chooses it anyway.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
    EXPECT_EQ(list.currentRow(), 0);
    messages_.answers = {MbAnswer::No};
    QTest::keyClick(name, Qt::Key_Return);
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[1].text, "Star was identified before.\n Continue?");
    EXPECT_EQ(messages_.shown[1].buttons, MbButtons::YesNo);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(session().nstar, 1u);

    messages_.answers = {MbAnswer::Yes};
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
    EXPECT_FALSE(dialog_->isVisible());
    ASSERT_EQ(session().nstar, 2u);
    EXPECT_STREQ(session().stars[1].name, t.cat.name);
}

}  // namespace
