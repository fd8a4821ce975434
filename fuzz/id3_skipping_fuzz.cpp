// The input stage on any file: the stream starts after an ID3v2 tag (0 without one), the data
// ends before a 128-byte "TAG" trailer, and the reader hands the decoder exactly the bytes in
// between, in order, whatever the tag's size field says.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>

#include "audio/file_input_stage.h"
#include "audio/player_events.h"
#include "audio/stream_search.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "fuzz/scratch_folder.h"

namespace vostrel::fuzz {

namespace {

using audio::kId3HeaderBytes;
using audio::kTagTrailerBytes;

struct IgnoredEvents : audio::PlayerEventSink {
    void post(audio::PlayerEventCode) override {}
};

// Stands for the decoder: the reader wakes it when it has written.
struct Consumer : audio::PipelineStage {
    Consumer() : PipelineStage(nullptr) {}
};

// Everything the reader puts into its buffer until it sets the end of the stream.
std::string drain(audio::FileInputStage& input, Consumer& consumer) {
    using namespace std::chrono_literals;
    audio::StreamBuffer& buffer = *input.buffer();
    std::string bytes;
    input.wake();
    for (;;) {
        const bool ended = buffer.endOfStream(); // before the count: all is written by then
        const std::size_t held = std::min(buffer.bytesHeld(), audio::FileInputStage::kOverflowBytes);
        if (held > 0) {
            const std::uint8_t* span = nullptr;
            FUZZ_EXPECT(buffer.beginRead(held, span) == audio::Result::Ok);
            bytes.append(reinterpret_cast<const char*>(span), held);
            buffer.endRead(held);
            input.wake();
        } else if (ended) {
            return bytes;
        } else {
            consumer.waitForWakeFor(10ms);
        }
    }
}

} // namespace

int id3Skipping(const std::uint8_t* data, std::size_t size) {
    static const std::string path = scratchFile("input.mp3");
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    writeScratchFile(path, file);

    IgnoredEvents events;
    Consumer consumer;
    audio::FileInputStage input(&events);
    FUZZ_EXPECT(input.open(path, "") == audio::Result::Ok);
    input.setConsumer(&consumer);

    const bool trailer = size >= kTagTrailerBytes && file.substr(size - kTagTrailerBytes, 3) == "TAG";
    FUZZ_EXPECT(input.dataLength() == (trailer ? size - kTagTrailerBytes : size));
    const bool tagged = size >= kId3HeaderBytes && file.starts_with("ID3");
    FUZZ_EXPECT(tagged ? input.streamStart() >= kId3HeaderBytes : input.streamStart() == 0);

    const std::size_t start =
        static_cast<std::size_t>(std::min<std::uint64_t>(input.streamStart(), input.dataLength()));
    const std::string stream = drain(input, consumer);
    FUZZ_EXPECT(stream == file.substr(start, input.dataLength() - start));
    input.setConsumer(nullptr);
    return 0;
}

} // namespace vostrel::fuzz
