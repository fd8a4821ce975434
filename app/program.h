#pragma once
// The program's start and end: its own directory as the current directory, the global state,
// the main window with its creation-complete event, the event loop, and the end path that
// stops a sounding prompt and releases the state. The exit code is 0 on every path.
#include <functional>
#include <memory>

#include "audio/play_command.h"
#include "audio/player_entry_table.h"
#include "platform/platform.h"

namespace vostrel::app {

// Puts a player module's operations into the entry table.
using PlayerModuleInstaller = std::function<void(audio::PlayerEntryTable&)>;

class Program {
public:
    // The installer runs once, before the window exists; with none the table stays empty and
    // every prompt is skipped silently.
    explicit Program(platform::Platform& platform, PlayerModuleInstaller installPlayerModule = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Current directory, window with every control, creation-complete event, window shown.
    void start();
    // Runs the event loop until the main window is gone.
    void runEventLoop();
    // The end path: stops playback, releases the keep-awake request and the state. Returns the
    // exit code (0). Runs once; the destructor runs it if nobody did.
    int finish();

    // For tests and tools: the state the handlers work on.
    platform::Controls& controls();
    audio::PlaySlot& playSlot();

private:
    struct State;
    platform::Platform& platform_;
    std::unique_ptr<State> state_;
    bool finished_ = false;
};

// start(), runEventLoop(), finish(): the whole life of the program.
int runProgram(platform::Platform& platform, PlayerModuleInstaller installPlayerModule);

} // namespace vostrel::app
