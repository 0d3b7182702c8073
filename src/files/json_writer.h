#pragma once
// A small writer for one JSON object: what a --json command prints and the
// reduction report the desktop program exports.
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/c_locale.h"

class JsonWriter {
public:
    std::string str() const { return out_; }

    void BeginObject(std::string_view key = {}) { Open(key, '{'); }
    void EndObject() { Close('}'); }
    void BeginArray(std::string_view key = {}) { Open(key, '['); }
    void EndArray() { Close(']'); }

    void Value(std::string_view key, std::string_view text) {
        Key(key);
        Quote(text);
    }
    void Value(std::string_view key, const char* text) { Value(key, std::string_view(text)); }
    void Value(std::string_view key, double v) {
        Key(key);
        out_ += std::isfinite(v) ? Number(v) : "null";
    }
    // A finite number as every value of the writer shows it: ten significant
    // digits with a decimal point, whatever the locale.
    static std::string Number(double v) {
        char buf[32];
        CNumericLocale c_numbers;
        std::snprintf(buf, sizeof buf, "%.10g", v);
        return buf;
    }
    void Value(std::string_view key, long long v) {
        Key(key);
        out_ += std::to_string(v);
    }
    void Value(std::string_view key, int v) { Value(key, static_cast<long long>(v)); }
    void Value(std::string_view key, unsigned v) { Value(key, static_cast<long long>(v)); }
    void Value(std::string_view key, bool v) {
        Key(key);
        out_ += v ? "true" : "false";
    }

private:
    void Open(std::string_view key, char c) {
        Key(key);
        out_ += c;
        first_ = true;
    }
    void Close(char c) {
        out_ += c;
        first_ = false;
    }
    void Key(std::string_view key) {
        if (!first_) out_ += ',';
        first_ = false;
        if (!key.empty()) {
            Quote(key);
            out_ += ':';
        }
    }
    void Quote(std::string_view s) {
        out_ += '"';
        for (const char ch : s) {
            const auto c = static_cast<unsigned char>(ch);
            if (c == '"' || c == '\\') {
                out_ += '\\';
                out_ += ch;
            } else if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out_ += buf;
            } else {
                out_ += ch;
            }
        }
        out_ += '"';
    }

    std::string out_;
    bool first_ = true;
};
