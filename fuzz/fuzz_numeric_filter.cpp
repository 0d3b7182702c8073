// The numeric entry filter: what it keeps is a subsequence of the text made
// only of the characters its kind allows, one beep per removed character,
// and a selection that stays inside the kept text.
#include <string>

#include "files/numeric_filter.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const auto kind = static_cast<NumericKind>(data[0] % 3);
    const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);
    int start = data[1] % (text.size() + 2);
    int end = data[2] % (text.size() + 2);
    if (start > end) std::swap(start, end);
    const FilteredText f = FilterNumericText(kind, text, start, end);
    fuzz::Require(f.beeps == static_cast<int>(text.size() - f.text.size()), "a beep per removed character");
    std::size_t at = 0;
    for (std::size_t i = 0; i < f.text.size(); ++i) {
        const char c = f.text[i];
        const bool digit = c >= '0' && c <= '9';
        const bool allowed = digit || (kind == NumericKind::UnsignedFloat && c == '.') ||
                             (kind == NumericKind::Signed && c == '-' && i == 0);
        fuzz::Require(allowed, "a character the field does not take was kept");
        at = text.find(c, at);
        fuzz::Require(at != std::string::npos, "a kept character that was not in the text");
        ++at;
    }
    fuzz::Require(f.selStart >= 0 && f.selStart <= f.selEnd, "the selection turned round");
    return 0;
}
