#include "tests/audio/player_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/audio/reference_decoder.h"

namespace vostrel::audio::test {

std::string fileList(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) {
        list += name;
        list += '\0';
    }
    list += '\0';
    return list;
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

namespace {
std::size_t entries(const char* directory) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory)) ++count;
    return count;
}
} // namespace

std::size_t threadCount() {
    // Some runtimes (ThreadSanitizer's among them) start a helper thread of
    // their own at the first thread creation; start one here once so that it
    // is already counted in every baseline.
    static const bool runtimeThreadsStarted = [] {
        std::thread([] {}).join();
        return true;
    }();
    (void)runtimeThreadsStarted;
    return entries("/proc/self/task");
}
std::size_t openDescriptorCount() { return entries("/proc/self/fd"); }

std::vector<std::int16_t> samplesOf(const std::vector<std::uint8_t>& pcm) {
    std::vector<std::int16_t> samples(pcm.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
    }
    return samples;
}

int maxDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    int worst = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

PlayerHarness::PlayerHarness(platform::sim::SimWaveOutMode mode) : device(mode) {
    registerPlayerModule(table, device, reaper);
}

PlayerHandle PlayerHarness::create(const std::vector<std::string>& files, std::int32_t count) {
    const auto* op = table.find<CreatePlayerOp>("CreatePlayer");
    EXPECT_NE(op, nullptr);
    return op ? op->call(fileList(files).c_str(), count) : nullptr;
}

void PlayerHarness::newPlay(PlayerHandle player, ProgressWindow* window, const char* passPhrase,
                            std::int32_t startPercent) {
    table.find<NewPlayOp>("NewPlay")->call(player, window, passPhrase, startPercent);
}

PlayerHandle PlayerHarness::start(const std::vector<std::string>& files, std::int32_t count, ProgressWindow* window) {
    PlayerHandle player = create(files, count);
    newPlay(player, window);
    return player;
}

void PlayerHarness::play(PlayerHandle player) { table.find<PlayOp>("Play")->call(player); }

std::int32_t PlayerHarness::state(PlayerHandle player) {
    return table.find<GetPlayStateOp>("GetPlayState")->call(player);
}

void PlayerHarness::setPause(PlayerHandle player, std::int32_t pause) {
    table.find<SetPauseStateOp>("SetPauseState")->call(player, pause);
}

void PlayerHarness::remove(PlayerHandle player) { table.find<RemovePlayerOp>("RemovePlayer")->call(player); }

bool PlayerHarness::waitForClosedSessions(std::size_t count, std::chrono::milliseconds timeout) {
    return device.waitFor(
        [&](const platform::sim::SimWaveOutRecord& r) {
            if (r.sessions.size() < count) return false;
            for (std::size_t i = 0; i < count; ++i) {
                if (!r.sessions[i].closed) return false;
            }
            return true;
        },
        timeout);
}

::testing::AssertionResult PlayerHarness::heardWholeOf(const std::string& file) {
    if (!waitForClosedSessions(1)) return ::testing::AssertionFailure() << "the first session did not close";
    const std::size_t heard = device.record().sessions[0].heard.size();
    const std::size_t whole = referencePcmBytes(file);
    if (heard == whole) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "heard " << heard << " bytes of " << whole;
}

bool PlayerHarness::waitForWritten(std::size_t bytes) {
    return device.waitFor(
        [&](const platform::sim::SimWaveOutRecord& r) {
            return !r.sessions.empty() && r.sessions[0].written * kStereoBlockBytes == bytes;
        },
        20s);
}

std::size_t PlayerHarness::holdLastBlockOf(const std::string& file) {
    const std::size_t total = referencePcmBytes(file);
    device.stallAfter(total - kStereoBlockBytes);
    return total;
}

} // namespace vostrel::audio::test
