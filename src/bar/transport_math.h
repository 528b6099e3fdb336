// The arithmetic behind the bar's transport controls. Positions and lengths are milliseconds; a
// negative length means the host knows none. No result ever wraps: sums are taken wide.
#pragma once
#include <optional>

constexpr int kSeekScale = 1000; // the seek slider's range is 0..kSeekScale, per mille of the length

// Back by stepMs, stopping at the start.
int SkipBackTarget(int positionMs, int stepMs);

// Forward by stepMs, stopping at the end; nothing to send when the host knows no length.
std::optional<int> SkipForwardTarget(int positionMs, int stepMs, int lengthMs);

// The jump for a seek-slider position; nothing when the host knows no length. The slider position is
// read as unsigned, as the trackbar hands it over.
std::optional<int> SeekTarget(unsigned int sliderPos, int lengthMs);

// The seek slider's position for a playback position, always within 0..kSeekScale.
int SeekSliderPos(int positionMs, int lengthMs);

// One tick of fast winding from the shuttle.
struct WindStep {
    bool jump;   // send target to the host
    int target;  // ms
    bool finish; // winding ends here (start or end reached, or it cannot go on)
};
// positionMs is never -1 here: nothing playing ends winding before any arithmetic.
WindStep Wind(int positionMs, int lengthMs, int shuttle, int fastwind);
