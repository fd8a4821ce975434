#include "record/record_writer.h"

#include <future>
#include <memory>
#include <utility>

namespace vostrel::record {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

std::string droppedNote(std::size_t lines) {
    return "（磁盘一时无法写入，这之前有 " + std::to_string(lines) + " 行记录没能写下）";
}

// The tail from the start of its first whole line.
std::string_view wholeLines(std::string_view tail) {
    const std::size_t end = tail.find('\n');
    return end == std::string_view::npos ? std::string_view() : tail.substr(end + 1);
}

} // namespace

RecordWriter::RecordWriter(platform::BackgroundFiles& files, std::string recordPath)
    : RecordWriter(files, std::move(recordPath), Limits{}) {}

RecordWriter::RecordWriter(platform::BackgroundFiles& files, std::string recordPath, Limits limits)
    : files_(files), recordPath_(std::move(recordPath)), limits_(limits), thread_([this] { worker(); }) {}

RecordWriter::~RecordWriter() {
    if (!finished_) finish(std::chrono::milliseconds::max());
}

void RecordWriter::appendLine(std::string line) {
    {
        const std::lock_guard lock(mutex_);
        if (queuedLines_ >= limits_.maxQueued) {
            // The disk has not answered for a long time: the oldest waiting line goes.
            for (auto it = jobs_.begin(); it != jobs_.end(); ++it) {
                if (it->kind != Job::Kind::Append) continue;
                jobs_.erase(it);
                --queuedLines_;
                ++droppedLines_;
                break;
            }
        }
        jobs_.push_back({Job::Kind::Append, {}, std::move(line) + std::string(kLineEnd), {}});
        ++queuedLines_;
    }
    changed_.notify_all();
}

void RecordWriter::replaceFile(std::string path, std::string content) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back({Job::Kind::Replace, std::move(path), std::move(content), {}});
    }
    changed_.notify_all();
}

void RecordWriter::run(std::function<void()> job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back({Job::Kind::Run, {}, {}, std::move(job)});
    }
    changed_.notify_all();
}

std::optional<std::string> RecordWriter::readTail(std::size_t maxBytes, std::chrono::milliseconds timeout) {
    // Shared with the job, which may outlive this call when the disk does not answer in time.
    auto result = std::make_shared<std::promise<std::optional<std::string>>>();
    std::future<std::optional<std::string>> answer = result->get_future();
    run([this, result, maxBytes] { result->set_value(files_.readTail(recordPath_, maxBytes)); });
    if (answer.wait_for(timeout) != std::future_status::ready) return std::nullopt;
    return answer.get();
}

std::optional<std::string> RecordWriter::takeFailure() {
    const std::lock_guard lock(mutex_);
    return std::exchange(failure_, std::nullopt);
}

bool RecordWriter::waitUntilIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return jobs_.empty() && !busy_; });
}

bool RecordWriter::finish(std::chrono::milliseconds grace) {
    std::unique_lock lock(mutex_);
    quit_ = true;
    changed_.notify_all();
    const bool ended = grace == std::chrono::milliseconds::max()
                           ? (changed_.wait(lock, [&] { return workerEnded_; }), true)
                           : changed_.wait_for(lock, grace, [&] { return workerEnded_; });
    lock.unlock();
    finished_ = true;
    if (ended) {
        thread_.join();
    } else {
        thread_.detach(); // stuck in a disk call: the owner keeps everything it uses alive
    }
    return ended;
}

void RecordWriter::worker() {
    Job job;
    while (takeJob(job)) {
        doJob(job);
        const std::lock_guard lock(mutex_);
        busy_ = false;
        changed_.notify_all();
    }
    const std::lock_guard lock(mutex_);
    workerEnded_ = true;
    changed_.notify_all();
}

bool RecordWriter::takeJob(Job& job) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return quit_ || !jobs_.empty(); });
    if (jobs_.empty()) return false; // quit, and everything queued is done
    job = std::move(jobs_.front());
    jobs_.pop_front();
    if (job.kind == Job::Kind::Append) {
        --queuedLines_;
        if (droppedLines_ > 0) {
            job.content = droppedNote(std::exchange(droppedLines_, 0)) + std::string(kLineEnd) + job.content;
        }
        while (!jobs_.empty() && jobs_.front().kind == Job::Kind::Append) {
            job.content += jobs_.front().content;
            jobs_.pop_front();
            --queuedLines_;
        }
    }
    busy_ = true;
    return true;
}

void RecordWriter::doJob(Job& job) {
    switch (job.kind) {
    case Job::Kind::Append: appendToRecord(job.content); return;
    case Job::Kind::Replace: noteFailure(files_.replace(job.path, job.content)); return;
    case Job::Kind::Run: job.work(); return;
    }
}

void RecordWriter::appendToRecord(const std::string& lines) {
    const std::optional<std::uint64_t> size = files_.size(recordPath_);
    const bool fresh = !size || *size == 0;
    const platform::FileWriteResult written =
        files_.append(recordPath_, fresh ? std::string(kByteOrderMark) + lines : lines);
    noteFailure(written);
    if (written.ok) keepWithinLimit();
}

void RecordWriter::keepWithinLimit() {
    const std::optional<std::uint64_t> size = files_.size(recordPath_);
    if (!size || *size <= limits_.maxBytes) return;
    const std::optional<std::string> tail = files_.readTail(recordPath_, static_cast<std::size_t>(limits_.keptBytes));
    if (!tail) return;
    noteFailure(files_.replace(recordPath_, std::string(kByteOrderMark) + std::string(wholeLines(*tail))));
}

void RecordWriter::noteFailure(const platform::FileWriteResult& result) {
    if (result.ok) return;
    const std::lock_guard lock(mutex_);
    if (failureSeen_) return;
    failureSeen_ = true;
    failure_ = result.reason;
}

} // namespace vostrel::record
