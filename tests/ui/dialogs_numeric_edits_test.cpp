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


// Each kind of field keeps its own signs and points (the filter itself is
// tested on its own) and no more characters than its limit, with a beep for
// each character dropped, typed or pasted; text the program puts in is not
// filtered.
TEST(NumericEdits, KeepTheirOwnSignsAndPointsUpToTheirLimitAndBeepForEachCharacterDropped) {
    Field fields[] = {Field(new T_UINTEdit(4)), Field(new T_INTEdit(4)), Field(new T_UFLOATEdit(8))};
    for (Field& f : fields) {
        QTest::keyClicks(f.edit.get(), "12");
        QTest::keyClick(f.edit.get(), Qt::Key_Left);
        QTest::keyClicks(f.edit.get(), "a");
        EXPECT_EQ(f.edit->text(), "12");
        EXPECT_EQ(f.edit->cursorPosition(), 1) << "a letter leaves the caret where it was";
        EXPECT_EQ(f.beeps(), 1);
        f.edit->clear();
        QTest::keyClicks(f.edit.get(), "-1.5");
    }
    EXPECT_EQ(fields[0].edit->text() + " " + fields[1].edit->text() + " " + fields[2].edit->text(), "15 -15 1.5");
    Field f(new T_UINTEdit(4));
    QTest::keyClicks(f.edit.get(), "202612");
    EXPECT_EQ(f.edit->text(), "2026");
    f.edit->clear();
    const int before = f.beeps();
    QApplication::clipboard()->setText("1a2b");
    f.edit->paste();
    EXPECT_EQ(f.edit->text(), "12");
    EXPECT_EQ(f.edit->cursorPosition(), 2);
    EXPECT_EQ(f.beeps(), before + 2);
    f.edit->setText("1a");
    EXPECT_EQ(f.edit->text(), "1a");
    EXPECT_EQ(f.beeps(), before + 2);
}

}  // namespace
