#include "record/record_writer.h"

#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <utility>

namespace vostrel::record {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string droppedNote(std::size_t lines) {
    return "（磁盘一时无法写入，这之前有 " + std::to_string(lines) + " 行记录没能写下）";
}

// The tail from the start of its first whole line.
std::string_view wholeLines(std::string_view tail) {
    const std::size_t end = tail.find('\n');
    return end == std::string_view::npos ? std::string_view() : tail.substr(end + 1);
}

struct Job {
    enum class Kind { Append, Replace, Run } kind = Kind::Run;
    std::string path;    // Replace
    std::string content; // Append: lines with their ends; Replace: the file
    std::function<void()> work;
};

} // namespace

struct RecordWriter::Shared {
    Shared(platform::BackgroundFiles& f, std::string p, Limits l) : files(f), recordPath(std::move(p)), limits(l) {}

    platform::BackgroundFiles& files;
    const std::string recordPath;
    const Limits limits;

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> jobs;
    std::size_t queuedLines = 0;
    std::size_t droppedLines = 0;
    bool busy = false; // a job is being done
    bool quit = false;
    bool ended = false;
    bool failureSeen = false;
    std::optional<std::string> failure;

    void queue(Job job) {
        {
            const std::lock_guard lock(mutex);
            jobs.push_back(std::move(job));
        }
        changed.notify_all();
    }

    // The next job, with the appends queued behind each other joined into one; false at the end.
    bool take(Job& job) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return quit || !jobs.empty(); });
        if (jobs.empty()) return false; // quit, and everything queued is done
        job = std::move(jobs.front());
        jobs.pop_front();
        if (job.kind == Job::Kind::Append) joinAppends(job);
        busy = true;
        return true;
    }

    void joinAppends(Job& job) {
        --queuedLines;
        if (droppedLines > 0)
            job.content = droppedNote(std::exchange(droppedLines, 0)) + std::string(kLineEnd) + job.content;
        while (!jobs.empty() && jobs.front().kind == Job::Kind::Append) {
            job.content += jobs.front().content;
            jobs.pop_front();
            --queuedLines;
        }
    }

    void done() {
        const std::lock_guard lock(mutex);
        busy = false;
        changed.notify_all();
    }

    void doJob(Job& job) {
        switch (job.kind) {
        case Job::Kind::Append: appendToRecord(job.content); return;
        case Job::Kind::Replace: noteFailure(files.replace(job.path, job.content)); return;
        case Job::Kind::Run: job.work(); return;
        }
    }

    void appendToRecord(const std::string& lines) {
        const std::optional<std::uint64_t> size = files.size(recordPath);
        const bool fresh = !size || *size == 0;
        const platform::FileWriteResult written =
            files.append(recordPath, fresh ? std::string(kByteOrderMark) + lines : lines);
        noteFailure(written);
        if (written.ok) keepWithinLimit();
    }

    void keepWithinLimit() {
        const std::optional<std::uint64_t> size = files.size(recordPath);
        if (!size || *size <= limits.maxBytes) return;
        const std::optional<std::string> tail = files.readTail(recordPath, static_cast<std::size_t>(limits.keptBytes));
        if (!tail) return;
        noteFailure(files.replace(recordPath, std::string(kByteOrderMark) + std::string(wholeLines(*tail))));
    }

    void noteFailure(const platform::FileWriteResult& result) {
        if (result.ok) return;
        const std::lock_guard lock(mutex);
        if (failureSeen) return;
        failureSeen = true;
        failure = result.reason;
    }
};

namespace {

void work(const std::shared_ptr<RecordWriter::Shared>& shared) {
    Job job;
    while (shared->take(job)) {
        shared->doJob(job);
        shared->done();
    }
    const std::lock_guard lock(shared->mutex);
    shared->ended = true;
    shared->changed.notify_all();
}

} // namespace

RecordWriter::RecordWriter(platform::BackgroundFiles& files, std::string recordPath)
    : RecordWriter(files, std::move(recordPath), Limits{}) {}

RecordWriter::RecordWriter(platform::BackgroundFiles& files, std::string recordPath, Limits limits)
    : shared_(std::make_shared<Shared>(files, std::move(recordPath), limits)),
      thread_([shared = shared_] { work(shared); }) {}

RecordWriter::~RecordWriter() {
    if (!finished_) finish(std::chrono::milliseconds::max());
}

void RecordWriter::appendLine(std::string line) {
    {
        const std::lock_guard lock(shared_->mutex);
        if (shared_->queuedLines >= shared_->limits.maxQueued) {
            // The disk has not answered for a long time: the oldest waiting line goes.
            for (auto it = shared_->jobs.begin(); it != shared_->jobs.end(); ++it) {
                if (it->kind != Job::Kind::Append) continue;
                shared_->jobs.erase(it);
                --shared_->queuedLines;
                ++shared_->droppedLines;
                break;
            }
        }
        shared_->jobs.push_back({Job::Kind::Append, {}, std::move(line) + std::string(kLineEnd), {}});
        ++shared_->queuedLines;
    }
    shared_->changed.notify_all();
}

void RecordWriter::replaceFile(std::string path, std::string content) {
    shared_->queue({Job::Kind::Replace, std::move(path), std::move(content), {}});
}

void RecordWriter::run(std::function<void()> job) { shared_->queue({Job::Kind::Run, {}, {}, std::move(job)}); }

std::optional<std::string> RecordWriter::readTail(std::size_t maxBytes, std::chrono::milliseconds timeout) {
    // Shared with the job, which may outlive this call when the disk does not answer in time.
    auto result = std::make_shared<std::promise<std::optional<std::string>>>();
    std::future<std::optional<std::string>> answer = result->get_future();
    run([shared = shared_, result, maxBytes] {
        result->set_value(shared->files.readTail(shared->recordPath, maxBytes));
    });
    if (answer.wait_for(timeout) != std::future_status::ready) return std::nullopt;
    return answer.get();
}

std::optional<std::string> RecordWriter::takeFailure() {
    const std::lock_guard lock(shared_->mutex);
    return std::exchange(shared_->failure, std::nullopt);
}

bool RecordWriter::waitUntilIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(shared_->mutex);
    return shared_->changed.wait_for(lock, timeout, [&] { return shared_->jobs.empty() && !shared_->busy; });
}

bool RecordWriter::finish(std::chrono::milliseconds grace) {
    std::unique_lock lock(shared_->mutex);
    shared_->quit = true;
    shared_->changed.notify_all();
    const auto ended = [&] { return shared_->ended; };
    const bool done = grace == std::chrono::milliseconds::max() ? (shared_->changed.wait(lock, ended), true)
                                                                : shared_->changed.wait_for(lock, grace, ended);
    lock.unlock();
    finished_ = true;
    if (thread_.joinable()) {
        if (done) {
            thread_.join();
        } else {
            thread_.detach(); // stuck in a disk call: it keeps its shared state alive
        }
    }
    return done;
}

} // namespace vostrel::record
