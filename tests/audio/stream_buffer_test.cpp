// The ring buffer's bookkeeping: contiguous spans across the ring's end, end of stream,
// resizing, and the waits of clear and resize.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <numeric>
#include <vector>

#include "audio/stream_buffer.h"

namespace vostrel::audio {
namespace {

using namespace std::chrono_literals;

void write(StreamBuffer& buffer, std::uint8_t first, std::size_t count) {
    std::uint8_t* span = nullptr;
    ASSERT_EQ(buffer.beginWrite(count, span), Result::Ok);
    for (std::size_t i = 0; i < count; ++i) span[i] = static_cast<std::uint8_t>(first + i);
    buffer.endWrite(count);
}

std::vector<std::uint8_t> read(StreamBuffer& buffer, std::size_t count) {
    const std::uint8_t* span = nullptr;
    EXPECT_EQ(buffer.beginRead(count, span), Result::Ok);
    std::vector<std::uint8_t> bytes(span, span + count);
    buffer.endRead(count);
    return bytes;
}

std::vector<std::uint8_t> sequence(std::uint8_t first, std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

TEST(StreamBuffer, SpansCrossingTheRingEndArriveWholeAndInOrder) {
    StreamBuffer buffer(16, 8);
    write(buffer, 0, 12);
    EXPECT_EQ(read(buffer, 12), sequence(0, 12));
    // The write runs 6 bytes into the overflow area and lands at the ring's start...
    write(buffer, 12, 10);
    // ...and the read across the end gets them back in one span.
    EXPECT_EQ(read(buffer, 10), sequence(12, 10));
    write(buffer, 22, 16);
    EXPECT_EQ(read(buffer, 16), sequence(22, 16));
    EXPECT_EQ(buffer.bytesHeld(), 0u);
}

TEST(StreamBuffer, ReadCrossingTheEndByMoreThanTheOverflowIsRefused) {
    StreamBuffer buffer(16, 4);
    write(buffer, 0, 10);
    read(buffer, 10);
    write(buffer, 10, 6);
    write(buffer, 16, 4);
    write(buffer, 20, 6);
    const std::uint8_t* span = nullptr;
    EXPECT_EQ(buffer.beginRead(16, span), Result::OverflowTooSmall);
    EXPECT_EQ(read(buffer, 10), sequence(10, 10));
}

TEST(StreamBuffer, FullRingRefusesWritesAndEmptyRingHasNoData) {
    StreamBuffer buffer(16, 0);
    const std::uint8_t* readSpan = nullptr;
    EXPECT_EQ(buffer.beginRead(1, readSpan), Result::NoData);
    write(buffer, 0, 16);
    std::uint8_t* span = nullptr;
    EXPECT_EQ(buffer.beginWrite(1, span), Result::BufferFull);
    read(buffer, 4);
    EXPECT_EQ(buffer.beginWrite(5, span), Result::BufferFull);
    EXPECT_EQ(buffer.beginWrite(4, span), Result::Ok);
    buffer.endWrite(0);
}

TEST(StreamBuffer, EndOfStreamIsReportedWhileBytesAreStillHeld) {
    StreamBuffer buffer(64, 8);
    write(buffer, 0, 5);
    buffer.setEndOfStream(true);
    const std::uint8_t* span = nullptr;
    EXPECT_EQ(buffer.beginRead(8, span), Result::EndOfStream);
    EXPECT_EQ(buffer.bytesHeld(), 5u);
    EXPECT_EQ(read(buffer, 5), sequence(0, 5));
    EXPECT_EQ(buffer.beginRead(1, span), Result::EndOfStream);
}

TEST(StreamBuffer, ClearEmptiesAndForgetsTheEnd) {
    StreamBuffer buffer(64, 8);
    write(buffer, 0, 40);
    buffer.setEndOfStream(true);
    EXPECT_EQ(buffer.clear(), Result::Ok);
    EXPECT_EQ(buffer.bytesHeld(), 0u);
    EXPECT_FALSE(buffer.endOfStream());
    write(buffer, 7, 3);
    EXPECT_EQ(read(buffer, 3), sequence(7, 3));
}

TEST(StreamBuffer, ResizeKeepsTheBytesAndIsRefusedWhenItCannot) {
    StreamBuffer buffer(64, 0);
    write(buffer, 0, 40);
    EXPECT_EQ(buffer.resize(32, 0), Result::BufferFull);
    EXPECT_EQ(buffer.resize(128, 0), Result::Ok);
    EXPECT_EQ(buffer.ringSize(), 128u);
    write(buffer, 40, 80);
    EXPECT_EQ(read(buffer, 120), sequence(0, 120));
    EXPECT_EQ(buffer.resize(256, 0), Result::ResizeRefused); // the read index is not 0
}

TEST(StreamBuffer, ClearWaitsForTheReadInProgress) {
    StreamBuffer buffer(64, 8);
    write(buffer, 0, 10);
    const std::uint8_t* span = nullptr;
    ASSERT_EQ(buffer.beginRead(10, span), Result::Ok);
    auto cleared = std::async(std::launch::async, [&] { return buffer.clear(); });
    EXPECT_EQ(cleared.wait_for(50ms), std::future_status::timeout);
    EXPECT_EQ(span[9], 9); // the span is still intact
    buffer.endRead(0);
    EXPECT_EQ(cleared.get(), Result::Ok);
    EXPECT_EQ(buffer.bytesHeld(), 0u);
}

TEST(StreamBuffer, ResizeWaitsForTheWriteInProgress) {
    StreamBuffer buffer(64, 0);
    std::uint8_t* span = nullptr;
    ASSERT_EQ(buffer.beginWrite(8, span), Result::Ok);
    auto resized = std::async(std::launch::async, [&] { return buffer.resize(128, 0); });
    EXPECT_EQ(resized.wait_for(50ms), std::future_status::timeout);
    for (int i = 0; i < 8; ++i) span[i] = static_cast<std::uint8_t>(i);
    buffer.endWrite(8);
    EXPECT_EQ(resized.get(), Result::Ok);
    EXPECT_EQ(read(buffer, 8), sequence(0, 8));
}

TEST(StreamBuffer, InterruptEndsEveryWaitAndRefusesEveryLaterCall) {
    StreamBuffer buffer(64, 8);
    write(buffer, 0, 10);
    const std::uint8_t* readSpan = nullptr;
    std::uint8_t* writeSpan = nullptr;
    ASSERT_EQ(buffer.beginRead(4, readSpan), Result::Ok);
    ASSERT_EQ(buffer.beginWrite(4, writeSpan), Result::Ok);
    auto cleared = std::async(std::launch::async, [&] { return buffer.clear(); });
    auto resized = std::async(std::launch::async, [&] { return buffer.resize(128, 0); });
    EXPECT_EQ(cleared.wait_for(20ms), std::future_status::timeout);
    buffer.interrupt();
    EXPECT_EQ(cleared.get(), Result::Interrupted);
    const Result resizeResult = resized.get();
    EXPECT_TRUE(resizeResult == Result::Interrupted || resizeResult == Result::ResizeRefused);
    EXPECT_EQ(buffer.beginWrite(1, writeSpan), Result::Interrupted);
    EXPECT_EQ(buffer.beginRead(1, readSpan), Result::Interrupted);
    EXPECT_EQ(buffer.clear(), Result::Interrupted);
}

} // namespace
} // namespace vostrel::audio
