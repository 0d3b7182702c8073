#include "shell/option_inputs.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/text_input.h"

const IntOptionInput kRandomnessInput{"Change randomness of replay", "Enter value in range 0..10", 10, 0, 10};
const FloatOptionInput kSearchAreaInput{"Search area in Sky Catalogue", "Enter radius in degrees (0.1 - 5)", 6,
                                        0.1f, 5.0f};
const FloatOptionInput kLimitInput{"Star limiting magnitude", "Enter value (6.0 - 8.0)", 6, 6.0f, 8.0f};
const FloatOptionInput kIdentifyTimeInput{"Identification time limit", "Enter seconds (5 - 600)", 6, 5.0f, 600.0f};

namespace {

// The text the dialog opens with: what fits its buffer.
std::string Buffer(const char* text, int limit) {
    std::string s(text);
    if (limit > 0 && s.size() > static_cast<std::size_t>(limit - 1)) s.resize(limit - 1);
    return s;
}

// sscanf "%i": leading blanks, sign, base from the prefix, trailing text
// ignored. A number too large for an int reads as the nearest int, which
// is out of range.
bool ReadInt(const std::string& text, long long& value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const long long v = std::strtoll(begin, &end, 0);
    if (end == begin) return false;
    value = v;  // strtoll saturates on overflow
    return true;
}

bool ReadFloat(const std::string& text, float& value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const float v = std::strtof(begin, &end);
    if (end == begin || !std::isfinite(v)) return false;
    value = v;
    return true;
}

}  // namespace

void AskIntOption(TextInputService& input, const IntOptionInput& what, int& value) {
    for (;;) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%i", value);
        std::string text = Buffer(buf, what.limit);
        input.Ask(what.title, what.prompt, text, what.limit);
        long long read = 0;
        // An out-of-range value is kept, so the dialog opens again on it.
        if (ReadInt(text, read)) value = static_cast<int>(std::clamp<long long>(read, INT_MIN, INT_MAX));
        if (value >= what.low && value <= what.high) return;
    }
}

void AskFloatOption(TextInputService& input, const FloatOptionInput& what, float& value) {
    for (;;) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%5.1f", value);
        std::string text = Buffer(buf, what.limit);
        input.Ask(what.title, what.prompt, text, what.limit);
        ReadFloat(text, value);
        if (value >= what.low && value <= what.high) return;
    }
}
