#include "tests/audio/pipeline_runner.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace vostrel::audio::test {

void RecordingSink::post(PlayerEventCode code) {
    const std::lock_guard lock(mutex_);
    codes_.push_back(code);
}

std::vector<PlayerEventCode> RecordingSink::codes() const {
    const std::lock_guard lock(mutex_);
    return codes_;
}

bool RecordingSink::has(PlayerEventCode code) const {
    const std::lock_guard lock(mutex_);
    return std::find(codes_.begin(), codes_.end(), code) != codes_.end();
}

void ProgressRecorder::postProgress(int percent) {
    const std::lock_guard lock(mutex_);
    posted_.emplace_back(percent, std::chrono::steady_clock::now());
}

std::vector<int> ProgressRecorder::values() const {
    const std::lock_guard lock(mutex_);
    std::vector<int> values;
    for (const auto& [value, at] : posted_) values.push_back(value);
    return values;
}

std::vector<std::chrono::steady_clock::time_point> ProgressRecorder::timesOf(int percent) const {
    const std::lock_guard lock(mutex_);
    std::vector<std::chrono::steady_clock::time_point> times;
    for (const auto& [value, at] : posted_) {
        if (value == percent) times.push_back(at);
    }
    return times;
}

DecodeRun decodeFile(const std::string& path, int startPercent) {
    using namespace std::chrono_literals;
    DecodeRun run;
    RecordingSink sink;
    ProgressRecorder window;
    DrainStage drain;
    FileInputStage input(&sink);
    FrameDecoderStage decoder(&sink, &window);

    run.openResult = input.open(path, "");
    if (run.openResult == Result::Ok) run.openResult = decoder.attach(input, &drain);
    if (run.openResult == Result::Ok) {
        decoder.setStartPosition(startPercent);
        EventStreamBuffer& out = *decoder.buffer();
        // A generous bound so that a hang fails the test instead of the whole run.
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (!sink.has(PlayerEventCode::StageError) && std::chrono::steady_clock::now() < deadline) {
            if (!run.sawFormat) {
                if (auto event = out.takeEvent()) {
                    run.sawFormat = event->kind == StreamEventKind::FormatEvent;
                    run.format = event->format;
                    run.ringBytes = out.ringSize();
                    continue;
                }
                decoder.wake();
                drain.waitForWakeFor(2ms);
                continue;
            }
            const std::uint8_t* span = nullptr;
            const Result r = out.beginRead(run.format.blockBytes, span);
            if (r == Result::Ok) {
                const std::size_t count = run.format.blockBytes / 2;
                const std::size_t at = run.samples.size();
                run.samples.resize(at + count);
                std::memcpy(run.samples.data() + at, span, run.format.blockBytes);
                out.endRead(run.format.blockBytes);
                decoder.wake();
            } else if (r == Result::EventPending) {
                const auto event = out.takeEvent();
                if (event && event->kind == StreamEventKind::EndOfStreamEvent) {
                    run.sawEnd = true;
                    break;
                }
            } else if (r == Result::NoData) {
                decoder.wake();
                drain.waitForWakeFor(2ms);
            } else {
                break;
            }
        }
        run.totalFrames = decoder.totalFrames();
    }
    run.events = sink.codes();
    run.progress = window.values();
    return run;
}

} // namespace vostrel::audio::test
