#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "ui/dialogs/numeric_edits.h"

namespace {

struct Field {
    std::unique_ptr<NumericEdit> edit;
    std::unique_ptr<QSignalSpy> dropped;
    explicit Field(NumericEdit* e) : edit(e), dropped(new QSignalSpy(e, &NumericEdit::charactersDropped)) {
        edit->show();
        edit->setFocus();
    }
    int beeps() const {
        int n = 0;
        for (const auto& args : *dropped) n += args.at(0).toInt();
        return n;
    }
};

Field UInt() { return Field(new T_UINTEdit(4)); }
Field Int() { return Field(new T_INTEdit(4)); }
Field UFloat() { return Field(new T_UFLOATEdit(8)); }

TEST(NumericEdits, ATypedLetterBeepsOnceAndLeavesTextAndCaretAsTheyWere) {
    Field fields[] = {UInt(), Int(), UFloat()};
    for (Field& f : fields) {
        QTest::keyClicks(f.edit.get(), "12");
        QTest::keyClick(f.edit.get(), Qt::Key_Left);
        QTest::keyClicks(f.edit.get(), "a");
        EXPECT_EQ(f.edit->text(), "12");
        EXPECT_EQ(f.edit->cursorPosition(), 1);
        EXPECT_EQ(f.beeps(), 1);
    }
}

TEST(NumericEdits, PastedTextLosesEveryCharacterTheFieldDoesNotKeepWithABeepEach) {
    Field f = UInt();
    QApplication::clipboard()->setText("1a2b");
    f.edit->paste();
    EXPECT_EQ(f.edit->text(), "12");
    EXPECT_EQ(f.beeps(), 2);
    EXPECT_EQ(f.edit->cursorPosition(), 2);
}

// Typed keys: each kind of field keeps its own signs and points (the filter
// itself is tested on its own), and no more characters than its limit; text
// the program puts in is not filtered.
TEST(NumericEdits, KeepTheirOwnSignsAndPointsUpToTheirLimit) {
    const auto typed = [](Field f, const char* keys) {
        QTest::keyClicks(f.edit.get(), keys);
        return f.edit->text();
    };
    EXPECT_EQ(typed(Int(), "-1.5"), "-15");
    EXPECT_EQ(typed(UInt(), "-1.5"), "15");
    EXPECT_EQ(typed(UFloat(), "-1.5"), "1.5");
    EXPECT_EQ(typed(UInt(), "202612"), "2026");
    Field f = UInt();
    f.edit->setText("1a");
    EXPECT_EQ(f.edit->text(), "1a");
    EXPECT_EQ(f.beeps(), 0);
}

}  // namespace
