// Seam: the wall clock, for when a remembered file was last played.
#pragma once
#include <cstdint>

class WallClock {
public:
    virtual ~WallClock() = default;
    // Seconds since 1970-01-01 UTC.
    virtual std::int64_t Now() = 0;
};
