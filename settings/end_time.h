#pragma once
// Deriving an exam's end from its typed start pieces.
#include <optional>
#include <string>
#include <string_view>

namespace vostrel::settings {

struct StartPieces {
    std::string hour;   // first piece of the typed text, as typed
    std::string minute; // second piece
};

struct EndTexts {
    std::string hour; // may exceed 23: no wrap past midnight
    std::string minute;
};

// The pieces of a typed start time, or nothing when the text is refused: fewer than two
// pieces at ":", an hour above 23 or a minute above 59. Pieces beyond the second are
// ignored; there is no lower bound.
std::optional<StartPieces> acceptStartTime(std::string_view typed);

// The end of an exam of examMinutes: hour + the whole hours of the length and minute + the rest
// (150 minutes: hour + 2, minute + 30), carried once when the minute goes past 59, then each
// text below 10 gets a leading "0" (the minute too, when nothing was added).
EndTexts deriveEndTime(const StartPieces& start, int examMinutes);

// "结束时间为" followed by hour ":" minute.
std::string endLabelCaption(const EndTexts& end);

} // namespace vostrel::settings
