#include "audio/file_input_stage.h"

#include <algorithm>
#include <cstring>

#include "audio/stream_search.h"

namespace vostrel::audio {

namespace {

Result openError(platform::FileOpenError error) {
    switch (error) {
    case platform::FileOpenError::NotFound: return Result::FileNotFound;
    case platform::FileOpenError::AccessDenied: return Result::AccessDenied;
    case platform::FileOpenError::InvalidName: return Result::InvalidName;
    case platform::FileOpenError::TooManyOpenFiles: return Result::TooManyOpenFiles;
    case platform::FileOpenError::Other: return Result::OpenFailed;
    }
    return Result::OpenFailed;
}

} // namespace

FileInputStage::~FileInputStage() {
    shutdown();
    if (buffer_) buffer_->interrupt();
    { const std::lock_guard lock(mutex_); } // a seeker sees the quit flag or gets the notice
    seekDone_.notify_all();
    thread_.join();
}

void FileInputStage::setConsumer(PipelineStage* consumer) {
    const std::lock_guard lock(mutex_);
    consumer_ = consumer;
}

Result FileInputStage::open(std::string_view fileName, std::string_view passPhrase) {
    fileName_ = std::string(fileName);
    passPhrase_ = std::string(passPhrase);
    {
        const std::lock_guard lock(mutex_);
        buffer_ = std::make_unique<StreamBuffer>(kRingBytes, kOverflowBytes);
    }
    if (const Result opened = openFile(); opened != Result::Ok) {
        reportError(opened);
        return opened;
    }
    // The first piece is read here, before the reader thread exists: the decoder then finds
    // the stream without first waking the reader and waiting for it, two thread switches
    // fewer before the first sound.
    readPiece(*buffer_);
    if (!thread_.create([this] { readerThread(); })) {
        reportError(Result::ReaderThreadFailed);
        return Result::ReaderThreadFailed;
    }
    return Result::Ok;
}

Result FileInputStage::openFile() {
    platform::FileOpenError error = platform::FileOpenError::Other;
    file_ = platform::openFileForReading(fileName_, error);
    if (!file_) return openError(error);

    dataLength_ = file_->size();
    if (dataLength_ >= kTagTrailerBytes) {
        std::uint8_t trailer[3] = {};
        if (file_->seek(dataLength_ - kTagTrailerBytes) && file_->read(trailer, sizeof trailer) == sizeof trailer &&
            std::memcmp(trailer, "TAG", sizeof trailer) == 0) {
            dataLength_ -= kTagTrailerBytes;
        }
    }
    std::uint8_t first[kId3HeaderBytes] = {};
    const bool headRead = file_->seek(0) && file_->read(first, kId3HeaderBytes) == kId3HeaderBytes;
    streamStart_ = headRead ? streamStartAfterId3(first) : 0;
    position_ = std::min(streamStart_, dataLength_);
    return file_->seek(position_) ? Result::Ok : Result::OpenFailed;
}

Result FileInputStage::seekTo(std::uint64_t offset, const PipelineStage& requester) {
    std::unique_lock lock(mutex_);
    seekResult_.reset();
    seekRequest_ = offset;
    lock.unlock();
    wake();
    lock.lock();
    // The reader may be paused for a teardown that also stops the requester, and then never
    // comes: either quit flag ends the wait (both are notified, see the destructor and
    // requesterQuitting); the timeout is only a safety net.
    while (!seekResult_ && !quitting() && !requester.quitting()) {
        seekDone_.wait_for(lock, std::chrono::milliseconds(10));
    }
    if (!seekResult_) return Result::Interrupted;
    return *seekResult_;
}

void FileInputStage::requesterQuitting() {
    // The requester's quit flag is already set: a seekTo() that looked at it before this lock
    // is waiting by now and gets the notice; one that looks after it sees the flag.
    { const std::lock_guard lock(mutex_); }
    seekDone_.notify_all();
}

void FileInputStage::performSeek() {
    std::uint64_t offset = 0;
    {
        const std::lock_guard lock(mutex_);
        if (!seekRequest_) return;
        offset = *seekRequest_;
        seekRequest_.reset();
    }
    Result result = Result::Ok;
    if (offset > dataLength_) {
        result = Result::SeekFailed;
    } else {
        if (!file_->seek(offset)) {
            result = Result::SeekFailed;
        } else {
            position_ = offset;
            if (buffer_->clear() != Result::Ok) result = Result::Interrupted;
        }
    }
    {
        const std::lock_guard lock(mutex_);
        seekResult_ = result;
    }
    seekDone_.notify_all();
}

void FileInputStage::readerThread() {
    if (waitForWake()) return;
    StreamBuffer& buffer = *buffer_;
    while (!quitting()) {
        performSeek();
        if (buffer.endOfStream()) {
            if (waitForWake()) return;
            continue;
        }
        if (paused()) {
            if (waitForResume()) return;
            continue;
        }
        const Result read = readPiece(buffer);
        if (read == Result::Interrupted) return;
        if (read == Result::BufferFull) {
            if (waitForWake()) return;
            continue;
        }
        // Under the mutex, so that once setConsumer(nullptr) has returned no wake is under way
        // into a consumer that is being destroyed.
        const std::lock_guard lock(mutex_);
        if (consumer_) consumer_->wake();
    }
}

Result FileInputStage::readPiece(StreamBuffer& buffer) {
    std::uint8_t* span = nullptr;
    const Result begun = buffer.beginWrite(kReadBytes, span);
    if (begun != Result::Ok) return begun;
    // Never past the data: a "TAG" trailer is not part of the stream.
    const std::uint64_t want = std::min<std::uint64_t>(kReadBytes, dataLength_ - std::min(position_, dataLength_));
    std::size_t got = 0;
    if (want > 0) got = file_->read(span, static_cast<std::size_t>(want));
    buffer.endWrite(got);
    position_ += got;
    if (got < kReadBytes) buffer.setEndOfStream(true);
    return Result::Ok;
}

} // namespace vostrel::audio
