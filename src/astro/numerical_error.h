#pragma once
#include <stdexcept>
#include <string>

// A numeric fault that makes a result impossible: a singular least-squares
// system or a date in the year 0. It carries the solver's own text so the user
// interface can show it; the session it interrupted is left as it was.
class NumericalError : public std::runtime_error {
public:
    explicit NumericalError(const std::string& text) : std::runtime_error(text) {}
};

// Raises NumericalError with the text. Never returns.
[[noreturn]] void nrerror(const char* error_text);
