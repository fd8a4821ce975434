// In-band events: met exactly at the position they were queued at.
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "audio/event_stream_buffer.h"

namespace vostrel::audio {
namespace {

using namespace std::chrono_literals;

void write(StreamBuffer& buffer, std::size_t count) {
    std::uint8_t* span = nullptr;
    ASSERT_EQ(buffer.beginWrite(count, span), Result::Ok);
    buffer.endWrite(count);
}

StreamEvent endEvent() { return StreamEvent{StreamEventKind::EndOfStreamEvent, {}, false}; }

TEST(EventStreamBuffer, EventIsPendingAtItsPositionAndWhenTheSpanReachesPastIt) {
    EventStreamBuffer buffer(64, 0);
    write(buffer, 8);
    ASSERT_EQ(buffer.acceptEvent(endEvent()), Result::Ok);
    write(buffer, 8); // bytes after the event

    const std::uint8_t* span = nullptr;
    EXPECT_EQ(buffer.beginRead(8, span), Result::Ok) << "the bytes before the event come first";
    buffer.endRead(0);
    EXPECT_EQ(buffer.beginRead(9, span), Result::EventPending);
    ASSERT_EQ(buffer.beginRead(4, span), Result::Ok);
    buffer.endRead(4);
    EXPECT_EQ(buffer.beginRead(5, span), Result::EventPending);
    ASSERT_EQ(buffer.beginRead(4, span), Result::Ok);
    buffer.endRead(4);
    EXPECT_EQ(buffer.beginRead(1, span), Result::EventPending) << "at the event's position";

    const auto event = buffer.takeEvent();
    ASSERT_TRUE(event);
    EXPECT_EQ(event->kind, StreamEventKind::EndOfStreamEvent);
    EXPECT_FALSE(buffer.takeEvent());
    EXPECT_EQ(buffer.beginRead(8, span), Result::Ok);
    buffer.endRead(8);
}

TEST(EventStreamBuffer, FormatEventCarriesItsFormatAndEventsKeepTheirOrder) {
    EventStreamBuffer buffer(64, 0);
    PcmFormat format{16, 1, 22050, 1152, 576};
    ASSERT_EQ(buffer.acceptEvent(StreamEvent{StreamEventKind::FormatEvent, format, false}), Result::Ok);
    write(buffer, 16);
    ASSERT_EQ(buffer.acceptEvent(endEvent()), Result::Ok);
    const std::uint8_t* span = nullptr;
    EXPECT_EQ(buffer.beginRead(1, span), Result::EventPending);
    const auto first = buffer.takeEvent();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->kind, StreamEventKind::FormatEvent);
    EXPECT_EQ(first->format, format);
    EXPECT_EQ(buffer.beginRead(16, span), Result::Ok);
    buffer.endRead(16);
    EXPECT_EQ(buffer.beginRead(1, span), Result::EventPending);
}

TEST(EventStreamBuffer, EventInAFullRingComesAfterAllTheBytesBeforeIt) {
    // Read and write index are equal in a full ring; the event still belongs after the bytes.
    EventStreamBuffer buffer(32, 0);
    write(buffer, 16);
    const std::uint8_t* span = nullptr;
    ASSERT_EQ(buffer.beginRead(16, span), Result::Ok);
    buffer.endRead(16);
    write(buffer, 16);
    write(buffer, 16);
    ASSERT_EQ(buffer.acceptEvent(endEvent()), Result::Ok);
    EXPECT_EQ(buffer.beginRead(32, span), Result::Ok);
    buffer.endRead(32);
    EXPECT_EQ(buffer.beginRead(1, span), Result::EventPending);
}

TEST(EventStreamBuffer, AcceptEventWaitsForTheWriteInProgress) {
    EventStreamBuffer buffer(64, 0);
    std::uint8_t* span = nullptr;
    ASSERT_EQ(buffer.beginWrite(8, span), Result::Ok);
    auto accepted = std::async(std::launch::async, [&] { return buffer.acceptEvent(endEvent()); });
    EXPECT_EQ(accepted.wait_for(50ms), std::future_status::timeout);
    buffer.endWrite(8);
    EXPECT_EQ(accepted.get(), Result::Ok);
    const std::uint8_t* readSpan = nullptr;
    EXPECT_EQ(buffer.beginRead(8, readSpan), Result::Ok) << "the event lies after the committed bytes";
    buffer.endRead(8);
}

TEST(EventStreamBuffer, WaitingCallsReturnInterruptedOnTeardown) {
    EventStreamBuffer buffer(64, 0);
    write(buffer, 8);
    std::uint8_t* writeSpan = nullptr;
    const std::uint8_t* readSpan = nullptr;
    ASSERT_EQ(buffer.beginWrite(8, writeSpan), Result::Ok);
    ASSERT_EQ(buffer.beginRead(4, readSpan), Result::Ok);
    auto accepted = std::async(std::launch::async, [&] { return buffer.acceptEvent(endEvent()); });
    auto read = std::async(std::launch::async, [&] {
        const std::uint8_t* span = nullptr;
        return buffer.beginRead(4, span);
    });
    EXPECT_EQ(accepted.wait_for(20ms), std::future_status::timeout);
    buffer.interrupt();
    EXPECT_EQ(accepted.get(), Result::Interrupted);
    EXPECT_EQ(read.get(), Result::Interrupted);
}

} // namespace
} // namespace vostrel::audio
