#include "platform/sim/sim_background_files.h"

namespace vostrel::platform::sim {

std::optional<FileWriteResult> SimBackgroundFiles::beforeWrite() {
    std::unique_lock lock(mutex_);
    if (hang_) {
        ++hung_;
        changed_.notify_all();
        changed_.wait(lock, [&] { return !hang_; });
        --hung_;
    }
    if (failure_) {
        ++writes_;
        changed_.notify_all();
        return FileWriteResult{false, *failure_};
    }
    return std::nullopt;
}

void SimBackgroundFiles::afterWrite() {
    const std::lock_guard lock(mutex_);
    ++writes_;
    changed_.notify_all();
}

FileWriteResult SimBackgroundFiles::append(std::string_view path, std::string_view bytes) {
    if (auto failed = beforeWrite()) return *failed;
    FileWriteResult result = PosixBackgroundFiles::append(path, bytes);
    afterWrite();
    return result;
}

FileWriteResult SimBackgroundFiles::replace(std::string_view path, std::string_view bytes) {
    if (auto failed = beforeWrite()) return *failed;
    FileWriteResult result = PosixBackgroundFiles::replace(path, bytes);
    afterWrite();
    return result;
}

void SimBackgroundFiles::failWrites(std::optional<std::string> reason) {
    const std::lock_guard lock(mutex_);
    failure_ = std::move(reason);
}

void SimBackgroundFiles::hangWrites() {
    const std::lock_guard lock(mutex_);
    hang_ = true;
}

void SimBackgroundFiles::releaseHang() {
    {
        const std::lock_guard lock(mutex_);
        hang_ = false;
    }
    changed_.notify_all();
}

int SimBackgroundFiles::hungWrites() const {
    const std::lock_guard lock(mutex_);
    return hung_;
}

bool SimBackgroundFiles::waitForWrites(int count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return writes_ >= count; });
}

} // namespace vostrel::platform::sim
