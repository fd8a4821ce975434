#include "audio/wave_output_stage.h"

#include <chrono>
#include <thread>

namespace vostrel::audio {

namespace {
using namespace std::chrono_literals;
// Every wait of the output thread ends on the wake it waits for; this bound is only a safety
// net, longer than a batch of returns takes at any rate (8 blocks of 52 ms at 11025 Hz) and
// well inside the seconds of sound the ring holds.
constexpr auto kSafetyNet = 500ms;
constexpr auto kCloseRetry = 100ms; // while a device still plays at close
} // namespace

WaveOutputStage::WaveOutputStage(PlayerEventSink* player, ProgressWindow* window, platform::WaveOutDriver& driver)
    : PipelineStage(player), driver_(driver), input_(std::make_unique<FileInputStage>(player)),
      decoder_(std::make_unique<FrameDecoderStage>(player, window)) {
    threadStarted_ = thread_.create([this] { outputThread(); });
}

WaveOutputStage::~WaveOutputStage() {
    shutdown();
    // The decoder and the reader stop at once, while the ring they fill stays: a decoder still
    // filling the ring of a prompt that has just begun would hold a core through the device's
    // teardown and delay the threads that end it.
    decoder_->pause();
    input_->pause();
    thread_.join();

    {
        const std::lock_guard deviceLock(deviceMutex_);
        if (device_) {
            device_->reset(); // every queued header comes back through the callback
            {
                const std::lock_guard lock(headerMutex_);
                reclaimLocked();
            }
            while (device_->close() == platform::WaveOutResult::StillPlaying) std::this_thread::sleep_for(kCloseRetry);
            device_.reset();
        }
    }
    {
        const std::lock_guard lock(headerMutex_);
        headers_.clear();
    }
    // The device no longer touches the ring: now the decoder, then the reader.
    decoder_.reset();
    input_.reset();
}

Result WaveOutputStage::open(std::string_view fileName, std::string_view passPhrase) {
    {
        const std::lock_guard lock(mutex_);
        if (!threadStarted_) return Result::NotConnected;
        const Result opened = input_->open(fileName, passPhrase);
        if (opened != Result::Ok) return opened;
        const Result attached = decoder_->attach(*input_, this);
        if (attached != Result::Ok) {
            reportError(attached);
            return attached;
        }
        buffer_ = decoder_->buffer();
    }
    setInput(decoder_->buffer());
    wake(); // an output thread resumed before the file was opened looks again
    return Result::Ok;
}

EventStreamBuffer* WaveOutputStage::openedBuffer() const {
    const std::lock_guard lock(mutex_);
    return buffer_;
}

void WaveOutputStage::setStartPosition(int percent) {
    const std::lock_guard lock(mutex_);
    decoder_->setStartPosition(percent);
}

// The paused flag and the device change together under the device mutex, so a device that
// the output thread opens meanwhile starts in the state the stage is in.
void WaveOutputStage::pause() {
    const std::lock_guard lock(deviceMutex_);
    PipelineStage::pause();
    if (device_) device_->pause();
}

void WaveOutputStage::resume() {
    const std::lock_guard lock(deviceMutex_);
    if (device_) device_->restart();
    PipelineStage::resume();
}

void WaveOutputStage::onBufferDone(std::uintptr_t cookie) {
    bool awaited = false;
    {
        const std::lock_guard lock(headerMutex_);
        if (cookie < headers_.size() && headers_[cookie] == HeaderState::Queued) {
            headers_[cookie] = HeaderState::Returned;
            ++returned_;
        }
        awaited = returnsAwaitedLocked();
    }
    if (awaited) wake();
}

bool WaveOutputStage::returnsAwaitedLocked() const {
    // Only the oldest block's return lets anything be reclaimed (a device that returns out of
    // order must not make the thread spin).
    const bool oldestBack = reclaimed_ < issued_ &&
                            headers_[static_cast<std::size_t>(reclaimed_) % headers_.size()] == HeaderState::Returned;
    switch (awaiting_) {
    case Awaiting::Nothing: return false;
    case Awaiting::Header: return oldestBack;
    // A batch frees room for the decoder; the last block out must wake too, however few.
    case Awaiting::Room: return oldestBack && (returned_ - reclaimed_ >= kReturnsPerWake || returned_ == issued_);
    case Awaiting::Drain: return returned_ == issued_;
    }
    return true;
}

void WaveOutputStage::reclaimLocked() {
    // Only the header of the oldest block is looked at, so blocks leave the ring strictly in
    // the order they were written.
    std::int64_t blocks = 0;
    while (reclaimed_ + blocks < issued_) {
        HeaderState& header = headers_[static_cast<std::size_t>(reclaimed_ + blocks) % headers_.size()];
        if (header != HeaderState::Returned) break;
        header = HeaderState::Free;
        ++blocks;
    }
    if (blocks == 0) return;
    const std::size_t bytes = static_cast<std::size_t>(blocks) * blockBytes_;
    const std::uint8_t* span = nullptr;
    if (buffer_->StreamBuffer::beginRead(bytes, span) == Result::Ok) buffer_->endRead(bytes);
    outstanding_ -= bytes;
    reclaimed_ += blocks;
}

std::size_t WaveOutputStage::reclaim() {
    std::size_t outstanding = 0;
    std::int64_t reclaimed = 0;
    {
        const std::lock_guard lock(headerMutex_);
        reclaimLocked();
        outstanding = outstanding_;
        reclaimed = reclaimed_;
    }
    // The decoder may be waiting for room: a batch of blocks is worth waking it for. Counted
    // from its last wake, since a header's wait reclaims too (takeHeader).
    if (reclaimed != reclaimedAtDecoderWake_ &&
        buffer_->ringSize() - buffer_->bytesHeld() >= kRefillBlocks * blockBytes_) {
        reclaimedAtDecoderWake_ = reclaimed;
        decoder_->wake();
    }
    return outstanding;
}

bool WaveOutputStage::sleepAwaiting(Awaiting awaiting) {
    {
        // Set and looked at under the lock the done callback takes: a return before this is
        // seen here, one after it sees what the thread awaits and wakes it.
        const std::lock_guard lock(headerMutex_);
        awaiting_ = awaiting;
        if (returnsAwaitedLocked()) {
            awaiting_ = Awaiting::Nothing;
            return quitting();
        }
    }
    const bool quit = waitForWakeFor(kSafetyNet);
    const std::lock_guard lock(headerMutex_);
    awaiting_ = Awaiting::Nothing;
    return quit;
}

bool WaveOutputStage::openDevice(const PcmFormat& format) {
    platform::PcmWaveFormat wave;
    wave.channels = static_cast<std::uint16_t>(format.channels);
    wave.samplesPerSecond = static_cast<std::uint32_t>(format.sampleRate);
    wave.bitsPerSample = static_cast<std::uint16_t>(format.bitsPerSample);
    {
        const std::lock_guard lock(headerMutex_);
        blockBytes_ = format.blockBytes;
        const std::size_t blocks = buffer_->ringSize() / blockBytes_;
        headers_.assign(blocks > 1 ? blocks - 1 : 1, HeaderState::Free);
    }
    auto device = driver_.open(wave, [this](std::uintptr_t cookie) { onBufferDone(cookie); });
    if (!device) {
        noteDeviceUnavailable(driver_.lastOpenError());
        return false;
    }
    const std::lock_guard lock(deviceMutex_);
    device_ = std::move(device);
    if (paused()) device_->pause(); // paused before the format arrived
    return true;
}

bool WaveOutputStage::takeHeader(std::size_t& index) {
    for (;;) {
        {
            const std::lock_guard lock(headerMutex_);
            reclaimLocked();
            if (issued_ - reclaimed_ < static_cast<std::int64_t>(headers_.size())) {
                index = static_cast<std::size_t>(issued_) % headers_.size();
                headers_[index] = HeaderState::Queued;
                ++issued_;
                outstanding_ += blockBytes_;
                return true;
            }
        }
        if (sleepAwaiting(Awaiting::Header)) return false;
    }
}

bool WaveOutputStage::writeBlock(const std::uint8_t* block) {
    std::size_t index = 0;
    if (!takeHeader(index)) return false;
    platform::WaveOutResult written = platform::WaveOutResult::Failed;
    std::string reason;
    {
        const std::lock_guard lock(deviceMutex_);
        written = device_->write(block, blockBytes_, index);
        if (written != platform::WaveOutResult::Ok) reason = device_->lastError();
    }
    if (written != platform::WaveOutResult::Ok) {
        onBufferDone(index); // it never reached the device: count it as returned
        reportError(Result::DeviceFailed, std::move(reason));
        return false;
    }
    return true;
}

void WaveOutputStage::outputThread() {
    if (waitForResume() || awaitFormat() == Step::Stop) return;
    while (!quitting()) {
        if (paused()) {
            if (waitForResume()) return;
            continue;
        }
        if (sendNextBlock() == Step::Stop) return;
    }
}

WaveOutputStage::Step WaveOutputStage::awaitFormat() {
    while (!quitting()) {
        if (paused()) {
            if (waitForResume()) return Step::Stop;
            continue;
        }
        if (!openedBuffer()) { // resumed before a file was opened: open() wakes the thread
            if (waitForWakeFor(kSafetyNet)) return Step::Stop;
            continue;
        }
        const auto event = buffer_->takeEvent();
        if (!event) {
            decoder_->wake(); // its first wake; the FormatEvent comes with one for this thread
            if (waitForWakeFor(kSafetyNet)) return Step::Stop;
            continue;
        }
        // No device: silence, and no event.
        if (event->kind == StreamEventKind::FormatEvent) return openDevice(event->format) ? Step::Again : Step::Stop;
    }
    return Step::Stop;
}

WaveOutputStage::Step WaveOutputStage::sendNextBlock() {
    const std::size_t outstanding = reclaim();
    const std::uint8_t* span = nullptr;
    const Result r = buffer_->beginRead(blockBytes_ + outstanding, span);
    if (r == Result::Ok) {
        // The next block lies `outstanding` bytes past the read index; the blocks before
        // it are at the device and stay in the ring until it returns them.
        const std::uint8_t* block = buffer_->readAhead(outstanding);
        buffer_->endRead(0);
        return writeBlock(block) ? Step::Again : Step::Stop;
    }
    if (r == Result::NoData) {
        // The decoder wakes this thread once it has written blocks. With little room left in
        // the ring it may be waiting for room, which only the device's returns make.
        const bool roomy = buffer_->ringSize() - buffer_->bytesHeld() >= kRefillBlocks * blockBytes_;
        return sleepAwaiting(roomy ? Awaiting::Nothing : Awaiting::Room) ? Step::Stop : Step::Again;
    }
    if (r == Result::EventPending) return finishOnEndOfStream();
    reportUnlessInterrupted(r);
    return Step::Stop;
}

WaveOutputStage::Step WaveOutputStage::finishOnEndOfStream() {
    const auto event = buffer_->takeEvent();
    if (!event || event->kind != StreamEventKind::EndOfStreamEvent) return Step::Again;
    if (!drainDevice()) return Step::Stop;
    if (event->damaged)
        reportError(Result::DamagedFrame); // walks on like the end of the file, with its reason
    else
        post(PlayerEventCode::DoneOutputting);
    return Step::Stop;
}

bool WaveOutputStage::drainDevice() {
    // A pause meanwhile holds the wait; only the quit flag ends it without an event.
    for (;;) {
        if (paused()) {
            if (waitForResume()) return false;
            continue;
        }
        {
            // The quit flag closes the wake signal, so the teardown's notice cannot be missed.
            const std::lock_guard lock(headerMutex_);
            if (quitting()) return false;
            reclaimLocked();
            if (reclaimed_ == issued_) return true;
        }
        if (sleepAwaiting(Awaiting::Drain)) return false;
    }
}

} // namespace vostrel::audio
