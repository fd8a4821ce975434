#include "audio/stream_buffer.h"

#include <algorithm>
#include <cstring>

namespace vostrel::audio {

StreamBuffer::StreamBuffer(std::size_t ringSize, std::size_t overflowSize)
    : storage_(ringSize + overflowSize), ring_(ringSize), overflow_(overflowSize) {}

StreamBuffer::~StreamBuffer() { interrupt(); }

std::size_t StreamBuffer::freeContiguous() const {
    if (held_ == 0) return ring_ - writeIndex_ + overflow_;
    if (readIndex_ < writeIndex_) return ring_ - writeIndex_ + std::min(readIndex_, overflow_);
    if (readIndex_ > writeIndex_) return readIndex_ - writeIndex_;
    return 0; // indices equal and bytes held: full
}

Result StreamBuffer::beginWrite(std::size_t n, std::uint8_t*& span) {
    const std::lock_guard lock(mutex_);
    if (exit_) return Result::Interrupted;
    if (n > freeContiguous()) return Result::BufferFull;
    writeInProgress_ = n;
    span = storage_.data() + writeIndex_;
    return Result::Ok;
}

void StreamBuffer::endWrite(std::size_t n) {
    {
        const std::lock_guard lock(mutex_);
        n = std::min(n, writeInProgress_);
        if (writeIndex_ + n > ring_) {
            // The part written into the overflow area belongs at the ring's start.
            std::memcpy(storage_.data(), storage_.data() + ring_, writeIndex_ + n - ring_);
        }
        held_ += n;
        written_ += n;
        writeIndex_ = (writeIndex_ + n) % ring_;
        writeInProgress_ = 0;
    }
    idle_.notify_all();
}

Result StreamBuffer::beginRead(std::size_t n, const std::uint8_t*& span) {
    const std::lock_guard lock(mutex_);
    return beginReadLocked(n, span);
}

Result StreamBuffer::beginReadLocked(std::size_t n, const std::uint8_t*& span) {
    if (exit_) return Result::Interrupted;
    if (held_ < n) return endOfStream_ ? Result::EndOfStream : Result::NoData;
    if (overflow_ != 0 && readIndex_ + n > ring_) {
        const std::size_t past = readIndex_ + n - ring_;
        if (past > overflow_) return Result::OverflowTooSmall;
        std::memcpy(storage_.data() + ring_, storage_.data(), past);
    }
    readInProgress_ = std::max<std::size_t>(n, 1);
    span = storage_.data() + readIndex_;
    return Result::Ok;
}

void StreamBuffer::endRead(std::size_t n) {
    {
        const std::lock_guard lock(mutex_);
        n = std::min(n, held_);
        held_ -= n;
        read_ += n;
        readIndex_ = (readIndex_ + n) % ring_;
        readInProgress_ = 0;
    }
    idle_.notify_all();
}

const std::uint8_t* StreamBuffer::readAhead(std::size_t offset) const {
    const std::lock_guard lock(mutex_);
    return storage_.data() + (readIndex_ + offset) % ring_;
}

Result StreamBuffer::clear() {
    std::unique_lock lock(mutex_);
    if (!waitUntilIdle(lock, [&] { return readInProgress() || writeInProgress(); })) return Result::Interrupted;
    held_ = 0;
    readIndex_ = writeIndex_ = 0;
    read_ = written_;
    endOfStream_ = false;
    return Result::Ok;
}

Result StreamBuffer::resize(std::size_t ringSize, std::size_t overflowSize) {
    std::unique_lock lock(mutex_);
    if (exit_) return Result::Interrupted;
    if (held_ > ringSize) return Result::BufferFull;
    if (readIndex_ != 0) return Result::ResizeRefused;
    if (!waitUntilIdle(lock, [&] { return readInProgress() || writeInProgress(); })) return Result::Interrupted;
    if (readIndex_ != 0) return Result::ResizeRefused; // a read finished while we waited
    std::vector<std::uint8_t> storage(ringSize + overflowSize);
    std::memcpy(storage.data(), storage_.data(), held_);
    storage_ = std::move(storage);
    ring_ = ringSize;
    overflow_ = overflowSize;
    writeIndex_ = held_ % ring_;
    return Result::Ok;
}

void StreamBuffer::setEndOfStream(bool ended) {
    const std::lock_guard lock(mutex_);
    endOfStream_ = ended;
}

bool StreamBuffer::endOfStream() const {
    const std::lock_guard lock(mutex_);
    return endOfStream_;
}

void StreamBuffer::interrupt() {
    {
        const std::lock_guard lock(mutex_);
        exit_ = true;
    }
    idle_.notify_all();
}

std::size_t StreamBuffer::bytesHeld() const {
    const std::lock_guard lock(mutex_);
    return held_;
}

std::size_t StreamBuffer::ringSize() const {
    const std::lock_guard lock(mutex_);
    return ring_;
}

} // namespace vostrel::audio
