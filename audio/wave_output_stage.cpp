#include "audio/wave_output_stage.h"

#include <chrono>
#include <thread>

namespace vostrel::audio {

namespace {
using namespace std::chrono_literals;
constexpr auto kIdle = 1ms;         // poll step while the decoder has nothing ready
constexpr auto kHeaderWait = 10ms;  // longest wait for a header between quit checks
constexpr auto kCloseRetry = 100ms; // while a device still plays at close
} // namespace

WaveOutputStage::WaveOutputStage(PlayerEventSink* player, ProgressWindow* window, platform::WaveOutDriver& driver)
    : PipelineStage(player), driver_(driver), input_(std::make_unique<FileInputStage>(player)),
      decoder_(std::make_unique<FrameDecoderStage>(player, window)) {
    threadStarted_ = thread_.create([this] { outputThread(); });
}

WaveOutputStage::~WaveOutputStage() {
    shutdown();
    { const std::lock_guard lock(headerMutex_); }
    headerReturned_.notify_all();
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
    decoder_->pause();
    input_->pause();
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
    {
        const std::lock_guard lock(headerMutex_);
        if (cookie < headers_.size() && headers_[cookie].state == HeaderState::Queued) {
            headers_[cookie].state = HeaderState::Returned;
        }
    }
    headerReturned_.notify_all();
    // A returned block frees room in the ring: the output thread may now send a block the
    // decoder wrote meanwhile without waking it. Waking it here keeps playback moving on the
    // device's own pace instead of on the idle poll's timeout.
    wake();
}

void WaveOutputStage::reclaimLocked() {
    // Only the header with the next sequence number is released, so blocks leave the ring
    // strictly in the order they were written.
    for (bool found = true; found;) {
        found = false;
        for (Header& header : headers_) {
            if (header.state != HeaderState::Returned || header.sequence != reclaimed_ + 1) continue;
            const std::uint8_t* span = nullptr;
            if (buffer_->StreamBuffer::beginRead(blockBytes_, span) == Result::Ok) buffer_->endRead(blockBytes_);
            outstanding_ -= blockBytes_;
            header = Header{};
            ++reclaimed_;
            found = true;
            break;
        }
    }
}

void WaveOutputStage::reclaim() {
    const std::lock_guard lock(headerMutex_);
    reclaimLocked();
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
        headers_.assign(blocks > 1 ? blocks - 1 : 1, Header{});
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

bool WaveOutputStage::writeBlock(const std::uint8_t* block) {
    // Take a free header, waiting for the device to return one when all are queued.
    std::size_t index = 0;
    {
        std::unique_lock lock(headerMutex_);
        for (;;) {
            reclaimLocked();
            bool found = false;
            for (std::size_t i = 0; i < headers_.size(); ++i) {
                if (headers_[i].state == HeaderState::Free) {
                    index = i;
                    found = true;
                    break;
                }
            }
            if (found) break;
            if (quitting()) return false;
            headerReturned_.wait_for(lock, kHeaderWait);
        }
        headers_[index] = Header{block, HeaderState::Queued, ++issued_};
    }
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
    decoder_->wake();
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
        if (!openedBuffer()) { // resumed before a file was opened
            if (waitForWakeFor(kIdle)) return Step::Stop;
            continue;
        }
        const auto event = buffer_->takeEvent();
        if (!event) {
            decoder_->wake();
            if (waitForWakeFor(kIdle)) return Step::Stop;
            continue;
        }
        // No device: silence, and no event.
        if (event->kind == StreamEventKind::FormatEvent) return openDevice(event->format) ? Step::Again : Step::Stop;
    }
    return Step::Stop;
}

WaveOutputStage::Step WaveOutputStage::sendNextBlock() {
    std::size_t outstanding = 0;
    {
        const std::lock_guard lock(headerMutex_);
        outstanding = outstanding_;
    }
    const std::uint8_t* span = nullptr;
    const Result r = buffer_->beginRead(blockBytes_ + outstanding, span);
    if (r == Result::Ok) {
        // The next block lies `outstanding` bytes past the read index; the blocks before
        // it are at the device and stay in the ring until it returns them.
        const std::uint8_t* block = buffer_->readAhead(outstanding);
        buffer_->endRead(0);
        {
            const std::lock_guard lock(headerMutex_);
            outstanding_ += blockBytes_;
        }
        return writeBlock(block) ? Step::Again : Step::Stop;
    }
    if (r == Result::NoData) {
        decoder_->wake();
        reclaim(); // what has come back, without waiting
        return waitForWakeFor(kIdle) ? Step::Stop : Step::Again;
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
        // The quit flag and the returns are looked at and waited for under one lock:
        // the teardown sets the flag before it takes this lock to notify, and the
        // callback marks a return under it, so neither notice can come in between.
        std::unique_lock lock(headerMutex_);
        if (quitting()) return false;
        reclaimLocked();
        if (reclaimed_ == issued_) return true;
        headerReturned_.wait_for(lock, kIdle);
    }
}

} // namespace vostrel::audio
