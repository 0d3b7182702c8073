#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <vector>

#include "ui/platform/qt_progress.h"

namespace {

// A window with a button and a menu command, as the main window has.
class Progress : public testing::Test {
protected:
    void SetUp() override {
        window_.setCentralWidget(button_ = new QPushButton("Open"));
        menu_ = window_.menuBar()->addMenu("&File");
        command_ = menu_->addAction("&Open image file");
        command_->setShortcut(QKeySequence("Ctrl+O"));
        window_.addAction(command_);
        window_.show();
        clicks_ = std::make_unique<QSignalSpy>(button_, &QPushButton::clicked);
        triggers_ = std::make_unique<QSignalSpy>(command_, &QAction::triggered);
    }
    // Input that arrives while a load runs: it is processed at the next poll.
    static void During(std::function<void()> input) { QTimer::singleShot(0, input); }

    QMainWindow window_;
    QPushButton* button_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* command_ = nullptr;
    std::unique_ptr<QSignalSpy> clicks_, triggers_;
    std::vector<int> shown_;
    int cleared_ = 0;
    QtProgress progress_{[this](int p) { shown_.push_back(p); }, [this] { ++cleared_; }};
};

TEST_F(Progress, ThePollReportsEscapeOnceAndSwallowsOtherKeys) {
    During([this] {
        QTest::keyClick(button_, Qt::Key_Space);
        QTest::keyClick(&window_, Qt::Key_O, Qt::ControlModifier);
    });
    EXPECT_FALSE(progress_.EscapePressed());
    During([this] { QTest::keyClick(button_, Qt::Key_Escape); });
    EXPECT_TRUE(progress_.EscapePressed());
    EXPECT_FALSE(progress_.EscapePressed());
    progress_.Clear();
    EXPECT_EQ(clicks_->count(), 0);
    EXPECT_EQ(triggers_->count(), 0);
}

TEST_F(Progress, AClickOnAButtonOrAMenuItemDuringALoadDoesNothing) {
    progress_.Report(10);
    menu_->popup(QPoint(0, 0));
    During([this] {
        QTest::mouseClick(button_, Qt::LeftButton);
        QTest::mouseClick(menu_, Qt::LeftButton, {}, menu_->actionGeometry(command_).center());
    });
    EXPECT_FALSE(progress_.EscapePressed());
    EXPECT_EQ(clicks_->count(), 0);
    EXPECT_EQ(triggers_->count(), 0);
    // Input that arrives after the last poll is dropped by Clear.
    During([this] { QTest::mouseClick(button_, Qt::LeftButton); });
    progress_.Clear();
    EXPECT_EQ(clicks_->count(), 0);
    // The strip showed the progress and was cleared.
    EXPECT_EQ(shown_, std::vector<int>{10});
    EXPECT_EQ(cleared_, 1);
    EXPECT_FALSE(progress_.Blocking());
    menu_->hide();
    // Afterwards the program listens again.
    QTest::mouseClick(button_, Qt::LeftButton);
    EXPECT_EQ(clicks_->count(), 1);
}

TEST_F(Progress, RepaintsStillHappenDuringALoad) {
    struct Counting : QWidget {
        int paints = 0;
        void paintEvent(QPaintEvent*) override { ++paints; }
    };
    auto* pane = new Counting;
    window_.setCentralWidget(pane);
    progress_.EscapePressed();
    const int before = pane->paints;
    pane->update();
    progress_.EscapePressed();
    EXPECT_GT(pane->paints, before);
    progress_.Clear();
}

}  // namespace
