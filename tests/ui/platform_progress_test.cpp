// The progress poll of a long load, on a button (the whole load with Escape
// is driven through the main window in the status strip's test).
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <vector>

#include "ui/platform/qt_progress.h"

namespace {

// Escape is reported once, a pane still repaints between polls, input after
// the last poll is dropped and afterwards the window listens again (other
// input swallowed during the load is shown through the main window in the
// status strip's test).
TEST(Progress, ThePollReportsEscapeOnceSwallowsOtherInputAndKeepsRepainting) {
    QPushButton button("Open");
    button.show();
    QSignalSpy clicks(&button, &QPushButton::clicked);
    std::vector<int> shown;
    int cleared = 0, paints = 0;
    QtProgress progress([&](int p) { shown.push_back(p); }, [&] { ++cleared; });
    // Input that arrives while a load runs is processed at the next poll.
    const auto during = [](std::function<void()> input) { QTimer::singleShot(0, input); };

    progress.Report(10);
    during([&] {
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::keyClick(&button, Qt::Key_Escape);
    });
    EXPECT_TRUE(progress.EscapePressed());
    EXPECT_FALSE(progress.EscapePressed());
    // A pane still repaints between polls.
    struct Counting : QWidget {
        int* paints;
        explicit Counting(int* p) : paints(p) {}
        void paintEvent(QPaintEvent*) override { ++*paints; }
    } pane(&paints);
    pane.show();
    progress.EscapePressed();
    const int before = paints;
    pane.update();
    progress.EscapePressed();
    EXPECT_GT(paints, before);
    // Input after the last poll is dropped by Clear.
    during([&] { QTest::mouseClick(&button, Qt::LeftButton); });
    progress.Clear();
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(shown, std::vector<int>{10});
    EXPECT_EQ(cleared, 1);
    EXPECT_FALSE(progress.Blocking());
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1) << "afterwards the program listens again";
}

}  // namespace
