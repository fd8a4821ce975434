#pragma once
// Runs the reader and decoder stages over one file and drains the decoder's ring as the
// output stage would (events first, then block by block), collecting what would be played.
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "audio/event_stream_buffer.h"
#include "audio/frame_decoder_stage.h"
#include "audio/player_events.h"

namespace vostrel::audio::test {

class RecordingSink : public PlayerEventSink {
public:
    void post(PlayerEventCode code) override;
    std::vector<PlayerEventCode> codes() const;
    bool has(PlayerEventCode code) const;

private:
    mutable std::mutex mutex_;
    std::vector<PlayerEventCode> codes_;
};

// A notification window that records the values posted to it, with when they came.
class ProgressRecorder : public ProgressWindow {
public:
    bool exists() const override { return true; }
    void postProgress(int percent) override;
    std::vector<int> values() const;
    std::vector<std::chrono::steady_clock::time_point> timesOf(int percent) const;

private:
    mutable std::mutex mutex_;
    std::vector<std::pair<int, std::chrono::steady_clock::time_point>> posted_;
};

// The consumer end of the decoder's ring: a stage only so that the decoder can wake it.
class DrainStage : public PipelineStage {
public:
    DrainStage() : PipelineStage(nullptr) {}
};

struct DecodeRun {
    Result openResult = Result::Ok;
    bool sawFormat = false;
    bool sawEnd = false;
    PcmFormat format;
    std::size_t ringBytes = 0;
    std::int64_t totalFrames = -1;
    std::vector<std::int16_t> samples; // interleaved
    std::vector<PlayerEventCode> events;
    std::vector<int> progress;
};

DecodeRun decodeFile(const std::string& path, int startPercent = 0);

} // namespace vostrel::audio::test
