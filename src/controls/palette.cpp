#include "controls/palette.h"

namespace {

int Channel(COLORREF colour, int index) {
    return static_cast<int>((colour >> (8 * index)) & 0xff);
}

template <typename PerChannel> COLORREF Combine(PerChannel perChannel) {
    COLORREF result = 0;
    for (int index = 0; index < 3; ++index)
        result |= static_cast<COLORREF>(perChannel(index) & 0xff) << (8 * index);
    return result;
}

} // namespace

COLORREF Lighten(COLORREF colour, BYTE amount) {
    return Combine([&](int i) {
        const int v = Channel(colour, i);
        return v + amount <= 255 ? v + amount : v;
    });
}

COLORREF Darken(COLORREF colour, BYTE amount) {
    return Combine([&](int i) {
        const int v = Channel(colour, i);
        return v >= amount ? v - amount : v;
    });
}

COLORREF Average(COLORREF a, COLORREF b) {
    return Combine([&](int i) {
        const int x = Channel(a, i);
        const int y = Channel(b, i);
        return x + ((y - x) >> 1);
    });
}
