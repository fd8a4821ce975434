#pragma once
// Background files of the simulated platform: real files (through the POSIX implementation) that
// a test can make fail with a reason of its choosing, or hang inside a call until it lets them
// go, as a full disk, a read-only folder, a file locked by another program or a stalled network
// folder would. Calls hanging at the moment are counted, so a test can wait for the worker to
// be stuck before it goes on.
//
// Thread: any; the program's worker thread makes the calls, the test arms and releases.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>

#include "platform/posix/posix_background_files.h"

namespace vostrel::platform::sim {

class SimBackgroundFiles final : public PosixBackgroundFiles {
public:
    // The writes, which may fail or hang; the reads are the POSIX ones.
    FileWriteResult append(std::string_view path, std::string_view bytes) override;
    FileWriteResult replace(std::string_view path, std::string_view bytes) override;

    // Every write (append and replace) fails with this reason until failWrites(nothing).
    void failWrites(std::optional<std::string> reason);
    // Every write blocks until releaseHang(); reads go on.
    void hangWrites();
    void releaseHang();
    int hungWrites() const;
    // Waits (real time, at most `timeout`) until `count` writes have been made, failed ones
    // included; false on timeout.
    bool waitForWrites(int count, std::chrono::milliseconds timeout) const;

private:
    // Applies the armed fault; returns the failure, or nothing when the write may go ahead.
    std::optional<FileWriteResult> beforeWrite();
    void afterWrite();

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::optional<std::string> failure_;
    bool hang_ = false;
    int hung_ = 0;
    int writes_ = 0;
};

} // namespace vostrel::platform::sim
