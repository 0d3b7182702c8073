#include "files/numeric_text.h"

#include <charconv>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* SkipBlanks(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

// Field texts are a few characters long; the cap keeps a stray long text from
// overflowing.
constexpr unsigned long kCap = 1000000000UL;

std::optional<unsigned long> Digits(const char* p) {
    if (!IsDigit(*p)) return std::nullopt;
    unsigned long v = 0;
    for (; IsDigit(*p); ++p) v = v < kCap ? v * 10 + static_cast<unsigned long>(*p - '0') : kCap;
    return v;
}

}  // namespace

std::optional<unsigned long> LeadingUnsigned(const char* text) { return Digits(SkipBlanks(text)); }

std::optional<long> LeadingInteger(const char* text) {
    const char* p = SkipBlanks(text);
    const bool negative = *p == '-';
    const auto v = Digits(negative ? p + 1 : p);
    if (!v) return std::nullopt;
    const long magnitude = static_cast<long>(*v);
    return negative ? -magnitude : magnitude;
}

std::optional<double> LeadingDecimal(const char* text) {
    const char* p = SkipBlanks(text);
    std::string number;
    bool digit = false;
    bool point = false;
    for (; IsDigit(*p) || (*p == '.' && !point); ++p) {
        digit = digit || IsDigit(*p);
        point = point || *p == '.';
        number.push_back(*p);
    }
    if (!digit) return std::nullopt;
    // from_chars, unlike strtod, does not follow the locale's decimal sign.
    double v = 0.0;
    std::from_chars(number.data(), number.data() + number.size(), v);
    return v;
}
