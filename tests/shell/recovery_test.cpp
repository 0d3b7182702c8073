// The recovery copy kept by the commands: written after every change of
// unsaved work, removed when the work is saved or given up, offered and
// restored exactly at the next start, and kept aside when unreadable.
#include <gtest/gtest.h>


#include "shell/recovery_copy.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

class Recovery : public Shell {
protected:
    void SetUp() override {
        Shell::SetUp();
        StartWithCopies();
    }
    // The program started anew over the same directories; the copy of the
    // run before stays as a crash leaves it.
    void StartWithCopies() {
        Start(true);
        messages_.shown.clear();
    }

    std::vector<std::string> LiveFields() { return SessionFields(session(), SessionData::dlgdat); }

    // Unsaved changes to the example photograph (every kind is followed in
    // the undo test).
    void Measure() {
        MeasuredPhotograph();
        OnSelected(3, &MainCommands::WMEditHide);
        text_.answers.push_back({true, "lead"});
        OnSelected(19 + 2, &MainCommands::LabelSelected);
        ASSERT_TRUE(cmd().PlusOrder());
        ASSERT_EQ(sf.changed, 1);
    }
};

TEST_F(Recovery, TheCopyFollowsARetrieveOverUnsavedWorkIsWrittenOnlyForAChangedTextAndGoesWithTheWork) {
    Measure();
    Retrieve(Example("per0812a.dar"));
    EXPECT_EQ(session().nstar, 19u);
    EXPECT_EQ(RecoveryCopyFields(), LiveFields()) << "another session retrieved over unsaved work";

    // Written only when its text changes: a copy removed behind the
    // program's back stays away until the next change.
    fs::remove(RecoveryCopyPath());
    cmd().SetMenuState();
    EXPECT_FALSE(fs::exists(RecoveryCopyPath()));
    ASSERT_TRUE(cmd().PlusOrder());
    EXPECT_EQ(RecoveryCopyFields(), LiveFields());

    // Kept at Cancel and by a save that did not happen; gone when saved or
    // given up at close.
    messages_.answers = {MbAnswer::Cancel};
    EXPECT_FALSE(cmd().CanClose());
    EXPECT_FALSE(cmd().WMSaveSession());  // the file dialog cancelled
    EXPECT_TRUE(fs::exists(RecoveryCopyPath()));
    messages_.answers = {MbAnswer::Ok, MbAnswer::Ok};  // questions about the hidden star's surround
    files_.answers = {Path("saved.dar").string()};
    EXPECT_TRUE(cmd().WMSaveSession());
    EXPECT_FALSE(fs::exists(RecoveryCopyPath())) << "saved";
    cmd().MinOrder();
    ASSERT_TRUE(fs::exists(RecoveryCopyPath()));
    messages_.answers = {MbAnswer::No};
    EXPECT_TRUE(cmd().CanClose());
    EXPECT_FALSE(fs::exists(RecoveryCopyPath())) << "No at close";
}

TEST_F(Recovery, ACopyThatCannotBeWrittenIsToldOnceUntilOneIsWrittenAgain) {
    // A file where the state directory was: not even root can write a copy.
    const auto block = [&] {
        fs::remove_all(dir_ / "state");
        std::ofstream(dir_ / "state") << "not a directory";
    };
    const auto told = [&] {
        int n = 0;
        for (const std::string& c : Captions()) n += c.find("recovery copy of unsaved work cannot be written") != std::string::npos;
        return n;
    };
    block();
    Measure();
    OnSelected(4, &MainCommands::WMEditHide);
    EXPECT_EQ(told(), 1) << "once, not after every change";
    EXPECT_EQ(sf.changed, 1) << "the work is kept";

    fs::remove(dir_ / "state");
    fs::create_directory(dir_ / "state");
    ASSERT_TRUE(cmd().MinOrder());
    EXPECT_EQ(RecoveryCopyFields(), LiveFields());
    block();
    ASSERT_TRUE(cmd().PlusOrder());
    EXPECT_EQ(told(), 2) << "a copy written in between";
}

// The window tests restore a copy on its image after the program is killed.
TEST_F(Recovery, AtStartYesRestoresOnABlankImageOfItsSizeWhenTheImageIsGoneAndNoRemovesTheCopy) {
    Measure();
    const auto measured = LiveFields();
    fs::remove(Path("ph990812.bmp"));

    StartWithCopies();
    messages_.answers = {MbAnswer::Yes};
    cmd().OfferRecovery();
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(Captions()[0], "Velkarn: Velkarn did not end normally. Restore the unsaved session?");
    EXPECT_EQ(messages_.shown[1].text, "The image " + Path("ph990812.bmp").string() +
                                           " cannot be found.\nThe session is restored on a blank image.");
    EXPECT_EQ(LiveFields(), measured);
    EXPECT_EQ(sf.changed, 1);
    ASSERT_NE(cmd().image(), nullptr);
    EXPECT_EQ(cmd().image()->type, ImageType::BlankPhoto);
    EXPECT_EQ(cmd().image()->width, 1200);
    EXPECT_EQ(cmd().image()->height, 800);

    StartWithCopies();
    messages_.answers = {MbAnswer::No};
    cmd().OfferRecovery();
    EXPECT_FALSE(fs::exists(RecoveryCopyPath()));
    EXPECT_EQ(session().nstar, 0u);

    StartWithCopies();
    cmd().OfferRecovery();
    EXPECT_TRUE(messages_.shown.empty()) << "no copy, no question";
}

TEST_F(Recovery, AnUnreadableCopyIsKeptAsideUnchangedAndTheUserToldOnce) {
    const std::string damaged = "Darnholm\nVelkarn recovery 1\nimage =/x.bmp\nsource 1 10";
    std::ofstream(RecoveryCopyPath(), std::ios::binary) << damaged;
    cmd().OfferRecovery();
    ASSERT_EQ(messages_.shown.size(), 1u) << "no question for a copy that cannot be restored";
    EXPECT_FALSE(fs::exists(RecoveryCopyPath()));
    std::vector<fs::path> kept;
    for (const auto& e : fs::directory_iterator(dir_ / "state")) kept.push_back(e.path());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].filename().string().rfind("recovery.session.unreadable-", 0), 0u) << kept[0];
    EXPECT_EQ(FileText(kept[0]), damaged);
    EXPECT_EQ(messages_.shown[0].text, "The recovery copy of an unsaved session cannot be read.\nIt is kept as " +
                                           kept[0].string());

    StartWithCopies();
    cmd().OfferRecovery();
    EXPECT_TRUE(messages_.shown.empty()) << "told once";

    // Another unreadable copy in the same second never replaces the first.
    RecoveryCopy copy(RecoveryCopyPath());
    for (const int n : {1, 2}) {
        std::ofstream(RecoveryCopyPath()) << n;
        EXPECT_EQ(copy.KeepAside(1000000000), UnreadableCopyName(RecoveryCopyPath(), 1000000000, n));
    }
    EXPECT_EQ(FileText(UnreadableCopyName(RecoveryCopyPath(), 1000000000)), "1");
}

}  // namespace
}  // namespace shell_test
