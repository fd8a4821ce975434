#pragma once
// The last stage of a pipeline and the pipeline's handle (the player's engine). It owns the
// file input stage and the frame decoder. Its output thread opens the wave-out device on the
// decoder's FormatEvent, queues the decoder's PCM blocks on it in place, without copying,
// reclaims them strictly in the order written as the device returns them, and posts
// DoneOutputting once the device has returned the last block of the file.
//
// Contract
// - open(), setStartPosition(), pause() and resume() are called by the player, one at a time.
// - The destructor is the engine teardown: quit, wake and join the output thread; reset the
//   device, reclaim what it returned and close it (retrying every 100 ms while it still
//   plays); then destroy the decoder and the input stage.
// Locks: deviceMutex_ is held for every device call and is taken before the stage's mutex and
//   before headerMutex_ (the
//   device's done callback takes headerMutex_, possibly inside reset(), and then the wake
//   semaphore's lock); headerMutex_ is never held across a device call. Buffer and semaphore
//   locks are leaves.
#include <condition_variable>
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
    enum class HeaderState { Free, Queued, Returned };
    struct Header {
        const std::uint8_t* data = nullptr;
        HeaderState state = HeaderState::Free;
        std::int64_t sequence = 0; // queued or returned: the n-th block written, from 1
    };

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
    // Releases, in the order written, the blocks the device has returned.
    void reclaim();
    void reclaimLocked();
    void onBufferDone(std::uintptr_t cookie);

    platform::WaveOutDriver& driver_;
    std::unique_ptr<FileInputStage> input_;
    std::unique_ptr<FrameDecoderStage> decoder_;
    EventStreamBuffer* buffer_ = nullptr; // the decoder's output; set under mutex_ by open()
    bool threadStarted_ = false;

    std::mutex deviceMutex_;
    std::unique_ptr<platform::WaveOutDevice> device_; // created by the output thread

    std::mutex headerMutex_;
    std::condition_variable headerReturned_;
    std::vector<Header> headers_;
    std::uint32_t blockBytes_ = 0;
    std::size_t outstanding_ = 0; // bytes handed to the device and not yet released
    std::int64_t issued_ = 0;
    std::int64_t reclaimed_ = 0;
};

} // namespace vostrel::audio
