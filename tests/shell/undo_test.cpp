// Undo and redo: the history of session states on its own, and every kind of
// change of a measured photograph undone to the start and redone to the end.
#include <gtest/gtest.h>

#include <functional>

#include "session/fixed_text.h"
#include "shell/command_ids.h"
#include "shell/undo_history.h"
#include "shell_fixture.h"

namespace shell_test {

TEST(UndoHistory, KeepsOnlyItsDepthAndForgetsASavedStepThatFellOff) {
    const DialogData d = SessionData::dlgdat;
    SessionData s;
    UndoHistory h(3);
    h.Reset(s, d, true);
    for (s.nstar = 1; s.nstar <= 10; ++s.nstar) h.Record(s, d);
    EXPECT_EQ(h.size(), 4u);
    int undone = 0;
    for (; h.CanUndo(); ++undone) {
        EXPECT_FALSE(h.AtSaved());
        h.Undo();
    }
    EXPECT_EQ(undone, 3);
}

class Undo : public Shell {
protected:
    void SetUp() override {
        Shell::SetUp();
        Start(true);  // with a recovery copy
        MeasuredPhotograph();
    }
    // The session field by field, floats bit for bit: what Save writes of it
    // follows.
    struct Snapshot {
        std::vector<std::string> fields;
        int changed;
    };
    Snapshot Take() { return {SessionFields(session(), SessionData::dlgdat), sf.changed}; }
    // The recovery copy follows the session through every change, undo and redo.
    void ExpectSame(const Snapshot& want, const std::string& where) {
        EXPECT_EQ(Take().fields, want.fields) << where;
        EXPECT_EQ(sf.changed, want.changed) << where;
        EXPECT_EQ(RecoveryCopyFields(), want.changed ? want.fields : std::vector<std::string>{}) << where;
    }
};

TEST_F(Undo, EveryKindOfChangeIsUndoneToTheStartAndRedoneToTheEnd) {
    const int nstar = static_cast<int>(session().nstar);
    Star extra(session().stars[5], session().fxstr(5) + 0.3f, session().fystr(5) - 0.2f);
    copy_text(extra.name, "Extra");
    auto on = [this](int i, void (MainCommands::*command)()) { return [=, this] { OnSelected(i, command); }; };
    const std::vector<std::pair<std::string, std::function<void()>>> changes = {
        {"star added",
         [&] {
             measure_.stars_to_add.push_back(extra);
             cmd().MeasureAt(100, 100);
         }},
        {"point added",
         [&] {
             cmd().WMMeteorMode();
             measure_.points_to_add.push_back(Meteor(session().fxmet(11) + 0.1f, session().fymet(11), 12));
             cmd().MeasureAt(200, 200);
             cmd().WMStarMode();
         }},
        {"star hidden", on(3, &MainCommands::WMEditHide)},
        {"star deleted", on(0, &MainCommands::WMEditDelete)},
        {"label changed",
         [&] {
             text_.answers.push_back({true, "Flare"});
             OnSelected(nstar + 1, &MainCommands::LabelSelected);
         }},
        {"exposure data entered",
         [&] {
             exposure_.entered = [](DialogData& d) { copy_text(d.objective, "Zeiss 50 mm"); };
             cmd().WMExpData();
         }},
        {"order raised", [&] { ASSERT_TRUE(cmd().PlusOrder()); }},
        {"replayed", [&] { cmd().WMReplay(); }},
        {"all points deleted", [&] { cmd().WMEditDelall(); }},
    };

    std::vector<Snapshot> steps{Take()};
    EXPECT_FALSE(fs::exists(RecoveryCopyPath())) << "nothing unsaved, nothing to recover";
    for (const auto& [what, change] : changes) {
        change();
        steps.push_back(Take());
        ASSERT_NE(steps.back().fields, steps[steps.size() - 2].fields) << what << " changed nothing";
        EXPECT_EQ(RecoveryCopyFields(), steps.back().fields) << what;
        EXPECT_TRUE(cmd().Enabled(cmd::EditUndo)) << what;
        EXPECT_FALSE(cmd().Enabled(cmd::EditRedo)) << what;
    }
    for (std::size_t k = changes.size(); k-- > 0;) {
        view_.calls.clear();
        cmd().WMEditUndo();
        ExpectSame(steps[k], "undoing " + changes[k].first);
        EXPECT_EQ(SelectedStar::iselect, -1);
        EXPECT_EQ(view_.Count("RepaintAnalysis"), 1);
    }
    EXPECT_FALSE(cmd().Enabled(cmd::EditUndo));
    for (std::size_t k = 0; k < changes.size(); ++k) {
        cmd().WMEditRedo();
        ExpectSame(steps[k + 1], "redoing " + changes[k].first);
    }
    EXPECT_FALSE(cmd().Enabled(cmd::EditRedo));

    // Saved at the end: undoing leaves the saved state, redoing returns.
    messages_.answers = {MbAnswer::Ok, MbAnswer::Ok};
    files_.answers.push_back(Path("end.dar").string());
    ASSERT_TRUE(cmd().WMSaveSession());
    cmd().WMEditUndo();
    EXPECT_EQ(sf.changed, 1);
    EXPECT_TRUE(fs::exists(RecoveryCopyPath()));
    cmd().WMEditRedo();
    EXPECT_EQ(sf.changed, 0);
    EXPECT_FALSE(fs::exists(RecoveryCopyPath()));

    // A session read anew starts a history of its own.
    Retrieve(Example("per0812a.dar"));
    EXPECT_FALSE(cmd().Enabled(cmd::EditUndo));
    EXPECT_FALSE(cmd().Enabled(cmd::EditRedo));
}

TEST_F(Undo, ACommandThatChangesNothingIsNoStep) {
    // A star dialog closed without a star, a label left as it was.
    cmd().MeasureAt(100, 100);
    OnSelected(19, &MainCommands::LabelSelected);
    EXPECT_FALSE(cmd().Enabled(cmd::EditUndo));

    OnSelected(2, &MainCommands::WMEditDelete);
    EXPECT_TRUE(cmd().Enabled(cmd::EditUndo));
}

}  // namespace shell_test
