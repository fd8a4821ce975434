#pragma once
// The player module registered into an entry table, on the simulated wave-out device, with
// the helpers the player tests share.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "audio/player_entry_table.h"
#include "audio/player_module.h"
#include "platform/sim/sim_wave_out.h"
#include "tests/audio/pipeline_runner.h"

namespace vostrel::audio::test {

using namespace std::chrono_literals;

// The file list CreatePlayer takes: each name NUL-terminated, then one more NUL.
std::string fileList(const std::vector<std::string>& names);

// Polls `condition` every millisecond (for state the device does not record); false after
// `timeout`.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s);

// Threads and open file descriptors of this process, for leak checks.
std::size_t threadCount();
std::size_t openDescriptorCount();

// Samples of what a session heard, interleaved 16-bit.
std::vector<std::int16_t> samplesOf(const std::vector<std::uint8_t>& pcm);

// The largest difference between two sample runs over their common length.
int maxDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b);

// One block of a 44.1 kHz stereo layer III stream: a frame's 1152 samples of 16-bit PCM.
constexpr std::size_t kStereoBlockBytes = 4608;

struct PlayerHarness {
    explicit PlayerHarness(platform::sim::SimWaveOutMode mode = platform::sim::SimWaveOutMode::Instant);

    PlayerHandle create(const std::vector<std::string>& files, std::int32_t count);
    void newPlay(PlayerHandle player, ProgressWindow* window = nullptr, const char* passPhrase = nullptr,
                 std::int32_t startPercent = 0);
    // CreatePlayer, then NewPlay.
    PlayerHandle start(const std::vector<std::string>& files, std::int32_t count, ProgressWindow* window = nullptr);
    void play(PlayerHandle player);
    std::int32_t state(PlayerHandle player);
    void setPause(PlayerHandle player, std::int32_t pause);
    void remove(PlayerHandle player);

    // Waits until `count` sessions have been opened and closed again.
    bool waitForClosedSessions(std::size_t count, std::chrono::milliseconds timeout = 20s);
    // Waits until the first session has closed, then compares what it heard with the whole file.
    ::testing::AssertionResult heardWholeOf(const std::string& file);
    // Waits until the first session has written `bytes` in blocks of kStereoBlockBytes.
    bool waitForWritten(std::size_t bytes);
    // Stalls the device before the last block of a stereo file: it is decoded and written, and
    // stays at the device until releaseStall. Returns the file's PCM bytes.
    std::size_t holdLastBlockOf(const std::string& file);

    platform::sim::SimWaveOutDriver device;
    TeardownReaper reaper;
    PlayerEntryTable table;
};

} // namespace vostrel::audio::test
