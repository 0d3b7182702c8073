// The progress poll of a long load, on a window with a button and a menu
// command as the main window has (the whole load with Escape is driven
// through the main window in the status strip's test).
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

TEST(Progress, ThePollReportsEscapeOnceSwallowsOtherInputAndKeepsRepainting) {
    QMainWindow window;
    auto* button = new QPushButton("Open");
    window.setCentralWidget(button);
    QMenu* menu = window.menuBar()->addMenu("&File");
    QAction* command = menu->addAction("&Open image file");
    command->setShortcut(QKeySequence("Ctrl+O"));
    window.addAction(command);
    window.show();
    QSignalSpy clicks(button, &QPushButton::clicked), triggers(command, &QAction::triggered);
    std::vector<int> shown;
    int cleared = 0, paints = 0;
    QtProgress progress([&](int p) { shown.push_back(p); }, [&] { ++cleared; });
    // Input that arrives while a load runs is processed at the next poll.
    const auto during = [](std::function<void()> input) { QTimer::singleShot(0, input); };

    progress.Report(10);
    menu->popup(QPoint(0, 0));
    during([&] {
        QTest::keyClick(button, Qt::Key_Space);
        QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(command).center());
    });
    EXPECT_FALSE(progress.EscapePressed());
    during([&] { QTest::keyClick(button, Qt::Key_Escape); });
    EXPECT_TRUE(progress.EscapePressed());
    EXPECT_FALSE(progress.EscapePressed());
    // A pane still repaints between polls.
    struct Counting : QWidget {
        int* paints;
        explicit Counting(int* p) : paints(p) {}
        void paintEvent(QPaintEvent*) override { ++*paints; }
    };
    auto* pane = new Counting(&paints);
    pane->show();
    progress.EscapePressed();
    const int before = paints;
    pane->update();
    progress.EscapePressed();
    EXPECT_GT(paints, before);
    // Input after the last poll is dropped by Clear.
    during([&] { QTest::mouseClick(button, Qt::LeftButton); });
    progress.Clear();
    delete pane;
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(triggers.count(), 0);
    EXPECT_EQ(shown, std::vector<int>{10});
    EXPECT_EQ(cleared, 1);
    EXPECT_FALSE(progress.Blocking());
    menu->hide();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1) << "afterwards the program listens again";
}

}  // namespace
