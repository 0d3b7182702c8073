#pragma once
// The option commands' text-input loops. The dialog opens on the current
// value, and whatever it closes with (OK or Cancel alike) is read back; a
// value outside the range opens it again, text that does not parse as a
// number keeps the old value.
#include <string>

class TextInputService;

struct IntOptionInput {
    std::string title;
    std::string prompt;
    int limit;  // buffer size in bytes
    int low;
    int high;
};

struct FloatOptionInput {
    std::string title;
    std::string prompt;
    int limit;
    float low;
    float high;
};

// Written with "%i", read with "%i" (so a leading 0 reads as octal, 0x as
// hexadecimal).
void AskIntOption(TextInputService& input, const IntOptionInput& what, int& value);
// Written with "%5.1f", read with "%f": the value comes back rounded to one
// decimal. Not-a-number and infinities count as text that does not parse.
void AskFloatOption(TextInputService& input, const FloatOptionInput& what, float& value);

// The three option dialogs of the Options menu.
extern const IntOptionInput kRandomnessInput;
extern const FloatOptionInput kSearchAreaInput;
extern const FloatOptionInput kLimitInput;
// The plate solver's time limit of Identify stars automatically, seconds.
extern const FloatOptionInput kIdentifyTimeInput;
