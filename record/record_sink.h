#pragma once
// Where the program's layers put the lines of the day's record. The record writer is the real
// one (record_writer.h); tests may collect the lines instead.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "record/record_line.h"

namespace vostrel::record {

class RecordSink {
public:
    virtual ~RecordSink() = default;
    // What the layers write: the line formatted as record_line.h says.
    void append(const RecordLine& line) { appendLine(formatRecordLine(line)); }
    // The line of an event that happens now, by the clock's wall time.
    void appendNow(const platform::Clock& clock, std::string_view event, std::vector<std::string> fields = {}) {
        append({clock.localNow(), std::string(event), std::move(fields)});
    }
    // One line without its end; returns at once, never waits for a disk.
    virtual void appendLine(std::string line) = 0;
};

} // namespace vostrel::record
