// Measure > Identify stars automatically, as the observer uses it: on a
// rendered photograph of Orion the proposal dialog lists the stars found,
// all ticked; Cancel changes nothing, OK adds the ticked ones, and stars in
// the session already are not proposed again.
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTreeWidget>

#include "identify/identify_scene.h"
#include "main_window_fixture.h"
#include "session/fixed_text.h"
#include "ui/measure/identify_dialog.h"

namespace {

using ui_test::MainWindowTest;

TEST_F(MainWindowTest, IdentifyStarsAutomaticallyProposesAndAddsTheTickedStars) {
    if (const std::string why = identify_test::SolverMissing(); !why.empty()) GTEST_SKIP() << why;
    Start();
    EXPECT_FALSE(Choose(cmd::IdentifyStars));  // no image yet
    const int w = 1000, h = 750;
    const auto scene = identify_test::Field(5.6, 3.0, 35, 8, w, h, 7.0f);
    const std::string bmp = (dir_ / "orion.bmp").string();
    identify_test::WriteBmp(bmp, identify_test::FromTopDown(sky_scene::RenderPhoto(scene, 5), w, h));
    files_.answers.push_back(bmp);
    ASSERT_TRUE(Choose(cmd::ImgFileOpen));
    opt.limit = 6.0f;
    copy_text(opt.skycatdir, identify_test::ShippedCatalogue().catalogue_dir.string());

    // What the dialog showed, and what the test does in it.
    int rows = 0;
    bool all_ticked = true;
    std::string first;
    std::function<void(QWidget*, QTreeWidget*)> act;
    measure_.identify = [&](const SkyPointing& solution, const std::vector<StarProposal>& proposals)
        -> std::optional<std::vector<StarProposal>> {
        TIdentifyDialog dialog(window_.get(), solution, proposals);
        ui_test::WhenModal("", [&](QWidget* shown) {
            auto* list = shown->findChild<QTreeWidget*>("proposals");
            rows = list->topLevelItemCount();
            for (int i = 0; i < rows; ++i) all_ticked = all_ticked && list->topLevelItem(i)->checkState(0) == Qt::Checked;
            first = rows > 0 ? list->topLevelItem(0)->text(0).toStdString() : "";
            act(shown, list);
        });
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.Ticked();
    };

    act = [](QWidget* dialog, QTreeWidget*) { QTest::keyClick(dialog, Qt::Key_Escape); };
    ASSERT_TRUE(Choose(cmd::IdentifyStars));
    EXPECT_GT(rows, 20);
    EXPECT_TRUE(all_ticked);
    EXPECT_EQ(first, "58 Ori");  // the brightest first
    EXPECT_EQ(Session->nstar, 0u);
    EXPECT_EQ(sf.changed, 0);

    // The first star unticked with the space bar, then OK.
    act = [](QWidget* dialog, QTreeWidget* list) {
        list->setFocus();
        list->setCurrentItem(list->topLevelItem(0));
        QTest::keyClick(list, Qt::Key_Space);
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    };
    ASSERT_TRUE(Choose(cmd::IdentifyStars));
    EXPECT_EQ(Session->nstar, static_cast<unsigned>(rows - 1));
    EXPECT_EQ(Session->ExistStar(" 58 Ori"), 0);
    EXPECT_NE(sf.changed, 0);
    EXPECT_GT(Session->sd, 0.0f);  // the reduction ran
    EXPECT_LT(Session->sd * 3600, 0.3 * scene.camera.ArcsecPerPixel());

    // Only the star left out is proposed again.
    act = [](QWidget* dialog, QTreeWidget*) { QTest::keyClick(dialog, Qt::Key_Escape); };
    ASSERT_TRUE(Choose(cmd::IdentifyStars));
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(first, "58 Ori");
    for (const auto& m : messages_.shown) ADD_FAILURE() << m.caption << ": " << m.text;
}

}  // namespace
