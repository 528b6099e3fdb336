#include "bar/transport_math.h"

#include <climits>

namespace {
int Saturate(long long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int TruncSaturate(double value) {
    if (value != value) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}
} // namespace

int SkipBackTarget(int positionMs, int stepMs) {
    const long long target = static_cast<long long>(positionMs) - stepMs;
    return target < 0 ? 0 : Saturate(target);
}

std::optional<int> SkipForwardTarget(int positionMs, int stepMs, int lengthMs) {
    if (lengthMs < 0) return std::nullopt;
    long long target = static_cast<long long>(positionMs) + stepMs;
    if (target > lengthMs) target = lengthMs;
    if (target < 0) target = 0;
    return static_cast<int>(target);
}

std::optional<int> SeekTarget(unsigned int sliderPos, int lengthMs) {
    if (lengthMs < 0) return std::nullopt;
    return TruncSaturate(static_cast<double>(lengthMs) * static_cast<double>(sliderPos) * 0.001);
}

int SeekSliderPos(int positionMs, int lengthMs) {
    if (lengthMs <= 0) return 0;
    const int pos = TruncSaturate(static_cast<double>(positionMs) / static_cast<double>(lengthMs) * 1000.0);
    if (pos < 0) return 0;
    return pos > kSeekScale ? kSeekScale : pos;
}

WindStep Wind(int positionMs, int lengthMs, int shuttle, int fastwind) {
    // Double holds every sum that fits an int exactly; anything larger saturates, so it never wraps.
    const double step = static_cast<double>(shuttle) * static_cast<double>(fastwind) * 10.0;
    int target = TruncSaturate(static_cast<double>(positionMs) + step);
    if (target < 0) target = 0;
    return WindStep{target <= lengthMs, target, target == 0 || target >= lengthMs};
}
