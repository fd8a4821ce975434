#pragma once
// One line of the day's record: when, what happened, and the details, separated so that a
// teacher reads them in Notepad and the program reads them back after a restart:
//
//   2026-12-08 08:35:00 | 开始播放 | 语文 | 2026-12-08 09:00开考 | 第1条 开考前25分钟 | …
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace vostrel::record {

struct RecordLine {
    platform::LocalDateTime at; // to the second
    std::string event;
    std::vector<std::string> fields;
};

inline constexpr std::string_view kFieldSeparator = " | ";
// The record starts with it, so that Notepad on Windows XP reads the file as UTF-8.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// "2026-12-08 08:35:00".
std::string timestampText(const platform::LocalDateTime& at);

// The line without its end. A separator or line break inside a field is replaced, so the line
// always reads back as written.
std::string formatRecordLine(const RecordLine& line);

// A line as formatRecordLine wrote it (a byte-order mark or CR around it is ignored); nothing
// for any other text.
std::optional<RecordLine> parseRecordLine(std::string_view text);

} // namespace vostrel::record
