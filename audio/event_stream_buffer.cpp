#include "audio/event_stream_buffer.h"

namespace vostrel::audio {

Result EventStreamBuffer::acceptEvent(const StreamEvent& event) {
    std::unique_lock lock(mutex_);
    if (!waitUntilIdle(lock, [&] { return writeInProgress(); })) return Result::Interrupted;
    events_.push_back({event, writtenLocked()});
    return Result::Ok;
}

std::optional<StreamEvent> EventStreamBuffer::takeEvent() {
    const std::lock_guard lock(mutex_);
    if (events_.empty()) return std::nullopt;
    StreamEvent event = events_.front().event;
    events_.pop_front();
    return event;
}

Result EventStreamBuffer::beginRead(std::size_t n, const std::uint8_t*& span) {
    std::unique_lock lock(mutex_);
    if (!waitUntilIdle(lock, [&] { return readInProgress(); })) return Result::Interrupted;
    // An event at the read index, or anywhere before the end of the requested span, comes first.
    if (!events_.empty() && events_.front().position < readLocked() + n) return Result::EventPending;
    return beginReadLocked(n, span);
}

std::size_t EventStreamBuffer::eventsQueued() const {
    const std::lock_guard lock(mutex_);
    return events_.size();
}

} // namespace vostrel::audio
