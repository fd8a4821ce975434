// The program's entry point: the platform of the backend it was built with, then the program
// with the real player engine in its entry table, playing on that platform's sound device.
#include "app/program.h"
#include "audio/player_module.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    const auto platform = vostrel::platform::createPlatform(argc, argv);
    auto& soundDevice = platform->audio();
    return vostrel::app::runProgram(*platform, [&soundDevice](vostrel::audio::PlayerEntryTable& table) {
        vostrel::audio::registerPlayerModule(table, soundDevice);
    });
}
