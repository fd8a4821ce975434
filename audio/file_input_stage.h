#pragma once
// The first stage of a pipeline: opens an MP3 file past its ID3v2 tag and before its "TAG"
// trailer, and fills a StreamBuffer with the file's bytes on its reader thread, 8192 at a time.
//
// Contract
// - open() runs on the opening thread, once; on failure it has already reported StageError.
//   It reads the first piece itself; from then on only the reader thread reads.
// - seekTo() is called by the consumer (the decoder thread) while it holds no read span; the
//   reader thread performs the seek and clears the buffer, so file and buffer are only ever
//   touched by the reader.
// - The destructor stops and joins the reader thread, then closes the file.
// Locks (their place among the engine's: audio/README.md): the reader wakes the decoder under
//   mutex_, so that a consumer detached by setConsumer(nullptr) is never woken again. seekTo()
//   waits on seekDone_ under mutex_, and whatever ends that wait (a seek made, either quit flag)
//   is published under mutex_ before the notice.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "audio/pipeline_stage.h"
#include "platform/file_reader.h"

namespace vostrel::audio {

class FileInputStage : public PipelineStage {
public:
    static constexpr std::size_t kRingBytes = 65536;
    static constexpr std::size_t kOverflowBytes = 8192;
    static constexpr std::size_t kReadBytes = 8192;
    // Room in the ring that a decoder at work wakes the reader for: a few reads at once rather
    // than one read per wake.
    static constexpr std::size_t kRefillBytes = kRingBytes / 2;

    explicit FileInputStage(PlayerEventSink* owner) : PipelineStage(owner) {}
    ~FileInputStage() override;

    // Opens `fileName` (UTF-8) and starts the reader thread, which waits for the first wake.
    // The pass phrase is kept; files are read as they stand.
    Result open(std::string_view fileName, std::string_view passPhrase);

    // Moves the stream to `offset` bytes from the file's start and empties the buffer. Gives up
    // with Interrupted when either stage is shutting down.
    Result seekTo(std::uint64_t offset, const PipelineStage& requester);
    // Called by the requester once it has set its quit flag, so that a seekTo() waiting for a
    // reader that will not come (paused by the same teardown) ends at once.
    void requesterQuitting();

    // The stage to wake when bytes have been written (the decoder); null detaches it, after
    // which the reader never touches it again.
    void setConsumer(PipelineStage* consumer);

    StreamBuffer* buffer() { return buffer_.get(); }
    // File size less a 128-byte "TAG" trailer.
    std::uint64_t dataLength() const { return dataLength_; }
    // Where the audio stream starts: after an ID3v2.2, 2.3 or 2.4 tag, or after the 10-byte
    // header of a tag of any other version.
    std::uint64_t streamStart() const { return streamStart_; }

private:
    Result openFile();
    void readerThread();
    void performSeek();
    // Reads the next piece of the file into the ring: Ok, BufferFull or Interrupted.
    Result readPiece(StreamBuffer& buffer);

    std::string fileName_;
    std::string passPhrase_;
    std::unique_ptr<platform::FileReader> file_;
    std::unique_ptr<StreamBuffer> buffer_;
    std::uint64_t dataLength_ = 0;
    std::uint64_t streamStart_ = 0;
    std::uint64_t position_ = 0; // of the next byte the reader reads; reader thread only
    PipelineStage* consumer_ = nullptr;

    std::condition_variable seekDone_;
    std::optional<std::uint64_t> seekRequest_; // under mutex_
    std::optional<Result> seekResult_;         // under mutex_
};

} // namespace vostrel::audio
