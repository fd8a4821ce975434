#pragma once
// The one seam between the program's behaviours and the operating system: a bundle of the
// concern interfaces. Each backend (sim/, qt/, win32/) provides one implementation and its
// createPlatform(); the program's entry point calls it, tests build the simulated one
// directly.
//
// Contract: the Platform outlives everything that uses it. Every interface is UI-thread only
// except Clock (any thread), the text codec (any thread), WaveOutDriver (see wave_out.h) and
// BackgroundFiles (any thread but the UI's).
#include <memory>

#include "platform/background_files.h"
#include "platform/clock.h"
#include "platform/clock_sync.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/input_form.h"
#include "platform/message_box.h"
#include "platform/power.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "platform/single_instance.h"
#include "platform/wave_out.h"
#include "platform/window_host.h"

namespace vostrel::platform {

class Platform {
public:
    virtual ~Platform() = default;
    virtual WindowHost& windows() = 0;
    virtual EventLoop& loop() = 0;
    virtual MessageBoxes& messages() = 0;
    virtual Clock& clock() = 0;
    virtual FileSystem& files() = 0;
    virtual ProfileStore& profile() = 0;
    virtual Shell& shell() = 0;
    virtual WaveOutDriver& audio() = 0;
    virtual PowerRequests& power() = 0;
    virtual InputForms& forms() = 0;
    virtual BackgroundFiles& backgroundFiles() = 0;
    virtual SingleInstance& instance() = 0;
    virtual ClockSync& clockSync() = 0;
};

// Provided by the backend the program is linked with.
std::unique_ptr<Platform> createPlatform(int argc, char** argv);

} // namespace vostrel::platform
