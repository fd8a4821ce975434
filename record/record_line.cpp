#include "record/record_line.h"

#include <charconv>
#include <cstdio>

namespace vostrel::record {
namespace {

constexpr std::string_view kSeparatorStandIn = "／";
constexpr std::size_t kTimestampChars = 19; // "2026-12-08 08:35:00"

std::string cleanField(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field.substr(i, kFieldSeparator.size()) == kFieldSeparator) {
            out += ' ';
            out += kSeparatorStandIn;
            out += ' ';
            i += kFieldSeparator.size() - 1;
        } else {
            out += (field[i] == '\r' || field[i] == '\n') ? ' ' : field[i];
        }
    }
    return out;
}

bool readNumber(std::string_view text, std::size_t at, std::size_t digits, int& value) {
    if (at + digits > text.size()) return false;
    for (std::size_t i = at; i < at + digits; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return std::from_chars(text.data() + at, text.data() + at + digits, value).ec == std::errc();
}

std::optional<platform::LocalDateTime> parseTimestamp(std::string_view text) {
    platform::LocalDateTime t;
    if (text.size() != kTimestampChars || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':')
        return std::nullopt;
    if (!readNumber(text, 0, 4, t.year) || !readNumber(text, 5, 2, t.month) || !readNumber(text, 8, 2, t.day) ||
        !readNumber(text, 11, 2, t.hour) || !readNumber(text, 14, 2, t.minute) || !readNumber(text, 17, 2, t.second))
        return std::nullopt;
    return t;
}

std::vector<std::string_view> splitFields(std::string_view text) {
    std::vector<std::string_view> parts;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(kFieldSeparator, from);
        parts.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) return parts;
        from = at + kFieldSeparator.size();
    }
}

} // namespace

std::string timestampText(const platform::LocalDateTime& at) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", at.year, at.month, at.day, at.hour, at.minute,
                  at.second);
    return text;
}

std::string formatRecordLine(const RecordLine& line) {
    std::string text = timestampText(line.at);
    text += kFieldSeparator;
    text += cleanField(line.event);
    for (const std::string& field : line.fields) {
        text += kFieldSeparator;
        text += cleanField(field);
    }
    return text;
}

std::optional<RecordLine> parseRecordLine(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
    const std::vector<std::string_view> parts = splitFields(text);
    if (parts.size() < 2) return std::nullopt;
    const std::optional<platform::LocalDateTime> at = parseTimestamp(parts[0]);
    if (!at) return std::nullopt;
    RecordLine line{*at, std::string(parts[1]), {}};
    for (std::size_t i = 2; i < parts.size(); ++i) line.fields.emplace_back(parts[i]);
    return line;
}

} // namespace vostrel::record
