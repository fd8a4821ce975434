// The day's record read back after a restart, on any text: a line reads back as it was written
// (what formatRecordLine makes of a parsed line parses to the same line again), and the prompts
// that began are found in whatever the file holds without a fault.
#include <algorithm>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "record/record_line.h"
#include "schedule/prompt_record.h"

namespace vostrel::fuzz {

int record(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        if (const auto line = record::parseRecordLine(text.substr(from, end - from))) {
            const std::string written = record::formatRecordLine(*line);
            const auto again = record::parseRecordLine(written);
            FUZZ_EXPECT(again && record::formatRecordLine(*again) == written);
            FUZZ_EXPECT(written.find('\n') == std::string::npos && written.find('\r') == std::string::npos);
        }
        from = end + 1;
    }
    for (const schedule::PromptKey& key : schedule::promptsBegunIn(text)) FUZZ_EXPECT(key.row >= 1 && key.row <= 8);
    return 0;
}

} // namespace vostrel::fuzz
