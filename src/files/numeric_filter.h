#pragma once
// The character filter of the numeric entry fields (T_UINTEdit, T_INTEdit,
// T_UFLOATEdit). It keeps a field's text free of characters that cannot
// belong to a number; ranges and the number of decimal points are left to the
// dialog that reads the field. The edit control calls it only for changes the
// user made (its modify flag is set), never for text the program puts in.

#include <string>
#include <string_view>

enum class NumericKind {
    Unsigned,       // T_UINTEdit: digits only
    Signed,         // T_INTEdit: digits and a minus sign in the first position
    UnsignedFloat,  // T_UFLOATEdit: digits and any number of points
};

struct FilteredText {
    std::string text;
    int selStart = 0;  // selection, as character positions between characters
    int selEnd = 0;
    int beeps = 0;     // one default warning beep per removed character
};

// Removes, from the front, every character the field does not keep. A
// character removed before the selection start moves the whole selection one
// position left, so the caret stays behind the last accepted character.
FilteredText FilterNumericText(NumericKind kind, std::string_view text, int selStart, int selEnd);
