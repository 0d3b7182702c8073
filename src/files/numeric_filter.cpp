#include "files/numeric_filter.h"

namespace {

bool Keeps(NumericKind kind, char c, int position) {
    if (c >= '0' && c <= '9') return true;
    switch (kind) {
        case NumericKind::Unsigned: return false;
        case NumericKind::Signed: return c == '-' && position == 0;
        case NumericKind::UnsignedFloat: return c == '.';
    }
    return false;
}

}  // namespace

FilteredText FilterNumericText(NumericKind kind, std::string_view text, int selStart, int selEnd) {
    FilteredText out;
    out.text.reserve(text.size());
    out.selStart = selStart;
    out.selEnd = selEnd;
    for (char c : text) {
        // The position a character has once the removals in front of it are
        // done: a minus sign that becomes the first character is kept.
        const int position = static_cast<int>(out.text.size());
        if (Keeps(kind, c, position)) {
            out.text.push_back(c);
            continue;
        }
        ++out.beeps;
        if (position < out.selStart) {
            --out.selStart;
            --out.selEnd;
        } else if (position < out.selEnd) {
            --out.selEnd;
        }
    }
    return out;
}
