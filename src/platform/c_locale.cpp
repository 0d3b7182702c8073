#include "platform/c_locale.h"

#include <locale.h>
#include <stdlib.h>

namespace {

// Made once and never freed: a locale object is immutable and may be used
// by every thread at once.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

}  // namespace

CNumericLocale::CNumericLocale() {
    if (const locale_t c = CLocale()) previous_ = static_cast<void*>(uselocale(c));
}

CNumericLocale::~CNumericLocale() {
    if (previous_ != nullptr) uselocale(static_cast<locale_t>(previous_));
}

double StrToDoubleC(const char* text, char** end) {
    if (const locale_t c = CLocale()) return strtod_l(text, end, c);
    return strtod(text, end);
}

float StrToFloatC(const char* text, char** end) {
    if (const locale_t c = CLocale()) return strtof_l(text, end, c);
    return strtof(text, end);
}

double AtofC(const char* text) { return StrToDoubleC(text, nullptr); }
