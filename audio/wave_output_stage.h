#pragma once
// The last stage of a pipeline and the pipeline's handle (the player's engine). It owns the
// file input stage and the frame decoder. Its output thread opens the wave-out device on the
// decoder's FormatEvent, queues the decoder's PCM blocks on it in place, without copying,
// reclaims them strictly in the order written as the device returns them, and posts
// DoneOutputting once the device has returned the last block of the file.
//
// Wake-ups: the output thread sleeps on its wake signal until there is something to do. The
// decoder wakes it when it has written blocks (see FrameDecoderStage); the device's returns wake
// it only when it waits for them: for a free header, for the drain at the end, or for room in
// the ring once a batch of blocks has come back (kReturnsPerWake). The output thread wakes the
// decoder when a reclaim leaves room for a batch of blocks (kRefillBlocks). So while a prompt
// sounds each thread wakes a few times a second, not several times per block.
//
// Contract
// - open(), setStartPosition(), pause() and resume() are called by the player, one at a time.
// - The destructor is the engine's teardown; it returns once every thread of the pipeline has
//   ended and the device is closed (the order of its steps: audio/README.md).
// Locks: deviceMutex_ is held for every device call; headerMutex_, which the device's done
//   callback takes (possibly inside reset()), is never held across one. Their place in the
//   engine's lock order: audio/README.md.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "audio/event_stream_buffer.h"
#include "audio/file_input_stage.h"
#include "audio/frame_decoder_stage.h"
#include "audio/pipeline_stage.h"
#include "audio/player_entry_table.h"
#include "platform/wave_out.h"

namespace vostrel::audio {

class WaveOutputStage : public PipelineStage {
public:
    // Builds the pipeline; the output thread starts at once and waits for the first resume.
    WaveOutputStage(PlayerEventSink* player, ProgressWindow* window, platform::WaveOutDriver& driver);
    ~WaveOutputStage() override;

    // Opens the file (UTF-8 name) through the input stage and starts the decoder.
    Result open(std::string_view fileName, std::string_view passPhrase);
    void setStartPosition(int percent);

    void pause() override;  // the stage first, then the device
    void resume() override; // the device first, then the stage

private:
    // Blocks returned by the device that wake an output thread waiting for room in the ring.
    static constexpr std::int64_t kReturnsPerWake = 8;
    // Free blocks in the ring that make a reclaim wake the decoder.
    static constexpr std::size_t kRefillBlocks = 8;

    enum class HeaderState { Free, Queued, Returned };
    // What the output thread waits for while it sleeps, so that the device's returns wake it
    // only when they matter.
    enum class Awaiting { Nothing, Room, Header, Drain };

    // The output thread's steps; each returns Step::Stop when the thread ends.
    void outputThread();
    Step awaitFormat(); // until the decoder's FormatEvent has opened the device
    Step sendNextBlock();
    Step finishOnEndOfStream(); // on an event in the ring: DoneOutputting once it is all played
    // Waits until the device has returned every block; false when the quit flag ended the wait.
    bool drainDevice();
    EventStreamBuffer* openedBuffer() const;
    bool openDevice(const PcmFormat& format);
    // Returns false when the thread is to end.
    bool writeBlock(const std::uint8_t* block);
    // Takes a header for the next block, waiting for the device to return one when all are
    // queued; false when the quit flag ended the wait.
    bool takeHeader(std::size_t& index);
    // Releases, in the order written, the blocks the device has returned, and wakes the
    // decoder when that leaves room for a batch. Returns the bytes still at the device.
    std::size_t reclaim();
    // Sleeps until woken, telling the device's returns what they are awaited for; returns the
    // quit flag.
    bool sleepAwaiting(Awaiting awaiting);
    void reclaimLocked();
    bool returnsAwaitedLocked() const;
    void onBufferDone(std::uintptr_t cookie);

    platform::WaveOutDriver& driver_;
    std::unique_ptr<FileInputStage> input_;
    std::unique_ptr<FrameDecoderStage> decoder_;
    EventStreamBuffer* buffer_ = nullptr; // the decoder's output; set under mutex_ by open()
    bool threadStarted_ = false;

    std::mutex deviceMutex_;
    std::unique_ptr<platform::WaveOutDevice> device_; // created by the output thread

    std::mutex headerMutex_;
    // Block n (from 0) of the stream goes out with header n % headers_.size(), which is also
    // its cookie; blocks are reclaimed strictly in the order written.
    std::vector<HeaderState> headers_;
    std::uint32_t blockBytes_ = 0;
    std::size_t outstanding_ = 0; // bytes handed to the device and not yet released
    std::int64_t issued_ = 0;
    std::int64_t returned_ = 0;
    std::int64_t reclaimed_ = 0;
    Awaiting awaiting_ = Awaiting::Nothing;
    std::int64_t reclaimedAtDecoderWake_ = 0; // output thread only: reclaimed_ when it last woke the decoder
};

} // namespace vostrel::audio
