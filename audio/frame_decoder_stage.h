#pragma once
// The middle stage of a pipeline: finds the MPEG audio stream in the reader's bytes (three
// consistent headers, optional Xing header), then decodes it frame by frame on its decoder
// thread into 16-bit PCM blocks, one block per frame, in an EventStreamBuffer. The PCM format
// is queued as an event before the first block and the end of the stream after the last.
// Bad frames are skipped by resynchronising; at the end of the data every complete frame
// that remains is decoded and only an incomplete final frame is dropped.
//
// Contract
// - attach() runs on the opening thread after the input stage has opened; the decoder thread
//   then waits for its first wake (given by the consumer when it starts). The input stage
//   must outlive this stage (the output stage destroys the decoder first).
// - setStartPosition() before the first wake; the thread uses it once.
// - The destructor stops and joins the decoder thread; the consumer must no longer read the
//   output buffer by then (the output stage joins its thread first).
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "audio/event_stream_buffer.h"
#include "audio/file_input_stage.h"
#include "audio/mpeg_frame_decoder.h"
#include "audio/pipeline_stage.h"
#include "audio/player_entry_table.h"
#include "audio/stream_search.h"

namespace vostrel::audio {

class FrameDecoderStage : public PipelineStage {
public:
    static constexpr std::size_t kInitialRingBytes = 64512;
    // What the frame loop and resynchronising read at once. A longer frame is then read whole.
    static constexpr std::size_t kFrameReadBytes = kLongestFrameBytes;
    static constexpr std::size_t kRingLimit = 524288;
    // The consumer is woken for each of the first blocks (so that sound starts at once), then
    // for every kBlocksPerWake-th, and before this thread sleeps with blocks it has not yet
    // woken the consumer for: so the consumer never has to look on its own.
    static constexpr std::int64_t kPromptBlocks = 4;
    static constexpr std::int64_t kBlocksPerWake = 8;

    FrameDecoderStage(PlayerEventSink* owner, ProgressWindow* window) : PipelineStage(owner), window_(window) {}
    ~FrameDecoderStage() override;

    // Takes the input stage's buffer as input, creates the output buffer and starts the
    // decoder thread (DecoderThreadFailed if it cannot). `consumer` is woken when blocks or
    // events have been written.
    Result attach(FileInputStage& input, PipelineStage* consumer);

    // Where to start, in percent of the file; 0 starts at the beginning.
    void setStartPosition(int percent);

    EventStreamBuffer* buffer() { return output_.get(); }

    // Frames in the file, from the Xing header or the data length; -1 until known.
    std::int64_t totalFrames() const { return totalFrames_.load(); }

private:
    // The decoder thread's steps. Each returns false, or Step::Stop, when the thread ends.
    void decoderThread();
    bool startStream(); // finds the stream, starts the frame decoder, queues the format
    bool applyStartPosition();
    Step decodeNextFrame();
    Step skipBadFrame(); // after a frame that cannot be decoded: resynchronise, restart
    void commitFrame(std::uint8_t* block, const MpegFrameDecoder::Decoded& decoded);
    Result readInput(std::size_t n, const std::uint8_t*& span, std::size_t& available, bool& atEnd);
    Result findStream(StreamStart& start);
    Result resynchronise();
    // The frame at the read index, whole however long its header says it is. `length` is 0
    // when no frame of the stream starts there; more than `available` only at the end of
    // the data, for a frame cut short.
    Result readFrame(const std::uint8_t*& frame, std::size_t& available, std::size_t& length);
    Result seek(int percent);
    // The frame at span[0] if it continues the stream; its length (with padding) or 0.
    std::size_t frameLengthAt(const std::uint8_t* span, std::size_t available) const;
    void postProgress();
    // The end-of-stream event; damaged when the stream broke off at a frame it could not decode.
    void endStream(bool damaged = false);
    void wakeConsumer();
    // Wakes the consumer for the blocks written since its last wake and the reader when its
    // next piece fits, then sleeps until woken; returns the quit flag.
    bool sleepUntilWoken();

    ProgressWindow* window_;
    FileInputStage* inputStage_ = nullptr;
    PipelineStage* consumer_ = nullptr;
    std::unique_ptr<EventStreamBuffer> output_;
    MpegFrameDecoder decoder_;

    // Decoder thread only, apart from totalFrames_, which any thread may read.
    FrameHeader header_;
    int frameLength_ = 0; // without padding
    std::optional<XingInfo> xing_;
    std::atomic<std::int64_t> totalFrames_{-1};
    std::int64_t framesDecoded_ = 0;
    int startPercent_ = 0; // under mutex_
    int lastProgress_ = -1;
    std::size_t blockBytes_ = 0;
    std::int64_t blocksWritten_ = 0;
    std::int64_t blocksAnnounced_ = 0; // blocksWritten_ at the consumer's last wake
};

} // namespace vostrel::audio
