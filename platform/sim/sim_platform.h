#pragma once
// The simulated platform: a complete headless backend in virtual time, the one the tests use
// to drive the whole program. Nothing here waits for real time: advancing the virtual clock
// delivers every timer tick due on the way, in order, each at its own virtual moment.
//
// Model
// - One virtual millisecond counter drives the tick count and the local wall clock (a start
//   date and time set by the test; setLocalTime() moves the wall clock without any tick).
// - Timers keep the six rules of Controls::setInterval. Ticks are delivered by advance(), by
//   the event loop's calls (nested inside handlers that wait) and inside message boxes whose
//   responder lets time pass.
// - Message boxes are answered by a responder the test sets. It is called while the box is
//   open (nested inside the handler that showed it) and the box closes when it returns. The
//   responder may advance time: ticks then run inside the box, as on a real desktop. While a
//   box is open the main window takes no clicks or keys (the box is modal). Questions (yes/no)
//   and input forms work the same way with responders of their own that give the answer; with
//   none set a question is answered 否 and a form is cancelled.
// - Background files are real files with faults a test arms (SimBackgroundFiles). The clock's
//   time-server state is what the test sets (unknown by default). One copy per session: every
//   SimPlatform of the same session name in this process shares one claim.
// - Files live under a program directory of the test's own (a fresh temporary folder unless
//   one is given); shell opens and power requests are recorded.
// - Audio goes to the driver given in Options, or to an absent device (open fails).
//
// Thread: everything here runs on the test's thread, which plays the UI thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_background_files.h"
#include "platform/sim/sim_window.h"

namespace vostrel::platform::sim {

struct MessageRecord {
    std::string text;
    int flags = 0;
    std::string title;     // as shown: an empty title shows the default
    bool question = false; // asked with 是 and 否
};

struct FormRecord {
    std::string title;
    std::string explanation;
    std::vector<FormField> fields;
};

class SimPlatform;
using MessageResponder = std::function<void(const MessageRecord&, SimPlatform&)>;
using QuestionResponder = std::function<bool(const MessageRecord&, SimPlatform&)>;
using FormResponder = std::function<std::optional<std::vector<std::string>>(const FormRecord&, SimPlatform&)>;

class SimPlatform final : public Platform,
                          private WindowHost,
                          private EventLoop,
                          private MessageBoxes,
                          private Clock,
                          private Shell,
                          private PowerRequests,
                          private InputForms,
                          private SingleInstance,
                          private ClockSync {
public:
    struct Options {
        LocalDateTime start{2026, 12, 8, 8, 0, 0, 0};
        std::string programDirectory;    // empty: a fresh temporary folder, removed at the end
        WaveOutDriver* audio = nullptr;  // null: no audio device
        ProfileStore* profile = nullptr; // null: the private-profile store of POSIX systems
        std::string session = "default"; // copies of the program in one session share a claim
    };
    SimPlatform();
    explicit SimPlatform(Options options);
    ~SimPlatform() override;
    SimPlatform(const SimPlatform&) = delete;
    SimPlatform& operator=(const SimPlatform&) = delete;

    // Platform
    WindowHost& windows() override { return *this; }
    EventLoop& loop() override { return *this; }
    MessageBoxes& messages() override { return *this; }
    Clock& clock() override { return *this; }
    FileSystem& files() override { return *files_; }
    ProfileStore& profile() override { return *profile_; }
    Shell& shell() override { return *this; }
    WaveOutDriver& audio() override { return *audio_; }
    PowerRequests& power() override { return *this; }
    InputForms& forms() override { return *this; }
    BackgroundFiles& backgroundFiles() override { return backgroundFiles_; }
    SingleInstance& instance() override { return *this; }
    ClockSync& clockSync() override { return *this; }
    SimBackgroundFiles& simBackgroundFiles() { return backgroundFiles_; }

    // ---- Virtual time
    std::uint64_t nowMs() const { return now_; }
    // Lets ms pass, delivering every tick due on the way (and queued closes).
    void advance(std::uint64_t ms);
    // Lets time pass until the wall clock next reads h:m:s (today, or tomorrow if that has passed).
    void advanceToTime(int hour, int minute, int second = 0);
    // The UI thread is busy for ms (inside a handler): time passes, nothing is dispatched.
    void busy(std::uint64_t ms) { now_ += ms; }
    // Moves the wall clock without letting virtual time pass: no tick is delivered.
    void setLocalTime(const LocalDateTime& t);
    LocalDateTime localTime() const { return localNow(); }

    // ---- The window
    SimWindow& window(); // the created main window (asserts that there is one)
    bool windowExists() const { return window_ && window_->exists(); }
    bool windowShown() const { return window_ && window_->shown(); }

    // ---- Operator input. False when the input cannot reach the control (window gone, control
    // hidden, a modal message box open).
    bool click(std::string_view control);
    bool tick(std::string_view checkBox, bool ticked = true); // clicks only if the state differs
    bool type(std::string_view editBox, std::string_view text);
    bool clearAndType(std::string_view editBox, std::string_view text);
    bool pressTab();
    bool pressShiftTab();
    bool pressEscape(); // closes the window like its close box
    bool closeBox();    // asks the window's close query first, if it has one
    bool choose(std::string_view dropDownList, std::string_view item);

    // ---- Message boxes
    void setMessageResponder(MessageResponder responder) { responder_ = std::move(responder); }
    void setQuestionResponder(QuestionResponder responder) { questionResponder_ = std::move(responder); }
    void setFormResponder(FormResponder responder) { formResponder_ = std::move(responder); }
    // Message boxes and questions, in the order shown.
    const std::vector<MessageRecord>& messageLog() const { return messages_; }
    const std::vector<FormRecord>& formLog() const { return forms_; }

    // ---- Recorded outward effects
    const std::vector<std::string>& shellOpens() const { return shellOpens_; } // addresses, in order
    bool keptAwake() const { return keptAwake_; }
    // Requests of later copies that this one (holding the claim) bring its window to the front.
    int activationRequests() const;

    // ---- What the system says of its clock
    void setClockSynchronised(std::optional<bool> synchronised) { clockSynchronised_ = synchronised; }

    // ---- The event loop's run(): returns when the window is gone; in virtual time it gives up
    // after the budget (default one virtual day) and reports that.
    void setRunBudget(std::uint64_t ms) { runBudgetMs_ = ms; }
    bool runBudgetExhausted() const { return runBudgetExhausted_; }

private:
    // WindowHost
    Controls& createMainWindow(const WindowDescription& description) override;
    void showMainWindow() override;
    bool mainWindowExists() const override { return windowExists(); }
    // EventLoop
    void run() override;
    void processPendingEvents() override;
    void waitForEvents(std::int32_t milliseconds) override;
    // MessageBoxes
    void showMessage(std::string_view text, int flags, std::string_view title) override;
    bool askYesNo(std::string_view text, std::string_view title) override;
    // InputForms
    std::optional<std::vector<std::string>> askForm(std::string_view title, std::string_view explanation,
                                                    const std::vector<FormField>& fields) override;
    // SingleInstance
    bool claim() override;
    void activateFirstCopy() override;
    // ClockSync
    std::optional<bool> synchronised() override { return clockSynchronised_; }
    // Clock
    LocalDateTime localNow() const override;
    std::uint64_t tickCountMs() const override { return kTickBase + now_; }
    // Shell
    void openWebPage(std::string_view address) override;
    // PowerRequests
    void keepAwake(bool awake) override;

    void runUntil(std::uint64_t target);
    bool takePostedClose();
    bool inputAllowed() const { return windowExists() && openBoxes_ == 0; }

    static constexpr std::uint64_t kTickBase = 1'000'000;

    std::uint64_t now_ = 0;
    std::int64_t wallBaseMs_ = 0; // wall clock (ms since the epoch, local) at now_ == 0
    std::unique_ptr<SimWindow> window_;
    bool closeQueued_ = false;
    MessageResponder responder_;
    QuestionResponder questionResponder_;
    FormResponder formResponder_;
    std::vector<MessageRecord> messages_;
    std::vector<FormRecord> forms_;
    int openBoxes_ = 0;
    std::vector<std::string> shellOpens_;
    bool keptAwake_ = false;
    std::uint64_t runBudgetMs_ = 24ull * 3600 * 1000;
    bool runBudgetExhausted_ = false;
    std::string ownedDirectory_;
    std::unique_ptr<FileSystem> files_;
    std::unique_ptr<ProfileStore> ownedProfile_;
    ProfileStore* profile_ = nullptr;
    std::unique_ptr<WaveOutDriver> ownedAudio_;
    WaveOutDriver* audio_ = nullptr;
    SimBackgroundFiles backgroundFiles_;
    std::string session_;
    bool claimed_ = false;
    std::optional<bool> clockSynchronised_;
};

} // namespace vostrel::platform::sim
