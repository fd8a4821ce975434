#pragma once
// Where the program's layers put the lines of the day's record. The record writer is the real
// one (record_writer.h); tests may collect the lines instead.
#include <string>

namespace vostrel::record {

class RecordSink {
public:
    virtual ~RecordSink() = default;
    // One line without its end; returns at once, never waits for a disk.
    virtual void appendLine(std::string line) = 0;
};

} // namespace vostrel::record
