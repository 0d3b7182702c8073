// Recovery after a crash, end to end: a program measuring through its main
// window is killed (SIGKILL) in the middle of measuring a meteor, and the
// next start, answered Yes, has the session back field by field as it stood
// after the last finished command, on its image, as unsaved work.
//
// The program killed is this test program run again as a child, with the
// window tests' scripted dialogs; RecoveryChild is its part and does
// nothing in an ordinary run.
#include <signal.h>
#include <unistd.h>

#include <QProcess>
#include <cstdlib>

#include "main_window_fixture.h"
#include "shell/session_fields.h"

namespace ui_test {
namespace {

constexpr const char* kChildDir = "VELKARN_RECOVERY_CHILD_DIR";
constexpr const char* kFieldsBegin = "velkarn-recovery-fields";
constexpr const char* kFieldsEnd = "velkarn-recovery-measuring";

class RecoveryWindow : public MainWindowTest {
protected:
    // The main window as the program makes it and shows it at start.
    RecoveryWindow() { as_program_ = true; }
};

class RecoveryChild : public RecoveryWindow {
protected:
    void SetUp() override {
        const char* dir = std::getenv(kChildDir);
        if (dir == nullptr) GTEST_SKIP() << "the program RecoveryAfterKill kills";
        dir_ = dir;
    }
};

// Measures the example photograph further through the window, prints the
// session as the last finished command left it, then hangs inside the
// meteor dialog until it is killed.
TEST_F(RecoveryChild, MeasuresUntilKilled) {
    Start();
    ResizeClient(1200, 800 + 19);
    OpenImage(1200, 800);
    Retrieve(Example("per0812a.dar"));
    ASSERT_TRUE(Choose(cmd::ImagePixel));

    Star added = session().stars[0];
    copy_text(added.name, "Gam Per");
    measure_.stars_to_add.push_back(added);
    QTest::mouseClick(display().viewport(), Qt::LeftButton, {}, QPoint(700, 300));
    RightClick(display().viewport(), StarPixel(4) + QPoint(3, -2), [](QMenu* m) { ClickItem(m, cmd::CtxHide); });
    RightClick(display().viewport(), PointPixel(0), [](QMenu* m) { ClickItem(m, cmd::CtxMax); });
    text_.answers.push_back({true, "Fragment"});
    RightClick(display().viewport(), PointPixel(11), [](QMenu* m) { ClickItem(m, cmd::CtxLabel); });
    ASSERT_TRUE(Choose(cmd::Replay));  // every replay dialog answers OK
    exposure_.entered = [](DialogData& d) { copy_text(d.objective, "Helios 44 at f/2.8"); };
    ASSERT_TRUE(Choose(cmd::ExpData));
    // The analysis view recomputes the reduction when it paints.
    ASSERT_TRUE(Choose(cmd::WindowAnalysis));
    Painted(&analysis());
    ASSERT_TRUE(Choose(cmd::WindowMeasure));
    ASSERT_TRUE(Choose(cmd::MeteorMode));

    std::printf("%s\n", kFieldsBegin);
    for (const std::string& f : shell_test::SessionFields(session(), SessionData::dlgdat)) std::printf("%s\n", f.c_str());
    std::printf("%s\n", kFieldsEnd);
    std::fflush(stdout);
    measure_.points_to_add = {Meteor(5.0f, 3.0f, 12), Meteor(4.9f, 2.8f, 13)};
    measure_.in_meteor_dialog = [] {
        for (;;) pause();
    };
    QTest::mouseClick(display().viewport(), Qt::LeftButton, {}, QPoint(400, 500));
    ADD_FAILURE() << "the meteor dialog came back";
}

class RecoveryAfterKill : public RecoveryWindow {};

TEST_F(RecoveryAfterKill, MeasuringKilledMidwayIsRestoredFieldByFieldAtTheNextStart) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildDir, QString::fromStdString(dir_.string()));
    env.insert("TMPDIR", QString::fromStdString(dir_.string()));  // the killed child's own scratch goes with ours
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=RecoveryChild.MeasuresUntilKilled"});
    ASSERT_TRUE(child.waitForStarted(10000));

    std::vector<std::string> measured;
    std::string out;
    bool in_fields = false, measuring = false;
    while (!measuring && child.waitForReadyRead(120000)) {
        while (child.canReadLine()) {
            const std::string line = child.readLine().trimmed().toStdString();
            out += line + "\n";
            if (line == kFieldsEnd) measuring = true;
            if (in_fields && !measuring) measured.push_back(line);
            if (line == kFieldsBegin) in_fields = true;
        }
    }
    ASSERT_TRUE(measuring) << "the child never reached the meteor dialog:\n" << out;
    for (const char* part :
         {"nhide=1", "nstar=20", "nreplay=2", ".label=Maximum frame", ".label=Fragment frame", "Helios 44"})
        EXPECT_NE(out.find(part), std::string::npos) << part << " not in\n" << out;
    ASSERT_EQ(kill(static_cast<pid_t>(child.processId()), SIGKILL), 0);
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    ASSERT_TRUE(fs::exists(dir_ / "state" / "recovery.session"));

    messages_.answers = {MbAnswer::Yes};
    Start();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "Velkarn did not end normally. Restore the unsaved session?");
    EXPECT_EQ(shell_test::SessionFields(session(), SessionData::dlgdat), measured);
    EXPECT_EQ(sf.changed, 1);
    ASSERT_NE(Mimg, nullptr);
    EXPECT_EQ(Mimg->filename, (dir_ / "ph990812.bmp").string());
    EXPECT_TRUE(Mimg->HasPicture());
    EXPECT_EQ(window_->windowTitle().toStdString(), "Velkarn - [" + (dir_ / "ph990812.bmp").string() + "]");
    EXPECT_TRUE(fs::exists(dir_ / "state" / "recovery.session")) << "still unsaved work";
}

}  // namespace
}  // namespace ui_test
