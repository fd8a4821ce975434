#include "audio/pipeline_stage.h"

namespace vostrel::audio {

void PipelineStage::pause() {
    {
        const std::lock_guard lock(mutex_);
        paused_ = true;
    }
    wake();
}

void PipelineStage::resume() {
    const std::lock_guard lock(mutex_);
    paused_ = false;
    resume_.release();
}

void PipelineStage::wake() { wake_.release(); }

void PipelineStage::setInput(StreamBuffer* input) {
    const std::lock_guard lock(mutex_);
    input_ = input;
}

StreamBuffer* PipelineStage::input() const {
    const std::lock_guard lock(mutex_);
    return input_;
}

void PipelineStage::reportError(Result result, std::string reason) {
    if (owner_) owner_->postStageError(result, std::move(reason));
}

void PipelineStage::reportUnlessInterrupted(Result result) {
    if (result != Result::Interrupted) reportError(result);
}

void PipelineStage::noteDeviceUnavailable(std::string reason) {
    if (owner_) owner_->noteDeviceUnavailable(std::move(reason));
}

void PipelineStage::post(PlayerEventCode code) {
    if (owner_) owner_->post(code);
}

bool PipelineStage::waitForWake() {
    wake_.acquire();
    return quit_;
}

bool PipelineStage::waitForWakeFor(std::chrono::microseconds timeout) {
    wake_.tryAcquireFor(timeout);
    return quit_;
}

bool PipelineStage::waitForResume() {
    resume_.acquire();
    return quit_;
}

void PipelineStage::shutdown() {
    quit_ = true;
    wake_.close();
    resume_.close();
}

} // namespace vostrel::audio
