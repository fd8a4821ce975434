#include "settings/end_time.h"

#include <vector>

#include "settings/time_text.h"

namespace vostrel::settings {
namespace {

// Values are compared with this margin so that texts like "59.00000000001" still count as 59.
constexpr double kTolerance = 0.0000001;

std::string zeroFilled(const std::string& text) { return toNumber(text) - 10 < -kTolerance ? "0" + text : text; }

} // namespace

std::optional<StartPieces> acceptStartTime(std::string_view typed) {
    std::vector<std::string> pieces = splitText(typed, ":");
    if (pieces.size() < 2) return std::nullopt;
    if (toNumber(pieces[0]) - 23 > kTolerance) return std::nullopt;
    if (toNumber(pieces[1]) - 59 > kTolerance) return std::nullopt;
    return StartPieces{std::move(pieces[0]), std::move(pieces[1])};
}

EndTexts deriveEndTime(const StartPieces& start, int examMinutes) {
    EndTexts end;
    end.hour = numberToText(toNumber(start.hour) + examMinutes / 60);
    end.minute = numberToText(toNumber(start.minute) + examMinutes % 60);
    if (toNumber(end.minute) - 59 > kTolerance) {
        end.hour = numberToText(toNumber(end.hour) + 1);
        end.minute = numberToText(toNumber(end.minute) - 60);
    }
    end.hour = zeroFilled(end.hour);
    end.minute = zeroFilled(end.minute);
    return end;
}

std::string endLabelCaption(const EndTexts& end) { return "结束时间为" + end.hour + ":" + end.minute; }

} // namespace vostrel::settings
