#include "schedule/calendar.h"

#include <chrono>
#include <cstdio>

namespace vostrel::schedule {
namespace {

using namespace std::chrono;

sys_days daysOf(CalendarDate date) {
    return year{date.year} / month{static_cast<unsigned>(date.month)} / day{static_cast<unsigned>(date.day)};
}

} // namespace

CalendarDate dateOf(const platform::LocalDateTime& t) { return {t.year, t.month, t.day}; }

std::int64_t midnightOf(CalendarDate date) { return daysOf(date).time_since_epoch().count() * kSecondsPerDay; }

std::int64_t momentOf(const platform::LocalDateTime& t) {
    return midnightOf(dateOf(t)) + (t.hour * 60LL + t.minute) * 60 + t.second;
}

CalendarDate dateAtMoment(std::int64_t moment) {
    const std::int64_t dayNumber =
        (moment - ((moment % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay) / kSecondsPerDay;
    const year_month_day ymd{sys_days{days{dayNumber}}};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

platform::LocalDateTime localTimeAt(std::int64_t moment) {
    const CalendarDate date = dateAtMoment(moment);
    const std::int64_t second = moment - midnightOf(date);
    return {date.year,
            date.month,
            date.day,
            static_cast<int>(second / 3600),
            static_cast<int>(second / 60 % 60),
            static_cast<int>(second % 60),
            0};
}

CalendarDate addDays(CalendarDate date, int days) { return dateAtMoment(midnightOf(date) + days * kSecondsPerDay); }

bool isRealDate(CalendarDate date) {
    if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) return false;
    return (year{date.year} / month{static_cast<unsigned>(date.month)} / day{static_cast<unsigned>(date.day)}).ok();
}

std::string durationText(std::int64_t seconds) {
    const std::int64_t minutes = seconds / 60, rest = seconds % 60;
    return (minutes > 0 ? std::to_string(minutes) + "分" : std::string()) +
           (rest > 0 || minutes == 0 ? std::to_string(rest) + "秒" : std::string());
}

std::string dateText(CalendarDate date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::string minuteText(int minuteOfDay) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", minuteOfDay / 60, minuteOfDay % 60);
    return text;
}

std::string timeOfDayText(std::int64_t moment) {
    const std::int64_t second = ((moment % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(second / 3600),
                  static_cast<int>(second / 60 % 60), static_cast<int>(second % 60));
    return text;
}

std::string clockMinuteText(std::int64_t moment) { return timeOfDayText(moment).substr(0, 5); }

} // namespace vostrel::schedule
