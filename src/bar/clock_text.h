// The bar's clock: a playback position as text, and what the clock shows while it blinks off.
#pragma once
#include <string>

// Seconds are truncated, never rounded; without hours the minutes run on past 59.
std::string ClockText(int positionMs, bool showHours);
const char* ClockPlaceholder(bool showHours);
// The time left, as "-" and the clock's text ("-0:42:17"), never below zero; the position itself while
// nothing plays or the length is unknown.
std::string ClockTextLeft(int positionMs, int lengthMs, bool showHours);
