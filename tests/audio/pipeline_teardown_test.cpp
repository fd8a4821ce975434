// Tearing a pipeline down while each of its threads is blocked: every thread wakes, ends and
// is joined, promptly, without an event.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include "tests/audio/pipeline_runner.h"
#include "tests/audio/reference_decoder.h"

namespace vostrel::audio::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Bound for "promptly": far above a teardown's real cost, far below a hang.
constexpr auto kPrompt = 2s;

struct Pipeline {
    RecordingSink sink;
    DrainStage drain;
    std::unique_ptr<FileInputStage> input = std::make_unique<FileInputStage>(&sink);
    std::unique_ptr<FrameDecoderStage> decoder = std::make_unique<FrameDecoderStage>(&sink, nullptr);

    explicit Pipeline(const std::string& file) {
        EXPECT_EQ(input->open(file, ""), Result::Ok);
        EXPECT_EQ(decoder->attach(*input, &drain), Result::Ok);
    }

    // Destroys the stages in the engine's order and returns how long that took.
    Clock::duration tearDown() {
        const auto start = Clock::now();
        input->pause();
        decoder->pause();
        decoder.reset();
        input.reset();
        return Clock::now() - start;
    }

    template <class Condition>
    bool waitUntil(Condition condition) {
        const auto deadline = Clock::now() + 10s;
        while (!condition()) {
            if (Clock::now() > deadline) return false;
            decoder->wake();
            drain.waitForWakeFor(1ms);
        }
        return true;
    }
};

TEST(PipelineTeardown, ReaderOnAFullRingAndDecoderWaitingForSpace) {
    Pipeline p(testFile("long.mp3"));
    EventStreamBuffer* out = p.decoder->buffer();
    // Nobody drains the PCM: the decoder fills its ring and waits for space, the reader fills
    // the file ring behind it and waits too.
    ASSERT_TRUE(p.waitUntil([&] {
        return out->bytesHeld() == out->ringSize() &&
               p.input->buffer()->bytesHeld() + FileInputStage::kReadBytes > FileInputStage::kRingBytes;
    }));
    EXPECT_LT(p.tearDown(), kPrompt);
    EXPECT_TRUE(p.sink.codes().empty());
}

TEST(PipelineTeardown, DecoderWaitingForDataEventDriven) {
    Pipeline p(testFile("long.mp3"));
    // The reader stops at its first step, so the decoder starves once it has used the piece
    // read at open.
    p.input->pause();
    p.decoder->wake();
    std::this_thread::sleep_for(30ms); // let the decoder reach its wait; no clock to fake here
    EXPECT_LE(p.decoder->buffer()->eventsQueued(), 1u) << "at most the format: the stream has not ended";
    EXPECT_LT(p.tearDown(), kPrompt);
    EXPECT_TRUE(p.sink.codes().empty());
}

TEST(PipelineTeardown, BeforeEitherThreadWasWokenEventDriven) {
    Pipeline p(testFile("cbr.mp3"));
    EXPECT_LT(p.tearDown(), kPrompt);
    EXPECT_TRUE(p.sink.codes().empty());
}

TEST(PipelineTeardown, WhileTheDecoderWaitsForASeekThePausedReaderWillNotMakeEventDriven) {
    const std::string file = testFile("long.mp3");
    std::ifstream in(file, std::ios::binary);
    std::vector<char> head(2 * FileInputStage::kReadBytes);
    ASSERT_TRUE(in.read(head.data(), static_cast<std::streamsize>(head.size())));
    // Whether the reader has reached its pause before the seek is asked for cannot be seen
    // from outside; a few rounds make it all but certain that one of them tears down with the
    // seek still open.
    for (int round = 0; round < 5; ++round) {
        Pipeline p(file);
        p.decoder->setStartPosition(60);
        // The reader has read the first piece at open and is then paused, as a teardown pauses
        // it; the test stands in for it and hands the decoder the next piece. In these bytes the
        // decoder finds the stream and then asks the paused reader to seek.
        p.input->pause();
        StreamBuffer& buffer = *p.input->buffer();
        for (std::size_t at = FileInputStage::kReadBytes; at < head.size(); at += FileInputStage::kReadBytes) {
            std::uint8_t* span = nullptr;
            ASSERT_EQ(buffer.beginWrite(FileInputStage::kReadBytes, span), Result::Ok);
            std::memcpy(span, head.data() + at, FileInputStage::kReadBytes);
            buffer.endWrite(FileInputStage::kReadBytes);
        }
        p.decoder->wake();
        p.drain.waitForWake(); // woken for the FormatEvent, queued right before the seek
        ASSERT_EQ(p.decoder->buffer()->eventsQueued(), 1u);
        // The decoder's own quit flag must end its wait for the reader.
        EXPECT_LT(p.tearDown(), kPrompt) << "round " << round;
        EXPECT_TRUE(p.sink.codes().empty());
    }
}

TEST(PipelineTeardown, AtEveryMomentOfADecode) {
    for (int i = 0; i < 40; ++i) {
        Pipeline p(testFile(i % 2 ? "cbr.mp3" : "junk_middle.mp3"));
        EventStreamBuffer* out = p.decoder->buffer();
        bool haveFormat = false;
        std::uint32_t block = 0;
        // Drain i blocks, then tear down wherever the threads are.
        for (int taken = 0; taken < i;) {
            if (!haveFormat) {
                if (auto event = out->takeEvent()) {
                    haveFormat = true;
                    block = event->format.blockBytes;
                } else {
                    p.decoder->wake();
                    p.drain.waitForWakeFor(1ms);
                }
                continue;
            }
            const std::uint8_t* span = nullptr;
            const Result r = out->beginRead(block, span);
            if (r == Result::Ok) {
                out->endRead(block);
                ++taken;
                p.decoder->wake();
            } else if (r == Result::NoData) {
                p.decoder->wake();
                p.drain.waitForWakeFor(1ms);
            } else {
                break;
            }
        }
        EXPECT_LT(p.tearDown(), kPrompt) << "after " << i << " blocks";
        EXPECT_TRUE(p.sink.codes().empty());
    }
}

} // namespace
} // namespace vostrel::audio::test
