// The program's entry point: the platform of the backend it was built with, then the program
// with the real player engine in its entry table, playing on that platform's sound device.
#include <cstdio>
#include <cstdlib>

#include "app/program.h"
#include "audio/player_module.h"
#include "audio/teardown_reaper.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    const auto platform = vostrel::platform::createPlatform(argc, argv);
    auto& soundDevice = platform->audio();
    vostrel::audio::TeardownReaper reaper;
    const vostrel::app::ProgramEnd end =
        vostrel::app::runProgram(*platform, [&](vostrel::audio::PlayerEntryTable& table) {
            vostrel::audio::registerPlayerModule(table, soundDevice, reaper);
        });
    if (!reaper.finish(vostrel::audio::TeardownReaper::kGraceAtExit) || end.workLeftBehind) {
        // A sound device still holds a prompt's teardown, or a disk the record's last lines, and
        // may let go at any moment, when their threads would go on using the player, the driver,
        // the files and the toolkit. Nothing may be destroyed under them, so the process ends
        // here, leaving them as they are.
        std::fflush(nullptr);
        std::_Exit(end.exitCode);
    }
    return end.exitCode;
}
