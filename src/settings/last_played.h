// The options' "Last played" cell: when a remembered file last played, in the person's words.
#pragma once
#include <string>

#include "platform/window_system.h"

enum class PlayedDay { Today, Yesterday, Earlier };

// Which day a play falls on as the person's calendar counts, both moments in local seconds since
// 1970-01-01. A play later than today (the clock was set back) counts as earlier: its date is shown.
PlayedDay DayOfPlay(std::int64_t playedLocal, std::int64_t nowLocal);

// "Today 21:14", "Yesterday 08:02", else the date ("03/12/2026" as the locale writes it); empty when
// the moment could not be shown.
std::u16string LastPlayedText(const LocalMoment& played, const LocalMoment& now);
