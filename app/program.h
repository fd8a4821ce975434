#pragma once
// The program's start and end: one copy per session, its own directory as the current directory,
// the global state, the day's record, the main window with its creation-complete event, the
// event loop, and the end path that stops a sounding prompt, writes the record's last lines and
// releases the state. The exit code is 0 on every path.
#include <functional>
#include <memory>

#include "audio/play_command.h"
#include "audio/player_entry_table.h"
#include "platform/platform.h"
#include "record/record_writer.h"

namespace vostrel::app {

// Puts a player module's operations into the entry table.
using PlayerModuleInstaller = std::function<void(audio::PlayerEntryTable&)>;

inline constexpr std::string_view kAlreadyRunningMessage =
    "Vostrel播放器已经在运行，已把它的窗口调到最前面。请使用那个窗口，不要同时开两个。";

class Program {
public:
    // The installer runs once, before the window exists; with none the table stays empty and
    // every prompt is skipped silently.
    explicit Program(platform::Platform& platform, PlayerModuleInstaller installPlayerModule = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // One copy per session (a later one says so, brings the first to the front and ends), the
    // current directory, the record, the window with every control, creation-complete event,
    // window shown.
    void start();
    // Runs the event loop until the main window is gone.
    void runEventLoop();
    // The end path: stops playback, releases the keep-awake request, writes the record's last
    // lines and releases the state. Returns the exit code (0). Runs once; the destructor runs it
    // if nobody did.
    int finish();
    // After finish(): a worker is still stuck in a disk call. The platform it uses must then
    // stay, and the process ends without destroying it.
    bool leftWorkBehind() const { return workLeftBehind_; }

    // For tests and tools: the state the handlers work on.
    platform::Controls& controls();
    audio::PlaySlot& playSlot();
    record::RecordWriter& recordWriter();

private:
    struct State;
    void startRecord();
    platform::Platform& platform_;
    std::unique_ptr<State> state_;
    bool refused_ = false; // another copy runs
    bool finished_ = false;
    bool workLeftBehind_ = false;
};

struct ProgramEnd {
    int exitCode = 0;
    bool workLeftBehind = false;
};

// start(), runEventLoop(), finish(): the whole life of the program.
ProgramEnd runProgram(platform::Platform& platform, PlayerModuleInstaller installPlayerModule);

} // namespace vostrel::app
