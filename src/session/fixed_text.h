#pragma once
#include <cstddef>
#include <cstring>
#include <string_view>

// Copies src into a fixed-size text field, cutting it to the field's limit
// (N - 1 characters) and always terminating it. The fixed-column files rely
// on every writer keeping these limits.
template <std::size_t N>
void copy_text(char (&dst)[N], std::string_view src) {
    const std::size_t n = src.size() < N - 1 ? src.size() : N - 1;
    std::memcpy(dst, src.data(), n);
    dst[n] = '\0';
}
