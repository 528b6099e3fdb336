#include "bar/clock_text.h"

#include <cstdio>

namespace {
std::string Format(int positionMs, bool showHours, const char* sign) {
    const int seconds = positionMs / 1000;
    const int minutes = seconds / 60;
    const int sec = seconds - 60 * minutes;
    char text[48];
    if (showHours) {
        const int hours = minutes / 60;
        std::snprintf(text, sizeof text, "%s%i:%.2i:%.2i", sign, hours, minutes - 60 * hours, sec);
    } else {
        std::snprintf(text, sizeof text, "%s%i:%.2i", sign, minutes, sec);
    }
    return text;
}
} // namespace

std::string ClockText(int positionMs, bool showHours) {
    return Format(positionMs, showHours, "");
}

const char* ClockPlaceholder(bool showHours) {
    return showHours ? "-:--:--" : "--:--";
}

std::string ClockTextLeft(int positionMs, int lengthMs, bool showHours) {
    if (positionMs < 0 || lengthMs < 0) return ClockText(positionMs, showHours);
    return Format(lengthMs > positionMs ? lengthMs - positionMs : 0, showHours, "-");
}
