#include "audio/frame_decoder_stage.h"

#include <algorithm>
#include <cstring>

namespace vostrel::audio {

FrameDecoderStage::~FrameDecoderStage() {
    // The reader outlives this stage for a moment; it must not wake it any more.
    if (inputStage_) inputStage_->setConsumer(nullptr);
    shutdown();
    // A seek under way waits for the reader, which the teardown has paused: the quit flag just
    // set ends that wait.
    if (inputStage_) inputStage_->requesterQuitting();
    if (output_) output_->interrupt();
    thread_.join();
}

Result FrameDecoderStage::attach(FileInputStage& input, PipelineStage* consumer) {
    if (!input.buffer()) return Result::NoInput;
    {
        const std::lock_guard lock(mutex_);
        inputStage_ = &input;
        consumer_ = consumer;
        output_ = std::make_unique<EventStreamBuffer>(kInitialRingBytes, 0);
    }
    setInput(input.buffer());
    input.setConsumer(this);
    if (!thread_.create([this] { decoderThread(); })) return Result::DecoderThreadFailed;
    return Result::Ok;
}

void FrameDecoderStage::setStartPosition(int percent) {
    const std::lock_guard lock(mutex_);
    startPercent_ = percent;
}

void FrameDecoderStage::wakeConsumer() {
    blocksAnnounced_ = blocksWritten_;
    if (consumer_) consumer_->wake();
}

bool FrameDecoderStage::sleepUntilWoken() {
    if (blocksWritten_ != blocksAnnounced_) wakeConsumer();
    if (input()->bytesHeld() + FileInputStage::kReadBytes <= FileInputStage::kRingBytes) inputStage_->wake();
    return waitForWake();
}

Result FrameDecoderStage::readInput(std::size_t n, const std::uint8_t*& span, std::size_t& available, bool& atEnd) {
    StreamBuffer& in = *input();
    atEnd = false;
    for (;;) {
        const Result r = in.beginRead(n, span);
        if (r == Result::Ok) {
            available = n;
            return r;
        }
        if (r == Result::NoData) {
            if (sleepUntilWoken()) return Result::Interrupted; // which wakes the reader
            continue;
        }
        if (r == Result::EndOfStream) {
            // The tail of the stream is shorter than asked for: hand out what is left, so
            // the last frames are heard too.
            const std::size_t held = in.bytesHeld();
            if (held == 0) return Result::EndOfStream;
            const Result rest = in.beginRead(held, span);
            if (rest != Result::Ok) return rest;
            available = held;
            atEnd = true;
            return rest;
        }
        return r;
    }
}

Result FrameDecoderStage::findStream(StreamStart& start) {
    StreamBuffer& in = *input();
    for (int attempt = 0; attempt < kStreamSearchAttempts; ++attempt) {
        const std::uint8_t* span = nullptr;
        std::size_t available = 0;
        bool atEnd = false;
        const Result r = readInput(kStreamSearchBytes, span, available, atEnd);
        if (r != Result::Ok) return r;
        const auto found = findStreamStart(span, available);
        in.endRead(0);
        if (found) {
            start = *found;
            return Result::Ok;
        }
        if (const Result skipped = resynchronise(); skipped != Result::Ok) return skipped;
    }
    return Result::NoFrameSync;
}

Result FrameDecoderStage::resynchronise() {
    StreamBuffer& in = *input();
    for (;;) {
        const std::uint8_t* span = nullptr;
        std::size_t available = 0;
        bool atEnd = false;
        const Result r = readInput(kFrameReadBytes, span, available, atEnd);
        if (r != Result::Ok) return r;
        if (const auto sync = findSync(span, available, 1)) {
            in.endRead(*sync);
            return Result::Ok;
        }
        // Keep the last byte: it may be the first half of a sync.
        in.endRead(available > 1 ? available - 1 : available);
        inputStage_->wake();
    }
}

Result FrameDecoderStage::readFrame(const std::uint8_t*& frame, std::size_t& available, std::size_t& length) {
    bool atEnd = false;
    const Result r = readInput(kFrameReadBytes, frame, available, atEnd);
    if (r != Result::Ok) return r;
    length = frameLengthAt(frame, available);
    if (length <= available || atEnd) return r;
    // A frame longer than one read: ask again for all of it.
    input()->endRead(0);
    return readInput(length, frame, available, atEnd);
}

std::size_t FrameDecoderStage::frameLengthAt(const std::uint8_t* span, std::size_t available) const {
    if (available < kFrameHeaderBytes) return 0;
    const auto header = parseFrameHeader(span);
    if (!header || !header->sameStreamAs(header_)) return 0;
    const int length =
        header->freeFormat() ? (header_.freeFormat() ? frameLength_ : 0) : header->frameLengthWithoutPadding();
    if (length <= 0) return 0;
    return static_cast<std::size_t>(length + header->paddingBytes());
}

Result FrameDecoderStage::seek(int percent) {
    percent = std::clamp(percent, 0, 100);
    const std::uint64_t dataLength = inputStage_->dataLength();
    std::uint64_t offset = 0;
    if (xing_ && (xing_->flags & XingInfo::HasToc)) {
        const int i = std::min(percent, 99);
        const std::uint64_t here = xing_->toc[static_cast<std::size_t>(i)];
        const std::uint64_t next = i < 99 ? xing_->toc[static_cast<std::size_t>(i) + 1] : 256;
        const std::uint64_t entry = here + static_cast<std::uint64_t>(percent - i) * (next - here);
        offset = entry * dataLength / 256;
        const std::int64_t frames =
            (xing_->flags & XingInfo::HasFrames) ? xing_->frameCount : std::max<std::int64_t>(totalFrames_, 0);
        framesDecoded_ = percent * frames / 100;
    } else {
        framesDecoded_ = static_cast<std::int64_t>(static_cast<std::uint64_t>(percent) * dataLength /
                                                   static_cast<std::uint64_t>(frameLength_) / 100);
        offset = static_cast<std::uint64_t>(framesDecoded_) * static_cast<std::uint64_t>(frameLength_);
    }
    // Never into the ID3 tag: its bytes would be searched for frames.
    offset = std::max(offset, inputStage_->streamStart());
    return inputStage_->seekTo(offset, *this);
}

void FrameDecoderStage::postProgress() {
    if (!window_ || !window_->exists()) return;
    const std::int64_t total = totalFrames_;
    const std::int64_t percent = total > 0 ? std::clamp<std::int64_t>(framesDecoded_ * 100 / total, 0, 99) : 0;
    if (percent == lastProgress_) return;
    lastProgress_ = static_cast<int>(percent);
    window_->postProgress(lastProgress_);
}

void FrameDecoderStage::endStream(bool damaged) {
    output_->acceptEvent(StreamEvent{StreamEventKind::EndOfStreamEvent, {}, damaged});
    wakeConsumer();
}

bool FrameDecoderStage::startStream() {
    StreamStart start;
    if (const Result found = findStream(start); found != Result::Ok) {
        reportUnlessInterrupted(found);
        return false;
    }
    header_ = start.header;
    frameLength_ = start.frameLength;
    xing_ = start.xing;
    const std::uint64_t dataLength = inputStage_->dataLength();
    if (xing_ && (xing_->flags & XingInfo::HasFrames)) {
        totalFrames_ = xing_->frameCount;
    } else {
        totalFrames_ =
            dataLength == 0 ? -1 : static_cast<std::int64_t>(dataLength / static_cast<std::uint64_t>(frameLength_));
    }

    if (!decoder_.initialise(header_, frameLength_)) {
        reportError(Result::DecoderInitFailed);
        return false;
    }
    const MpegFrameDecoder::Info info = decoder_.info();
    PcmFormat format;
    format.bitsPerSample = info.bitsPerSample;
    format.channels = info.channels;
    format.sampleRate = info.sampleRate;
    format.samplesPerFrame = header_.layer == 3 && header_.version() != MpegVersion::Mpeg1 ? 576 : 1152;
    format.blockBytes =
        static_cast<std::uint32_t>(format.channels * (format.bitsPerSample / 8) * format.samplesPerFrame);
    blockBytes_ = format.blockBytes;

    EventStreamBuffer& out = *output_;
    if (const Result resized = out.resize(kRingLimit - kRingLimit % blockBytes_, 0); resized != Result::Ok) {
        reportUnlessInterrupted(resized);
        return false;
    }
    if (out.acceptEvent(StreamEvent{StreamEventKind::FormatEvent, format, false}) != Result::Ok) return false;
    wakeConsumer();
    return true;
}

bool FrameDecoderStage::applyStartPosition() {
    framesDecoded_ = 0;
    int startPercent = 0;
    {
        const std::lock_guard lock(mutex_);
        startPercent = startPercent_;
        startPercent_ = 0;
    }
    return startPercent == 0 || seek(startPercent) != Result::Interrupted;
}

FrameDecoderStage::Step FrameDecoderStage::decodeNextFrame() {
    EventStreamBuffer& out = *output_;
    std::uint8_t* block = nullptr;
    const Result writable = out.beginWrite(blockBytes_, block);
    if (writable == Result::Interrupted) return Step::Stop;
    if (writable == Result::BufferFull) return sleepUntilWoken() ? Step::Stop : Step::Again;
    if (writable != Result::Ok) {
        reportError(writable);
        return Step::Stop;
    }

    const std::uint8_t* frame = nullptr;
    std::size_t available = 0;
    std::size_t length = 0;
    const Result readable = readFrame(frame, available, length);
    if (readable != Result::Ok) {
        out.endWrite(0);
        if (readable == Result::EndOfStream)
            endStream();
        else
            reportUnlessInterrupted(readable);
        return Step::Stop;
    }
    if (length > available) {
        // Only at the end of the data: an incomplete final frame is dropped.
        input()->endRead(0);
        out.endWrite(0);
        endStream();
        return Step::Stop;
    }
    const MpegFrameDecoder::Decoded decoded =
        length == 0 ? MpegFrameDecoder::Decoded{} : decoder_.decode(frame, length, block, blockBytes_);
    if (decoded.consumed == 0) {
        input()->endRead(0);
        out.endWrite(0);
        return skipBadFrame();
    }
    commitFrame(block, decoded);
    return Step::Again;
}

FrameDecoderStage::Step FrameDecoderStage::skipBadFrame() {
    const Result synced = resynchronise();
    if (synced == Result::EndOfStream) {
        // Nothing playable followed the damaged frame: what was decoded still plays.
        endStream(true);
        return Step::Stop;
    }
    // The stream had started: losing it now is a damaged file, not one without audio.
    if (synced != Result::Ok) {
        reportUnlessInterrupted(synced == Result::NoFrameSync ? Result::DamagedFrame : synced);
        return Step::Stop;
    }
    if (!decoder_.initialise(header_, frameLength_)) {
        reportError(Result::DamagedFrame);
        return Step::Stop;
    }
    return Step::Again;
}

void FrameDecoderStage::commitFrame(std::uint8_t* block, const MpegFrameDecoder::Decoded& decoded) {
    StreamBuffer& in = *input();
    in.endRead(decoded.consumed);
    // Only once the reader has room for a few pieces: waking it for every frame, or for every
    // piece, would cost a thread switch each for nothing. Before this thread sleeps it tops
    // the ring up (sleepUntilWoken).
    if (in.bytesHeld() + FileInputStage::kRefillBytes <= FileInputStage::kRingBytes) inputStage_->wake();
    if (decoded.produced > 0) {
        // Whole blocks only: the output stage addresses the ring block by block.
        if (decoded.produced < blockBytes_) std::memset(block + decoded.produced, 0, blockBytes_ - decoded.produced);
        output_->endWrite(blockBytes_);
        // Waking the consumer for every block would cost a thread switch per frame: only the
        // first blocks and every few after them (the rest before this thread sleeps).
        if (++blocksWritten_ <= kPromptBlocks || blocksWritten_ % kBlocksPerWake == 0) wakeConsumer();
    } else {
        output_->endWrite(0);
    }
    ++framesDecoded_;
}

void FrameDecoderStage::decoderThread() {
    if (waitForWake()) return;
    inputStage_->wake();
    if (!startStream() || !applyStartPosition()) return;
    while (!quitting()) {
        postProgress();
        if (paused()) {
            if (waitForResume()) return;
            continue;
        }
        if (decodeNextFrame() == Step::Stop) return;
    }
}

} // namespace vostrel::audio
