#include "files/numeric_filter.h"

#include <gtest/gtest.h>

namespace {

struct FilterCase {
    NumericKind kind;
    const char* text;
    int start, end;  // selection after the user's change
    const char* kept;
    int keptStart, keptEnd, beeps;
};

class NumericFilter : public testing::TestWithParam<FilterCase> {};

TEST_P(NumericFilter, KeepsOnlyNumberCharactersAndTheCaretBehindTheAcceptedOnes) {
    const FilterCase& c = GetParam();
    const FilteredText r = FilterNumericText(c.kind, c.text, c.start, c.end);
    EXPECT_EQ(r.text, c.kept) << c.text;
    EXPECT_EQ(r.selStart, c.keptStart) << c.text;
    EXPECT_EQ(r.selEnd, c.keptEnd) << c.text;
    EXPECT_EQ(r.beeps, c.beeps) << c.text;
}

constexpr NumericKind U = NumericKind::Unsigned;
constexpr NumericKind I = NumericKind::Signed;
constexpr NumericKind F = NumericKind::UnsignedFloat;

INSTANTIATE_TEST_SUITE_P(
    Cases, NumericFilter,
    testing::Values(
        // A typed letter beeps once and leaves text and caret as before.
        FilterCase{U, "12a", 3, 3, "12", 2, 2, 1}, FilterCase{I, "1a2", 2, 2, "12", 1, 1, 1},
        FilterCase{F, "a", 1, 1, "", 0, 0, 1}, FilterCase{U, "1a2b", 4, 4, "12", 2, 2, 2},
        // A minus sign survives only as the first character of the kept text.
        FilterCase{I, "-5", 2, 2, "-5", 2, 2, 0}, FilterCase{I, "5-", 2, 2, "5", 1, 1, 1},
        FilterCase{I, "x-5", 3, 3, "-5", 2, 2, 1}, FilterCase{U, "-5", 2, 2, "5", 1, 1, 1},
        FilterCase{F, "-5", 2, 2, "5", 1, 1, 1},
        // Points: any number in a decimal field, none in an integer field.
        FilterCase{F, "12.5.3", 6, 6, "12.5.3", 6, 6, 0}, FilterCase{U, "12.5.3", 6, 6, "1253", 4, 4, 2},
        FilterCase{I, "1.5", 3, 3, "15", 2, 2, 1},
        // A removed character behind the caret does not move it (a blank the
        // program put in, with a digit typed in front of it).
        FilterCase{U, "3 5", 1, 1, "35", 1, 1, 1}, FilterCase{U, " 5", 0, 0, "5", 0, 0, 1},
        FilterCase{U, "1x23", 0, 4, "123", 0, 3, 1}));

}  // namespace
