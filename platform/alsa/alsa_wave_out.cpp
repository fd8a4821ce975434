#include "platform/alsa/alsa_wave_out.h"

#include <alsa/asoundlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vostrel::platform::alsa {

namespace {

// How much audio ALSA holds ahead of the playback position. Short enough that a pause or a new
// prompt is heard at once, long enough that a busy machine does not underrun.
constexpr unsigned kLatencyUs = 200000;

// The longest an owner's call waits for the worker to carry out its request. A worker stuck in an
// ALSA call (a sound server that stopped answering, a file plugin writing into a FIFO nobody
// reads) keeps the request queued and carries it out when the device lets go; close() refuses
// until then, so the owner's teardown retries it instead of waiting here.
constexpr auto kHandOffWait = std::chrono::milliseconds(100);

// alsa-lib prints every failed open to stderr; on a machine without sound that is expected.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// The wake-up channel from the owner's calls to the worker.
class EventFd {
public:
    EventFd() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}
    ~EventFd() {
        if (fd_ >= 0) ::close(fd_);
    }
    EventFd(const EventFd&) = delete;
    EventFd& operator=(const EventFd&) = delete;
    int fd() const { return fd_; }
    void signal() const {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(fd_, &one, sizeof one);
    }
    void drain() const {
        std::uint64_t count = 0;
        [[maybe_unused]] const auto read = ::read(fd_, &count, sizeof count);
    }

private:
    int fd_;
};

struct PcmCloser {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using PcmHandle = std::unique_ptr<snd_pcm_t, PcmCloser>;

struct QueuedBuffer {
    const std::uint8_t* data = nullptr;
    std::uint64_t startFrame = 0; // stream positions in frames since the device was opened
    std::uint64_t endFrame = 0;
    std::uintptr_t cookie = 0;
};

class AlsaWaveOutDevice final : public WaveOutDevice {
public:
    AlsaWaveOutDevice(PcmHandle pcm, const PcmWaveFormat& format, WaveOutDriver::DoneCallback done)
        : pcm_(std::move(pcm)), frameBytes_(format.blockAlign()), rate_(format.samplesPerSecond),
          canPause_(deviceCanPause(pcm_.get())), done_(std::move(done)) {
        worker_ = std::thread([this] { work(); });
    }

    // The one call that waits as long as the device needs: the worker uses every member, so it
    // must have ended before they go. Owners destroy devices on their teardown's thread.
    ~AlsaWaveOutDevice() override {
        if (closed_) return;
        request(Request::Reset);
        request(Request::Quit);
        worker_.join();
    }

    WaveOutResult write(const std::uint8_t* data, std::size_t bytes, std::uintptr_t cookie) override {
        if (closed_) return WaveOutResult::Failed;
        bool awaited = false;
        {
            std::lock_guard lock(mutex_);
            if (!failure_.empty()) return WaveOutResult::Failed; // broken: it would only hand it back
            QueuedBuffer buffer{data, queuedEnd_, queuedEnd_ + bytes / frameBytes_, cookie};
            queuedEnd_ = buffer.endFrame;
            queue_.push_back(buffer);
            awaited = awaitingBuffers_;
            awaitingBuffers_ = false;
        }
        // A worker waiting for room in ALSA has no use for another buffer yet: the owner queues
        // seconds ahead in bursts, and waking it for each would double its wake-ups.
        if (awaited) wake_.signal();
        return WaveOutResult::Ok;
    }

    std::string lastError() const override {
        std::lock_guard lock(mutex_);
        return failure_;
    }

    void pause() override { handOver(Request::Pause); }
    void restart() override { handOver(Request::Restart); }
    void reset() override { handOver(Request::Reset); }

    WaveOutResult close() override {
        if (closed_) return WaveOutResult::Ok;
        if (!quitTicket_) {
            {
                std::lock_guard lock(mutex_);
                if (!queue_.empty()) return WaveOutResult::StillPlaying;
            }
            quitTicket_ = request(Request::Quit);
        }
        if (!carriedOut(quitTicket_)) return WaveOutResult::StillPlaying;
        worker_.join(); // it has closed the PCM and only returns
        closed_ = true;
        return WaveOutResult::Ok;
    }

private:
    enum class Request { Pause, Restart, Reset, Quit };

    // ---- Owner side: requests are carried out one after the other, in the order made.
    // Returns the request's ticket.
    std::uint64_t request(Request request) {
        std::uint64_t ticket = 0;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
            ticket = ++requested_;
        }
        wake_.signal();
        return ticket;
    }

    void handOver(Request r) {
        if (!closed_) carriedOut(request(r));
    }

    // Waits at most kHandOffWait for the worker; true once the ticket's request is carried out.
    bool carriedOut(std::uint64_t ticket) {
        std::unique_lock lock(mutex_);
        return requestDone_.wait_for(lock, kHandOffWait, [&] { return carriedOut_ >= ticket; });
    }

    // ---- Worker side. Only the worker touches the PCM handle and the fields below.
    void work() {
        for (;;) {
            std::optional<Request> request;
            {
                std::lock_guard lock(mutex_);
                if (!requests_.empty()) {
                    request = requests_.front();
                    requests_.pop_front();
                }
            }
            if (request) {
                handle(*request);
                {
                    std::lock_guard lock(mutex_);
                    ++carriedOut_;
                }
                requestDone_.notify_all();
                if (*request == Request::Quit) return;
                continue;
            }
            const Step step = advance();
            if (step == Step::Progressed || !mayWait(step)) continue;
            wait(step);
        }
    }

    void handle(Request request) {
        switch (request) {
        case Request::Pause:
            if (paused_) return;
            returnPlayed();
            paused_ = true;
            if (snd_pcm_state(pcm_.get()) != SND_PCM_STATE_RUNNING) return; // nothing is sounding
            if (canPause_ && snd_pcm_pause(pcm_.get(), 1) == 0) {
                pausedInDevice_ = true;
                return;
            }
            snd_pcm_drop(pcm_.get());
            snd_pcm_prepare(pcm_.get());
            written_ = played_; // the dropped frames are written again on restart
            return;
        case Request::Restart:
            if (pausedInDevice_ && snd_pcm_pause(pcm_.get(), 0) < 0) {
                // The device cannot go on where it stopped: start it afresh from the last frame
                // it played.
                snd_pcm_drop(pcm_.get());
                snd_pcm_prepare(pcm_.get());
                written_ = played_;
            }
            pausedInDevice_ = false;
            paused_ = false;
            return;
        case Request::Reset:
            pausedInDevice_ = false;
            snd_pcm_drop(pcm_.get());
            snd_pcm_prepare(pcm_.get());
            paused_ = false;
            returnAll();
            return;
        case Request::Quit:
            snd_pcm_drop(pcm_.get());
            pcm_.reset();
            return;
        }
    }

    enum class Step { Progressed, NeedSpace, AwaitPlayback, Idle };

    Step advance() {
        if (broken_) {
            returnAll();
            return Step::Idle;
        }
        if (paused_) return Step::Idle;
        const std::optional<QueuedBuffer> next = bufferHolding(written_);
        Step step = Step::Idle;
        if (next) {
            const auto frames = static_cast<snd_pcm_uframes_t>(next->endFrame - written_);
            const std::uint8_t* from = next->data + (written_ - next->startFrame) * frameBytes_;
            const snd_pcm_sframes_t n = snd_pcm_writei(pcm_.get(), from, frames);
            if (n > 0) {
                written_ += static_cast<std::uint64_t>(n);
                step = Step::Progressed;
            } else if (n == 0 || n == -EAGAIN) {
                step = Step::NeedSpace;
            } else {
                recover(static_cast<int>(n));
                step = broken_ ? Step::Idle : Step::Progressed;
            }
        } else if (written_ > played_) {
            // Everything queued is with the device. A stream shorter than the start threshold
            // would otherwise never start.
            if (snd_pcm_state(pcm_.get()) == SND_PCM_STATE_PREPARED) snd_pcm_start(pcm_.get());
            step = Step::AwaitPlayback;
        }
        returnPlayed();
        if (step == Step::Idle && hasQueued()) step = Step::AwaitPlayback; // zero-length buffers
        return step;
    }

    void recover(int error) {
        if (error == -EPIPE) returnPlayed(); // an underrun: all that was written has been played
        if (const int failed = snd_pcm_recover(pcm_.get(), error, 1); failed < 0) {
            broken_ = true;
            std::lock_guard lock(mutex_);
            failure_ = snd_strerror(failed);
        }
    }

    // The buffer holding the given stream frame, if it is queued.
    std::optional<QueuedBuffer> bufferHolding(std::uint64_t frame) {
        std::lock_guard lock(mutex_);
        for (const QueuedBuffer& buffer : queue_) {
            if (buffer.endFrame > frame) return buffer;
        }
        return std::nullopt;
    }

    bool hasQueued() {
        std::lock_guard lock(mutex_);
        return !queue_.empty();
    }

    std::uint64_t playbackPosition() {
        const snd_pcm_state_t state = snd_pcm_state(pcm_.get());
        if (state == SND_PCM_STATE_XRUN || state == SND_PCM_STATE_SETUP) return written_;
        if (state != SND_PCM_STATE_RUNNING && state != SND_PCM_STATE_DRAINING) return played_;
        snd_pcm_sframes_t delay = 0;
        if (snd_pcm_delay(pcm_.get(), &delay) < 0) return played_;
        const auto held = static_cast<std::uint64_t>(std::max<snd_pcm_sframes_t>(delay, 0));
        return std::max(played_, written_ > held ? written_ - held : 0);
    }

    // Returns, in order, every buffer whose last frame has been played.
    void returnPlayed() {
        played_ = playbackPosition();
        std::vector<std::uintptr_t> cookies;
        {
            std::lock_guard lock(mutex_);
            while (!queue_.empty() && queue_.front().endFrame <= played_) {
                cookies.push_back(queue_.front().cookie);
                queue_.pop_front();
            }
        }
        for (std::uintptr_t cookie : cookies) done_(cookie);
    }

    // Every queued buffer goes back at once, so no one waits for them: after a reset, and from a
    // broken device, which plays nothing more.
    void returnAll() {
        std::vector<std::uintptr_t> cookies;
        {
            std::lock_guard lock(mutex_);
            for (const QueuedBuffer& buffer : queue_) cookies.push_back(buffer.cookie);
            queue_.clear();
            written_ = played_ = queuedEnd_;
        }
        for (std::uintptr_t cookie : cookies) done_(cookie);
    }

    // Tells write() whether a new buffer is worth a wake-up; false when one came meanwhile, so
    // the worker goes on instead of waiting.
    bool mayWait(Step step) {
        std::lock_guard lock(mutex_);
        awaitingBuffers_ = step != Step::NeedSpace;
        return !awaitingBuffers_ || paused_ || broken_ || queuedEnd_ <= written_;
    }

    void wait(Step step) {
        std::vector<pollfd> fds{{wake_.fd(), POLLIN, 0}};
        int timeoutMs = -1;
        if (step == Step::NeedSpace) {
            const int count = snd_pcm_poll_descriptors_count(pcm_.get());
            if (count > 0) {
                fds.resize(1 + static_cast<std::size_t>(count));
                snd_pcm_poll_descriptors(pcm_.get(), fds.data() + 1, static_cast<unsigned>(count));
            }
            timeoutMs = 100; // bounded in case a plugin's descriptors never wake
        } else if (step == Step::AwaitPlayback) {
            // Nothing to write: look again when the next buffer should have been played.
            const std::uint64_t pending = nextBufferEnd() > played_ ? nextBufferEnd() - played_ : 0;
            timeoutMs = static_cast<int>(std::clamp<std::uint64_t>(pending * 1000 / rate_, 2, 50));
        }
        ::poll(fds.data(), fds.size(), timeoutMs);
        if (fds.size() > 1) {
            unsigned short events = 0;
            snd_pcm_poll_descriptors_revents(pcm_.get(), fds.data() + 1, static_cast<unsigned>(fds.size() - 1),
                                             &events);
        }
        if (fds[0].revents & POLLIN) wake_.drain();
    }

    std::uint64_t nextBufferEnd() {
        std::lock_guard lock(mutex_);
        return queue_.empty() ? played_ : queue_.front().endFrame;
    }

    static bool deviceCanPause(snd_pcm_t* pcm) {
        snd_pcm_hw_params_t* params = nullptr;
        if (snd_pcm_hw_params_malloc(&params) < 0) return false;
        const bool can = snd_pcm_hw_params_current(pcm, params) == 0 && snd_pcm_hw_params_can_pause(params) == 1;
        snd_pcm_hw_params_free(params);
        return can;
    }

    PcmHandle pcm_;
    const unsigned frameBytes_;
    const unsigned rate_;
    const bool canPause_; // the device holds its place itself; otherwise pause drops and rewinds
    const WaveOutDriver::DoneCallback done_;
    EventFd wake_;

    mutable std::mutex mutex_; // guards queue_, queuedEnd_, the requests and failure_; never held across an ALSA call
    std::condition_variable requestDone_;
    std::deque<QueuedBuffer> queue_; // written by the owner, not yet returned
    std::uint64_t queuedEnd_ = 0;
    std::deque<Request> requests_; // made by the owner, not yet carried out
    std::uint64_t requested_ = 0;  // tickets given out
    std::uint64_t carriedOut_ = 0; // tickets whose request has been carried out
    bool awaitingBuffers_ = false; // the worker waits with everything queued handed to ALSA
    std::string failure_;          // why the device broke (the worker's failed recovery); empty while it plays

    // Worker only.
    std::uint64_t written_ = 0; // stream frame up to which data has been handed to ALSA
    std::uint64_t played_ = 0;  // stream frame up to which the device has played
    bool paused_ = false;
    bool pausedInDevice_ = false;
    bool broken_ = false;

    bool closed_ = false;          // owner only
    std::uint64_t quitTicket_ = 0; // owner only: the close's request, once made
    std::thread worker_;           // last: starts once every member above exists
};

} // namespace

std::unique_ptr<WaveOutDevice> AlsaWaveOutDriver::open(const PcmWaveFormat& format, DoneCallback done) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(ignoreAlsaError); });
    if (format.bitsPerSample != 16 || (format.channels != 1 && format.channels != 2) || format.samplesPerSecond == 0) {
        noteOpenError("unsupported PCM format");
        return nullptr;
    }
    snd_pcm_t* raw = nullptr;
    if (const int error = snd_pcm_open(&raw, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK); error < 0) {
        noteOpenError("ALSA \"" + device_ + "\": " + snd_strerror(error));
        return nullptr;
    }
    PcmHandle pcm(raw);
    if (const int error =
            snd_pcm_set_params(pcm.get(), SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                               format.samplesPerSecond, 1 /* resample if the device needs it */, kLatencyUs);
        error < 0) {
        noteOpenError("ALSA \"" + device_ + "\" refuses " + std::to_string(format.samplesPerSecond) + " Hz, " +
                      std::to_string(format.channels) + " channel(s): " + snd_strerror(error));
        return nullptr;
    }
    return std::make_unique<AlsaWaveOutDevice>(std::move(pcm), format, std::move(done));
}

std::string AlsaWaveOutDriver::lastOpenError() const {
    std::lock_guard lock(errorMutex_);
    return lastOpenError_;
}

void AlsaWaveOutDriver::noteOpenError(std::string reason) {
    std::lock_guard lock(errorMutex_);
    lastOpenError_ = std::move(reason);
}

} // namespace vostrel::platform::alsa
