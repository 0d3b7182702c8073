// The star dialog as the observer uses it, over the shipped catalogue: the
// automatic search from three stars on, the default button Enter follows,
// and the warning and question about a star measured before. (The search
// by name and the automatic one run through the windows in the observation
// tests; what the searches find, a fit that fails and Cancel are tested on
// the dialog's core.)

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cstring>

#include "measure_sky_scene.h"
#include "measure_ui_support.h"
#include "platform/scripted.h"
#include "ui/measure/star_dialog_window.h"

namespace {

using namespace measure_ui;
using sky_scene::TrueStar;

constexpr int kW = 1280, kH = 960;

// Orion through a 35 mm lens without distortion: enough named stars for
// the searches by name and a plate solution from the first three.
const sky_scene::Scene& Orion() {
    static const sky_scene::Scene scene = sky_scene::MakeScene(
        ShippedCatalogue(), {.camera = {5.55, 1.0, 35, 8, 0, kW, kH}, .stars_to_choose = 8, .from_u = 420,
                             .from_v = 560, .to_u = 760, .to_v = 400});
    return scene;
}

Star Measured(const TrueStar& t) { return Star(t.cat, static_cast<float>(t.u * 0.012), static_cast<float>(t.v * 0.012)); }

class StarDialogTest : public testing::Test {
protected:
    StarDialogTest() : image_(kW, kH), guard_(&image_) {}

    // The dialog opened on the pixel of star t (or any pixel), shown.
    void Open(double u, double v) {
        dialog_ = std::make_unique<TStarDialog>(nullptr, session(), image_, static_cast<int>(u),
                                                kH - 1 - static_cast<int>(v), messages_,
                                                StarSearchSettings{ShippedCatalogue(), 0.5f, 8.0f, std::nullopt});
        dialog_->show();
        QApplication::processEvents();
    }
    // A click on the star's true centre in the magnifier.
    void ClickAt(double u, double v) {
        ClickMagnifier(*dialog_, ControlPixelFor(dialog_->core().magnifier().origin(), u, v));
    }
    void Type(int id, const char* text) { QTest::keyClicks(dialog_->ControlAs<QLineEdit>(id), text); }
    void Enter() { QTest::keyClick(dialog_->ControlAs<QLineEdit>(171), Qt::Key_Return); }
    QListWidget& List() { return *dialog_->ControlAs<QListWidget>(174); }
    bool IsDefault(int id) { return dialog_->ControlAs<QPushButton>(id)->isDefault(); }
    SessionData& session() { return guard_.session; }

    GreyPicture image_;
    SessionGuard guard_;
    ScriptedMessageBox messages_;
    std::unique_ptr<TStarDialog> dialog_;
};

TEST_F(StarDialogTest, FromThreeStarsOnTheClickSearchesAndPreselectsTheCandidateThatFitsBest) {
    const auto& chosen = Orion().chosen;
    for (int i = 0; i < 3; ++i) session().AddStar(Measured(chosen[i]), 1);
    const TrueStar& next = chosen[3];
    Open(next.u, next.v);
    EXPECT_TRUE(IsDefault(176));
    ClickAt(next.u, next.v);
    ASSERT_GT(List().count(), 0);
    ASSERT_GE(List().currentRow(), 0);
    EXPECT_STREQ(dialog_->star().candidate(List().currentRow())->name, next.cat.name);
    EXPECT_EQ(List().item(0)->text().count('\t'), 4) << "the st.dev column is there";

    // A second click only moves the position.
    const std::vector<std::string> lines = dialog_->star().lines();
    ClickAt(next.u + 2, next.v);
    EXPECT_EQ(dialog_->star().lines(), lines);
    ClickAt(next.u, next.v);

    // Typing makes Search the default again; OK still takes the star.
    Type(171, "x");
    EXPECT_TRUE(IsDefault(175));
    QTest::keyClick(dialog_->ControlAs<QLineEdit>(171), Qt::Key_Backspace);
    QTest::mouseClick(dialog_->ControlAs<QPushButton>(176), Qt::LeftButton);
    EXPECT_FALSE(dialog_->isVisible());
    ASSERT_EQ(session().nstar, 4u);
    EXPECT_STREQ(session().stars[3].name, next.cat.name);
}

TEST_F(StarDialogTest, AStarMeasuredBeforeIsWarnedOfAndAddedAgainOnlyWhenTheObserverSaysYes) {
    const TrueStar& t = Orion().chosen[0];
    session().AddStar(Measured(t), 0);
    Open(t.u, t.v);
    ClickAt(t.u, t.v);
    Type(171, Trimmed(t.cat.name).c_str());
    Enter();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "Star was identified before");
    EXPECT_EQ(messages_.shown[0].caption, "Star measurement");
    EXPECT_EQ(messages_.shown[0].icon, MbIcon::Exclamation);
    ASSERT_EQ(List().count(), 1);
    EXPECT_EQ(List().currentRow(), -1);

    // The observer chooses it anyway.
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, List().visualItemRect(List().item(0)).center());
    EXPECT_EQ(List().currentRow(), 0);
    messages_.answers = {MbAnswer::No};
    Enter();
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[1].text, "Star was identified before.\n Continue?");
    EXPECT_EQ(messages_.shown[1].buttons, MbButtons::YesNo);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(session().nstar, 1u);

    messages_.answers = {MbAnswer::Yes};
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, List().visualItemRect(List().item(0)).center());
    EXPECT_FALSE(dialog_->isVisible());
    ASSERT_EQ(session().nstar, 2u);
    EXPECT_STREQ(session().stars[1].name, t.cat.name);
}

}  // namespace
