#include "settings/int_parse.h"

#include <climits>

namespace {
// The C locale's blanks; not isspace(), which is undefined for the negative chars of ANSI text.
bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

bool ParseDialogInt(const char* text, int* value) {
    if (text == nullptr) return false;
    while (IsBlank(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    if (!IsDigit(*text)) return false;
    // Accumulate the magnitude in 64 bits and stop once it cannot fit, so no digit count overflows.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    for (; IsDigit(*text); ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > limit) return false;
    }
    while (IsBlank(*text))
        ++text;
    if (*text != '\0') return false;
    *value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}
