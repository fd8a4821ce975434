// One producer and one consumer thread moving a few hundred megabytes of patterned data,
// in spans of changing sizes that keep crossing the ring's end.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "audio/stream_buffer.h"

namespace vostrel::audio {
namespace {

std::uint8_t patternAt(std::uint64_t offset) {
    return static_cast<std::uint8_t>((offset * 2654435761u) >> 13 ^ (offset >> 7));
}

void fillPattern(std::uint8_t* out, std::uint64_t offset, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) out[i] = patternAt(offset + i);
}

TEST(StreamBufferThreads, ProducerAndConsumerFindEveryByteInPlace) {
    constexpr std::uint64_t kTotal = 256ull << 20;
    constexpr std::size_t kRing = 65536;
    constexpr std::size_t kOverflow = 8192;
    StreamBuffer buffer(kRing, kOverflow);

    std::thread producer([&] {
        std::uint64_t offset = 0;
        std::size_t size = 1;
        while (offset < kTotal) {
            size = (size * 7919 + 13) % kOverflow + 1; // 1..8192 bytes, never past the overflow
            const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(size, kTotal - offset));
            std::uint8_t* span = nullptr;
            const Result r = buffer.beginWrite(want, span);
            if (r == Result::BufferFull) {
                std::this_thread::yield();
                continue;
            }
            ASSERT_EQ(r, Result::Ok);
            fillPattern(span, offset, want);
            buffer.endWrite(want);
            offset += want;
        }
        buffer.setEndOfStream(true);
    });

    std::uint64_t offset = 0;
    std::size_t size = 3;
    std::vector<std::uint8_t> expected(kOverflow);
    std::uint64_t misplaced = 0;
    for (;;) {
        size = (size * 104729 + 7) % kOverflow + 1;
        const std::uint8_t* span = nullptr;
        Result r = buffer.beginRead(size, span);
        if (r == Result::NoData) {
            std::this_thread::yield();
            continue;
        }
        std::size_t got = size;
        if (r == Result::EndOfStream) {
            got = buffer.bytesHeld();
            if (got == 0) break;
            r = buffer.beginRead(got, span);
        }
        ASSERT_EQ(r, Result::Ok);
        fillPattern(expected.data(), offset, got);
        if (std::memcmp(expected.data(), span, got) != 0) ++misplaced;
        buffer.endRead(got);
        offset += got;
    }
    producer.join();
    EXPECT_EQ(misplaced, 0u);
    EXPECT_EQ(offset, kTotal);
}

} // namespace
} // namespace vostrel::audio
