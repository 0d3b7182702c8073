// Undo and redo by their keys, and the report exported with its picture of
// the image view, in the real main window.

#include "main_window_fixture.h"

namespace ui_test {
namespace {

class MainWindowUndoReport : public MainWindowTest {
protected:
    // Z pressed in the main window. The offscreen platform leaves a menu
    // that closed as the active window, which a desktop does not: the main
    // window is made active again first.
    void Press(Qt::KeyboardModifiers modifiers) {
        QApplication::setActiveWindow(window_.get());
        ASSERT_EQ(QApplication::activeWindow(), window_.get());
        QTest::keyClick(window_.get(), Qt::Key_Z, modifiers);
    }
};

}  // namespace

TEST_F(MainWindowUndoReport, CtrlZAndCtrlShiftZUndoAndRedoAChangeAndTheReportShowsTheViewAsShown) {
    StartOnExample(600, 400);
    EXPECT_FALSE(window_->CommandAction(cmd::EditUndo)->isEnabled());
    ASSERT_TRUE(Choose(cmd::EditDelall));
    ASSERT_EQ(session().nmet, 0u);
    EXPECT_TRUE(window_->CommandAction(cmd::EditUndo)->isEnabled());
    const QImage without_points = Painted(display().viewport());

    Press(Qt::ControlModifier);
    EXPECT_EQ(session().nmet, 12u);
    EXPECT_EQ(sf.changed, 0) << "back at the session as read";
    EXPECT_FALSE(window_->CommandAction(cmd::EditUndo)->isEnabled());
    EXPECT_TRUE(window_->CommandAction(cmd::EditRedo)->isEnabled());
    EXPECT_NE(Painted(display().viewport()), without_points) << "the points are drawn again";

    Press(Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(session().nmet, 0u);
    EXPECT_EQ(sf.changed, 1);
    EXPECT_EQ(Painted(display().viewport()), without_points);

    // The report exported with the picture of the image view as shown.
    files_.answers.push_back((dir_ / "night").string());
    ASSERT_TRUE(Choose(cmd::ExportReport));
    EXPECT_TRUE(messages_.shown.empty()) << messages_.shown.back().text;
    EXPECT_TRUE(fs::exists(dir_ / "night.csv"));
    EXPECT_TRUE(fs::exists(dir_ / "night.json"));
    const QImage png(QString::fromStdString((dir_ / "night.png").string()));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), display().size());
    // Picture and markers: the view's own pixels.
    const QImage shown = Painted(&display());
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), shown);
}

}  // namespace ui_test


