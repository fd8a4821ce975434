#include "platform/sim/sim_platform.h"

#include <cassert>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <stdexcept>
#include <system_error>

#include "platform/message_box.h"
#include "platform/posix/ini_profile_store.h"
#include "platform/posix/posix_file_system.h"

namespace vostrel::platform::sim {
namespace {

using namespace std::chrono;

constexpr std::int64_t kMsPerDay = 24LL * 3600 * 1000;

std::int64_t wallMsOf(const LocalDateTime& t) {
    const sys_days day =
        year{t.year} / month{static_cast<unsigned>(t.month)} / std::chrono::day{static_cast<unsigned>(t.day)};
    return duration_cast<milliseconds>(day.time_since_epoch()).count() +
           ((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.millisecond;
}

LocalDateTime localOf(std::int64_t wallMs) {
    const sys_days day = floor<days>(sys_time<milliseconds>(milliseconds(wallMs)));
    const year_month_day ymd(day);
    std::int64_t rest = wallMs - duration_cast<milliseconds>(day.time_since_epoch()).count();
    LocalDateTime t;
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.hour = static_cast<int>(rest / 3'600'000);
    rest %= 3'600'000;
    t.minute = static_cast<int>(rest / 60'000);
    rest %= 60'000;
    t.second = static_cast<int>(rest / 1000);
    t.millisecond = static_cast<int>(rest % 1000);
    return t;
}

// No audio device: every open fails, as on a machine without a sound card.
class AbsentWaveOutDriver final : public WaveOutDriver {
public:
    std::unique_ptr<WaveOutDevice> open(const PcmWaveFormat&, DoneCallback) override { return nullptr; }
};

// Files are real, under the program directory; the current directory is only recorded, so
// that a test never moves the whole test process.
class SimFileSystem final : public FileSystem {
public:
    explicit SimFileSystem(std::string directory) : files_(std::move(directory)) {}
    std::string programDirectory() const override { return files_.programDirectory(); }
    bool setCurrentDirectory(std::string_view directory) override {
        current_ = std::string(directory);
        return true;
    }
    bool exists(std::string_view path) const override { return files_.exists(path); }
    bool deleteFile(std::string_view path) override { return files_.deleteFile(path); }
    std::optional<std::string> readFile(std::string_view path, std::size_t maxBytes) const override {
        return files_.readFile(path, maxBytes);
    }

private:
    PosixFileSystem files_;
    std::string current_;
};

// The claims of the copies in this process, by session name: the copy holding one and the
// activation requests later copies made of it.
struct SessionClaims {
    std::mutex mutex;
    std::map<std::string, int> activations; // present while a copy holds the session's claim
};

SessionClaims& sessionClaims() {
    static SessionClaims claims;
    return claims;
}

std::string makeTemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vostrel-sim-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

} // namespace

SimPlatform::SimPlatform() : SimPlatform(Options{}) {}

SimPlatform::SimPlatform(Options options) : session_(std::move(options.session)) {
    wallBaseMs_ = wallMsOf(options.start);
    std::string directory = options.programDirectory;
    if (directory.empty()) {
        ownedDirectory_ = makeTemporaryDirectory();
        directory = ownedDirectory_;
    }
    files_ = std::make_unique<SimFileSystem>(directory);
    if (options.profile) {
        profile_ = options.profile;
    } else {
        ownedProfile_ = std::make_unique<IniProfileStore>();
        profile_ = ownedProfile_.get();
    }
    if (options.audio) {
        audio_ = options.audio;
    } else {
        ownedAudio_ = std::make_unique<AbsentWaveOutDriver>();
        audio_ = ownedAudio_.get();
    }
}

SimPlatform::~SimPlatform() {
    if (claimed_) {
        const std::lock_guard lock(sessionClaims().mutex);
        sessionClaims().activations.erase(session_);
    }
    if (!ownedDirectory_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(ownedDirectory_, ignored);
    }
}

// ---- Virtual time

void SimPlatform::advance(std::uint64_t ms) { runUntil(now_ + ms); }

void SimPlatform::advanceToTime(int hour, int minute, int second) {
    const std::int64_t wallNow = wallBaseMs_ + static_cast<std::int64_t>(now_);
    const std::int64_t today = wallNow - ((wallNow % kMsPerDay) + kMsPerDay) % kMsPerDay;
    std::int64_t target = today + ((hour * 60LL + minute) * 60 + second) * 1000;
    if (target <= wallNow) target += kMsPerDay;
    advance(static_cast<std::uint64_t>(target - wallNow));
}

void SimPlatform::setLocalTime(const LocalDateTime& t) { wallBaseMs_ = wallMsOf(t) - static_cast<std::int64_t>(now_); }

LocalDateTime SimPlatform::localNow() const { return localOf(wallBaseMs_ + static_cast<std::int64_t>(now_)); }

bool SimPlatform::takePostedClose() {
    if (!closeQueued_) return false;
    closeQueued_ = false;
    if (window_) window_->destroy();
    return true;
}

void SimPlatform::runUntil(std::uint64_t target) {
    for (;;) {
        takePostedClose();
        const auto due = windowExists() ? window_->nextDue() : std::nullopt;
        if (!due || *due > target) break;
        if (*due > now_) now_ = *due;
        window_->deliverDueTick(now_);
    }
    if (target > now_) now_ = target;
}

// ---- WindowHost

Controls& SimPlatform::createMainWindow(const WindowDescription& description) {
    assert(!window_ && "the main window is created once");
    window_ = std::make_unique<SimWindow>(description,
                                          SimWindow::Hooks{[this] { return now_; }, [this] { closeQueued_ = true; }});
    return *window_;
}

void SimPlatform::showMainWindow() {
    if (window_) window_->show();
}

SimWindow& SimPlatform::window() {
    assert(window_);
    return *window_;
}

// ---- EventLoop

void SimPlatform::run() {
    const std::uint64_t limit = now_ + runBudgetMs_;
    while (windowExists()) {
        if (takePostedClose()) break;
        const auto due = window_->nextDue();
        if (!due || *due > limit) {
            runBudgetExhausted_ = true;
            return;
        }
        if (*due > now_) now_ = *due;
        window_->deliverDueTick(now_);
    }
}

void SimPlatform::processPendingEvents() {
    takePostedClose();
    while (windowExists() && window_->deliverDueTick(now_)) takePostedClose();
}

void SimPlatform::waitForEvents(std::int32_t milliseconds) {
    if (milliseconds <= 0 || closeQueued_) return;
    std::uint64_t until = now_ + static_cast<std::uint64_t>(milliseconds);
    if (const auto due = windowExists() ? window_->nextDue() : std::nullopt; due && *due < until)
        until = std::max(*due, now_);
    now_ = until;
}

// ---- MessageBoxes

void SimPlatform::showMessage(std::string_view text, int flags, std::string_view title) {
    MessageRecord record{std::string(text), flags, std::string(title.empty() ? kDefaultMessageTitle : title)};
    messages_.push_back(record);
    ++openBoxes_;
    if (responder_) {
        const MessageResponder responder = responder_; // the responder may replace itself
        responder(record, *this);
    }
    --openBoxes_;
}

bool SimPlatform::askYesNo(std::string_view text, std::string_view title) {
    MessageRecord record{std::string(text), kMessageOk, std::string(title.empty() ? kDefaultMessageTitle : title),
                         true};
    messages_.push_back(record);
    ++openBoxes_;
    bool yes = false;
    if (questionResponder_) {
        const QuestionResponder responder = questionResponder_;
        yes = responder(record, *this);
    }
    --openBoxes_;
    return yes;
}

// ---- InputForms

std::optional<std::vector<std::string>> SimPlatform::askForm(std::string_view title, std::string_view explanation,
                                                             const std::vector<FormField>& fields) {
    FormRecord record{std::string(title), std::string(explanation), fields};
    forms_.push_back(record);
    ++openBoxes_;
    std::optional<std::vector<std::string>> answer;
    if (formResponder_) {
        const FormResponder responder = formResponder_;
        answer = responder(record, *this);
    }
    --openBoxes_;
    return answer;
}

// ---- SingleInstance

bool SimPlatform::claim() {
    const std::lock_guard lock(sessionClaims().mutex);
    claimed_ = sessionClaims().activations.try_emplace(session_, 0).second;
    return claimed_;
}

void SimPlatform::activateFirstCopy() {
    const std::lock_guard lock(sessionClaims().mutex);
    if (const auto it = sessionClaims().activations.find(session_); it != sessionClaims().activations.end())
        ++it->second;
}

int SimPlatform::activationRequests() const {
    const std::lock_guard lock(sessionClaims().mutex);
    if (!claimed_) return 0;
    const auto it = sessionClaims().activations.find(session_);
    return it == sessionClaims().activations.end() ? 0 : it->second;
}

// ---- Shell and power

void SimPlatform::openWebPage(std::string_view address) { shellOpens_.emplace_back(address); }

void SimPlatform::keepAwake(bool awake) { keptAwake_ = awake; }

// ---- Input

bool SimPlatform::click(std::string_view control) { return inputAllowed() && window_->click(control); }

bool SimPlatform::tick(std::string_view checkBox, bool ticked) {
    if (!inputAllowed()) return false;
    if (window_->ticked(checkBox) == ticked) return true;
    return window_->click(checkBox);
}

bool SimPlatform::type(std::string_view editBox, std::string_view text) {
    return inputAllowed() && window_->typeText(editBox, text);
}

bool SimPlatform::clearAndType(std::string_view editBox, std::string_view text) {
    return inputAllowed() && window_->clearText(editBox) && window_->typeText(editBox, text);
}

bool SimPlatform::pressTab() {
    if (!inputAllowed()) return false;
    window_->pressTab(false);
    return true;
}

bool SimPlatform::pressShiftTab() {
    if (!inputAllowed()) return false;
    window_->pressTab(true);
    return true;
}

bool SimPlatform::pressEscape() {
    if (!inputAllowed() || !window_->description().escapeCloses) return false;
    return closeBox();
}

bool SimPlatform::closeBox() {
    if (!inputAllowed()) return false;
    const auto& query = window_->description().closeQuery;
    if (query && !query()) return true;
    window_->destroy();
    return true;
}

bool SimPlatform::choose(std::string_view dropDownList, std::string_view item) {
    return inputAllowed() && window_->choose(dropDownList, item);
}

} // namespace vostrel::platform::sim
