#include "settings/last_played.h"

namespace {
constexpr std::int64_t kSecondsPerDay = 86400;

// Rounds towards minus infinity, so a moment before 1970 still lands on its own day.
std::int64_t DayNumber(std::int64_t localSeconds) {
    const std::int64_t day = localSeconds / kSecondsPerDay;
    return localSeconds % kSecondsPerDay < 0 ? day - 1 : day;
}
} // namespace

PlayedDay DayOfPlay(std::int64_t playedLocal, std::int64_t nowLocal) {
    const std::int64_t daysAgo = DayNumber(nowLocal) - DayNumber(playedLocal);
    return daysAgo == 0 ? PlayedDay::Today : daysAgo == 1 ? PlayedDay::Yesterday : PlayedDay::Earlier;
}

std::u16string LastPlayedText(const LocalMoment& played, const LocalMoment& now) {
    if (played.date.empty()) return u"";
    switch (DayOfPlay(played.localSeconds, now.localSeconds)) {
    case PlayedDay::Today:
        return u"Today " + played.time;
    case PlayedDay::Yesterday:
        return u"Yesterday " + played.time;
    default:
        return played.date;
    }
}
