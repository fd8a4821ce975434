#pragma once
// A StreamBuffer that also carries in-band events at exact positions of the byte stream: the
// decoder queues the PCM format before the first block and the end of the stream after the
// last, and the consumer meets each event exactly where it was queued.
//
// Contract: as StreamBuffer. acceptEvent is called by the producer, takeEvent and beginRead by
// the consumer.
#include <deque>
#include <optional>

#include "audio/pcm_format.h"
#include "audio/stream_buffer.h"

namespace vostrel::audio {

enum class StreamEventKind { FormatEvent = 0, EndOfStreamEvent = 3 };

struct StreamEvent {
    StreamEventKind kind = StreamEventKind::EndOfStreamEvent;
    PcmFormat format;     // for FormatEvent
    bool damaged = false; // for EndOfStreamEvent: the stream broke off at a damaged frame
};

class EventStreamBuffer : public StreamBuffer {
public:
    using StreamBuffer::StreamBuffer;

    // Queues the event at the position of the next byte to be written (after any write in
    // progress has been committed).
    Result acceptEvent(const StreamEvent& event);
    // The first queued event, removed from the queue, or none.
    std::optional<StreamEvent> takeEvent();

    // EventPending when the first queued event lies inside the requested span, that is before
    // the n-th byte from the read index; otherwise as StreamBuffer::beginRead. Bytes written
    // before an event are always readable before it is reported.
    Result beginRead(std::size_t n, const std::uint8_t*& span);

    std::size_t eventsQueued() const;

private:
    struct Queued {
        StreamEvent event;
        std::uint64_t position;
    };
    std::deque<Queued> events_;
};

} // namespace vostrel::audio
