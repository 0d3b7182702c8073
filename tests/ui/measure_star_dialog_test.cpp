// The star dialog as the observer uses it, over the shipped catalogue: the
// name typed after the click, a typed position, the automatic search from
// three stars on, the warnings and the question, the default button Enter
// follows, a fit that fails, and Cancel.

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cstring>

#include "measure_sky_scene.h"
#include "measure_ui_support.h"
#include "shell/session_fields.h"
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

TEST_F(StarDialogTest, ANameTypedAfterTheClickIsSearchedByEnterAndASecondEnterAddsTheStar) {
    const TrueStar& betelgeuse = Orion().chosen[0];
    Open(betelgeuse.u, betelgeuse.v);
    EXPECT_TRUE(IsDefault(175));
    ClickAt(betelgeuse.u, betelgeuse.v);
    Type(171, Trimmed(betelgeuse.cat.name).c_str());
    Enter();
    ASSERT_EQ(List().count(), 1);
    EXPECT_EQ(List().currentRow(), 0);
    EXPECT_TRUE(List().item(0)->isSelected());
    EXPECT_TRUE(IsDefault(176));
    EXPECT_FALSE(IsDefault(175));
    EXPECT_TRUE(messages_.shown.empty());

    Enter();
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    ASSERT_EQ(session().nstar, 1u);
    EXPECT_STREQ(session().stars[0].name, betelgeuse.cat.name);
    EXPECT_NEAR(session().fxstr(0) / 0.012, betelgeuse.u, 0.126);
    EXPECT_NEAR(session().fystr(0) / 0.012, betelgeuse.v, 0.126);
}

TEST_F(StarDialogTest, ATypedPositionIsSearchedWithANewStarPreselectedAndOkWaitsForAClick) {
    session().AddStar(Measured(Orion().chosen[0]), 0);
    Open(640, 480);
    Type(172, "5 30");
    Type(173, "-5 30");
    QTest::mouseClick(dialog_->ControlAs<QPushButton>(175), Qt::LeftButton);
    // Which stars the search finds and which it preselects is tested on the
    // dialog's core; the list shows its lines and its choice.
    ASSERT_GT(List().count(), 0);
    for (int i = 0; i < List().count(); ++i)
        EXPECT_EQ(List().item(i)->text().toStdString(), dialog_->star().lines()[i]);
    EXPECT_GE(List().currentRow(), 0);
    EXPECT_EQ(List().currentRow(), dialog_->star().selected());
    EXPECT_EQ(session().ExistStar(dialog_->star().candidate(List().currentRow())->name), 0);
    EXPECT_EQ(dialog_->ControlAs<QLineEdit>(171)->text(), "");
    EXPECT_TRUE(IsDefault(176));
    // Without a click in the magnifier OK does nothing.
    QTest::mouseClick(dialog_->ControlAs<QPushButton>(176), Qt::LeftButton);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(session().nstar, 1u);
}

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

TEST_F(StarDialogTest, AFitThatFailsIsShownAndTheDialogStaysUsable) {
    // Three stars on one line give no plate solution.
    const auto& chosen = Orion().chosen;
    for (int i = 0; i < 3; ++i) {
        Star s = Measured(chosen[i]);
        s.x = {static_cast<float>(1.0 + i)};
        s.y = {static_cast<float>(2.0 + i)};
        session().AddStar(s, 0);
    }
    Open(640, 480);
    ClickAt(640, 480);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption, "Star measurement");
    EXPECT_FALSE(messages_.shown[0].text.empty());
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(List().count(), 0);
    // (A search after it falls back to brightness: tested on the core.)
    QTest::mouseClick(dialog_->ControlAs<QPushButton>(2), Qt::LeftButton);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(session().nstar, 3u);
}

TEST_F(StarDialogTest, CancelAfterTheCandidatesWereTriedLeavesTheSessionAsItWas) {
    const auto& chosen = Orion().chosen;
    for (int i = 0; i < 5; ++i) session().AddStar(Measured(chosen[i]), 1);
    const std::vector<std::string> before = shell_test::SessionFields(session(), SessionData::dlgdat);
    Open(chosen[5].u, chosen[5].v);
    ClickAt(chosen[5].u, chosen[5].v);
    ASSERT_GT(List().count(), 0);
    QTest::keyClick(dialog_.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_EQ(shell_test::SessionFields(session(), SessionData::dlgdat), before);
}

}  // namespace
