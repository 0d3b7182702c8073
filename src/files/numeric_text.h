#pragma once
// Reading the number at the start of a dialog field's text, as the dialogs do
// when they close: leading blanks skipped, then the leading digits (and, for a
// decimal, points; the second point ends the number, so "12.5.3" is 12.5).
// Nothing when the text holds no digit there: the field counts as empty.

#include <optional>

std::optional<unsigned long> LeadingUnsigned(const char* text);
std::optional<long> LeadingInteger(const char* text);  // an optional "-" first
std::optional<double> LeadingDecimal(const char* text);
