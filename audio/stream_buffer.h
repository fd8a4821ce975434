#pragma once
// A ring buffer with an overflow area after the ring, through which one producer thread hands
// bytes to one consumer thread. Every read and every write is one contiguous span, so a frame
// can be parsed, or a PCM block handed to the audio device, in place:
// - a read that crosses the ring's end is completed by copying the ring's first bytes into
//   the overflow area (so the overflow size bounds how far a read may cross the end);
// - a write may run into the overflow area; committing it copies that part to the ring's start.
// With an overflow size of 0 nothing is copied: the consumer addresses bytes past the ring's
// end itself (readAhead), and the producer never asks for a span that crosses the end.
//
// Contract
// - Exactly one producer thread (beginWrite/endWrite, setEndOfStream) and one consumer thread
//   (beginRead/endRead); any thread may clear, resize or interrupt. Spans are used outside the
//   lock, so clear() and resize() wait until no read and no write is in progress.
// - beginX/endX come in pairs; endX commits at most the size begun (0 abandons the span).
// - interrupt() (also done by the destructor) makes every waiting and every later operation
//   return Interrupted; the owner interrupts before it joins the threads that use the buffer.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "audio/result.h"

namespace vostrel::audio {

class StreamBuffer {
public:
    StreamBuffer(std::size_t ringSize, std::size_t overflowSize);
    virtual ~StreamBuffer();
    StreamBuffer(const StreamBuffer&) = delete;
    StreamBuffer& operator=(const StreamBuffer&) = delete;

    // n contiguous free bytes at the write index: Ok, BufferFull or Interrupted.
    Result beginWrite(std::size_t n, std::uint8_t*& span);
    void endWrite(std::size_t n);

    // The n bytes at the read index, not consumed: Ok, EndOfStream (end flag set and fewer
    // than n held), NoData, OverflowTooSmall or Interrupted.
    Result beginRead(std::size_t n, const std::uint8_t*& span);
    void endRead(std::size_t n);

    // Address of the byte `offset` bytes after the read index, wrapped at the ring's end. Only
    // for bytes inside the span of the read in progress.
    const std::uint8_t* readAhead(std::size_t offset) const;

    // Empties the buffer and clears the end-of-stream flag once no read or write is in progress.
    Result clear();
    // New storage of ringSize + overflowSize bytes keeping the bytes held at its start: BufferFull
    // when more than ringSize bytes are held, ResizeRefused when the read index is not 0.
    Result resize(std::size_t ringSize, std::size_t overflowSize);

    void setEndOfStream(bool ended);
    bool endOfStream() const;
    void interrupt();

    std::size_t bytesHeld() const;
    std::size_t ringSize() const;

protected:
    // Total bytes committed and consumed since creation or the last clear; events are placed at
    // such stream positions, which stay unambiguous when the ring is full.
    std::uint64_t writtenLocked() const { return written_; }
    std::uint64_t readLocked() const { return read_; }
    Result beginReadLocked(std::size_t n, const std::uint8_t*& span);
    // Waits, under `lock`, until nothing `busy` says is in progress; false once interrupted.
    template <class Busy>
    bool waitUntilIdle(std::unique_lock<std::mutex>& lock, Busy busy) {
        idle_.wait(lock, [&] { return exit_ || !busy(); });
        return !exit_;
    }
    bool readInProgress() const { return readInProgress_ != 0; }
    bool writeInProgress() const { return writeInProgress_ != 0; }

    mutable std::mutex mutex_;

private:
    std::size_t freeContiguous() const;

    std::condition_variable idle_;
    std::vector<std::uint8_t> storage_;
    std::size_t ring_;
    std::size_t overflow_;
    bool exit_ = false;
    std::size_t held_ = 0;
    std::size_t readIndex_ = 0;
    std::size_t writeIndex_ = 0;
    bool endOfStream_ = false;
    std::size_t writeInProgress_ = 0;
    std::size_t readInProgress_ = 0;
    std::uint64_t written_ = 0;
    std::uint64_t read_ = 0;
};

} // namespace vostrel::audio
