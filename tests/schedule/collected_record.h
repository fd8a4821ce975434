#pragma once
// The day's record as the program's layers write it, kept in memory, for tests that look at the
// lines without a worker thread or a file.
#include <string>
#include <string_view>
#include <vector>

#include "record/record_sink.h"

namespace vostrel::test {

class CollectedRecord final : public record::RecordSink {
public:
    void appendLine(std::string line) override { lines.push_back(std::move(line)); }

    // The lines whose event (the field after the time) is `event`.
    std::vector<std::string> withEvent(std::string_view event) const {
        std::vector<std::string> matching;
        const std::string marker = " | " + std::string(event);
        for (const std::string& line : lines) {
            const std::string_view rest = std::string_view(line).substr(std::min<std::size_t>(line.size(), 19));
            if (rest.starts_with(marker) &&
                (rest.size() == marker.size() || rest.substr(marker.size()).starts_with(" | ")))
                matching.push_back(line);
        }
        return matching;
    }

    std::vector<std::string> lines;
};

} // namespace vostrel::test
