#include "catalogue/estimate_string.h"
#include "platform/c_locale.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>

float fCnvEstStr(const char* text) {
    std::string s(text);
    bool minus = false;
    for (char& c : s) {
        if (c == '-') minus = true;
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '-' && c != ' ') c = ' ';
    }
    float a = 0.0f;
    float b = 0.0f;
    CNumericLocale c_numbers;
    const int n = std::sscanf(s.c_str(), "%f%f", &a, &b);
    if (n == 1) return a;
    if (n == 2) return minus ? -(std::fabs(a) + std::fabs(b) / 60) : a + b / 60;
    return 0.0f;
}
