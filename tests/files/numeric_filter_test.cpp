#include "files/numeric_filter.h"

#include <gtest/gtest.h>

namespace {

TEST(NumericFilter, KeepsOnlyNumberCharactersAndTheCaretBehindTheAcceptedOnes) {
    constexpr NumericKind U = NumericKind::Unsigned, I = NumericKind::Signed, F = NumericKind::UnsignedFloat;
    const struct {
        NumericKind kind;
        const char* text;
        int start, end;  // selection after the user's change
        const char* kept;
        int keptStart, keptEnd, beeps;
    } cases[] = {
        // A typed letter beeps once and leaves text and caret as before.
        {U, "12a", 3, 3, "12", 2, 2, 1}, {U, "1a2b", 4, 4, "12", 2, 2, 2},
        // A minus sign survives only as the first character of the kept text.
        {I, "-5", 2, 2, "-5", 2, 2, 0}, {I, "5-", 2, 2, "5", 1, 1, 1}, {I, "x-5", 3, 3, "-5", 2, 2, 1},
        {U, "-5", 2, 2, "5", 1, 1, 1}, {F, "-5", 2, 2, "5", 1, 1, 1},
        // Points: any number in a decimal field, none in an integer field.
        {F, "12.5.3", 6, 6, "12.5.3", 6, 6, 0}, {U, "12.5.3", 6, 6, "1253", 4, 4, 2}, {I, "1.5", 3, 3, "15", 2, 2, 1},
        // A removed character behind the caret does not move it (a blank the
        // program put in, with a digit typed in front of it).
        {U, "3 5", 1, 1, "35", 1, 1, 1}, {U, "1x23", 0, 4, "123", 0, 3, 1},
    };
    for (const auto& c : cases) {
        const FilteredText r = FilterNumericText(c.kind, c.text, c.start, c.end);
        EXPECT_EQ(r.text, c.kept) << c.text;
        EXPECT_EQ(std::tuple(r.selStart, r.selEnd, r.beeps), std::tuple(c.keptStart, c.keptEnd, c.beeps)) << c.text;
    }
}

}  // namespace
