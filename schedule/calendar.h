#pragma once
// Dates and moments of the local wall clock, as the schedule counts them: a moment is the number
// of seconds since 1970-01-01 00:00 of the local calendar (no time zone involved, so every day
// has 86400 seconds), which makes "the minute after midnight" and "two minutes late" plain
// arithmetic across days.
#include <compare>
#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace vostrel::schedule {

struct CalendarDate {
    int year = 1970, month = 1, day = 1;
    auto operator<=>(const CalendarDate&) const = default;
};

inline constexpr std::int64_t kSecondsPerDay = 86400;

CalendarDate dateOf(const platform::LocalDateTime& t);
// Seconds of the local calendar at the wall-clock time t (milliseconds dropped).
std::int64_t momentOf(const platform::LocalDateTime& t);
// The moment of midnight at the start of the date.
std::int64_t midnightOf(CalendarDate date);
CalendarDate dateAtMoment(std::int64_t moment);
// The wall-clock time of a moment.
platform::LocalDateTime localTimeAt(std::int64_t moment);
CalendarDate addDays(CalendarDate date, int days);
// The start of the minute holding the moment.
inline std::int64_t minuteStart(std::int64_t moment) { return moment - ((moment % 60) + 60) % 60; }
// True for a date the calendar has (2026-02-30 is none).
bool isRealDate(CalendarDate date);

// "2026-12-08".
std::string dateText(CalendarDate date);
// "1分20秒", "3分", "45秒", "0秒".
std::string durationText(std::int64_t seconds);
// "08:35" for a minute of the day (hour and minute zero-filled; negative or large values as
// they come).
std::string minuteText(int minuteOfDay);
// "08:35:07" for the time of day of a moment.
std::string timeOfDayText(std::int64_t moment);
// "08:35" for the hour and minute of a moment.
std::string clockMinuteText(std::int64_t moment);

} // namespace vostrel::schedule
