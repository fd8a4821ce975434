// The whole engine on any file, as the player module drives it: a player for the one file,
// played once onto the simulated device until it stops of its own accord, then destroyed. The
// player always stops, every device it opened is closed again, and every buffer written was
// returned, holding whole sample frames of the format the device was opened with.
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "audio/player.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "fuzz/scratch_folder.h"
#include "platform/sim/sim_wave_out.h"

namespace vostrel::fuzz {

namespace {

using namespace std::chrono_literals;

// Far beyond what any input of the fuzzer's length takes to play on the instant device.
constexpr auto kMostPlayingTime = 20s;
constexpr auto kPollInterval = 100us;

bool stopsWithin(const audio::Player& player, std::chrono::steady_clock::duration limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (player.playState() != 0) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

void checkDevice(const platform::sim::SimWaveOutRecord& record) {
    FUZZ_EXPECT(record.openDevices == 0);
    for (const platform::sim::SimWaveOutSession& session : record.sessions) {
        FUZZ_EXPECT(session.closed);
        FUZZ_EXPECT(session.queued() == 0);
        FUZZ_EXPECT(session.heard.size() % session.format.blockAlign() == 0);
    }
}

} // namespace

int engine(const std::uint8_t* data, std::size_t size) {
    static const std::string path = scratchFile("prompt.mp3");
    writeScratchFile(path, std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string fileList = path + '\0' + '\0';

    platform::sim::SimWaveOutDriver device(platform::sim::SimWaveOutMode::Instant);
    std::unique_ptr<audio::Player> player = audio::Player::create(fileList.c_str(), 1, device);
    FUZZ_EXPECT(player != nullptr);
    player->newPlay(nullptr, nullptr, 0);
    FUZZ_EXPECT(stopsWithin(*player, kMostPlayingTime));
    player.reset();
    checkDevice(device.record());
    return 0;
}

} // namespace vostrel::fuzz
