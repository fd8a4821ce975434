#pragma once
// The day's record and the files kept beside it, put on disk by a worker thread of their own so
// that the UI thread never waits for a disk: a full disk, a read-only folder, a record another
// program holds open or a stalled network folder cost the announcements nothing. The UI thread
// queues and returns at once; it learns of the first failure by polling takeFailure().
//
// The record is plain text that Notepad on Windows XP and any Linux editor read: UTF-8 with a
// byte-order mark, one line per event, each ending in CR LF. It stays bounded: once it passes
// Limits::maxBytes the oldest lines are dropped, keeping the newest Limits::keptBytes.
//
// Contract
// - appendLine, replaceFile, run, takeFailure and finish are called by one owner thread (the UI
//   thread); jobs are done in the order queued.
// - While the disk does not answer, at most Limits::maxQueued lines wait; older ones are dropped
//   and the record says how many once it can be written again.
// - finish() waits at most its grace for the queued work and the worker's end. When it returns
//   false the worker is stuck inside a disk call and goes on alone: the writer may be destroyed,
//   but the BackgroundFiles it writes through must stay, so the owner ends the process without
//   destroying them.
// Locks: the shared state's mutex is a leaf; no disk call is made under it. (This thread beside
//   the player engine's: audio/README.md.)
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/background_files.h"
#include "record/record_sink.h"

namespace vostrel::record {

// The record's name beside the settings file.
inline constexpr std::string_view kRecordFileName = "播放记录.txt";

class RecordWriter final : public RecordSink {
public:
    struct Limits {
        std::uint64_t maxBytes = 2 * 1024 * 1024;
        std::uint64_t keptBytes = 1536 * 1024;
        std::size_t maxQueued = 4096;
    };

    RecordWriter(platform::BackgroundFiles& files, std::string recordPath);
    RecordWriter(platform::BackgroundFiles& files, std::string recordPath, Limits limits);
    ~RecordWriter() override; // finish() without bound, unless finish() has been called
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // One line of the record, without its line end.
    void appendLine(std::string line) override;
    // A whole new content for another file beside the record (the plan page).
    void replaceFile(std::string path, std::string content);
    // Work that reads files on the worker thread (the voice files' check); it must not block
    // on the owner.
    void run(std::function<void()> job);
    // The end of the record once the lines queued before are written, at most maxBytes of it;
    // nothing when it cannot be read within `timeout` or there is none.
    std::optional<std::string> readTail(std::size_t maxBytes, std::chrono::milliseconds timeout);

    // The reason of the first failed write since the writer started, once; nothing otherwise.
    std::optional<std::string> takeFailure();
    // Waits at most `timeout` until every job queued so far is done; false on timeout.
    bool waitUntilIdle(std::chrono::milliseconds timeout);
    // Lets the queued work finish and the worker end, waiting at most `grace`; see above. May be
    // called again after a false to wait longer.
    bool finish(std::chrono::milliseconds grace);

    struct Shared; // everything the worker touches, kept alive by it as long as it runs

private:
    std::shared_ptr<Shared> shared_;
    bool finished_ = false;
    std::thread thread_;
};

} // namespace vostrel::record
