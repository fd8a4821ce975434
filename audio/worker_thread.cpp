#include "audio/worker_thread.h"

#include <system_error>

namespace vostrel::audio {

bool WorkerThread::create(std::function<void()> routine) {
    if (thread_.joinable()) return false;
    try {
        thread_ = std::thread(std::move(routine));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void WorkerThread::join() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

} // namespace vostrel::audio
