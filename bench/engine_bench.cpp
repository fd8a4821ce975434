// vostrel_engine_bench: the player engine's figures, measured side by side in one run and
// printed as a table (median of several runs each).
//
//   throughput   a five-minute 44.1 kHz stereo MP3 through the whole pipeline into the instant
//                device, as a ratio to libmpg123 alone decoding the same file (goal >= 0.85)
//   latency      PlayMp3 to the first PCM block at the device, p99 (goal <= 20 ms)
//   stop         how long StopPlayback blocks while a prompt sounds, p99 (goal <= 15 ms)
//   stuck stop   how long StopPlayback blocks when the prompt's device hangs in open, write,
//                reset or close and never lets go meanwhile, worst of several (goal <= 200 ms)
//   cpu          CPU time per second of real-time playback (goal < 2 % of one core)
#include <mpg123.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/play_command.h"
#include "audio/player_entry_table.h"
#include "audio/player_module.h"
#include "platform/sim/sim_wave_out.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using vostrel::platform::sim::SimWaveOutDriver;
using vostrel::platform::sim::SimWaveOutMode;
using vostrel::platform::sim::SimWaveOutRecord;
using vostrel::platform::sim::SimWaveOutStep;
namespace fs = std::filesystem;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }
double millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const std::size_t at = std::min(values.size() - 1, static_cast<std::size_t>(p * (values.size() - 1) + 0.5));
    return values[at];
}
double median(std::vector<double> values) { return percentile(std::move(values), 0.5); }

std::string testFile(const char* name) { return std::string(VOSTREL_SOURCE_DIR) + "/testdata/mp3/" + name; }

// Five minutes: thirty copies of the ten-second test file (plain CBR frames join cleanly).
fs::path makeFiveMinuteFile() {
    const fs::path path = fs::temp_directory_path() / "vostrel-bench-5min.mp3";
    std::ifstream ten(testFile("long.mp3"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(ten)), std::istreambuf_iterator<char>());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < 30; ++i) out << bytes;
    return path;
}

double decodeWithLibmpg123Alone(const std::string& path) {
    const auto start = Clock::now();
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_FLAGS, MPG123_QUIET, 0);
    mpg123_open(handle, path.c_str());
    std::size_t total = 0;
    for (;;) {
        off_t frame = 0;
        unsigned char* audio = nullptr;
        size_t bytes = 0;
        const int status = mpg123_decode_frame(handle, &frame, &audio, &bytes);
        if (status == MPG123_DONE || (status != MPG123_OK && status != MPG123_NEW_FORMAT)) break;
        total += bytes;
    }
    mpg123_close(handle);
    mpg123_delete(handle);
    if (total == 0) std::fprintf(stderr, "libmpg123 decoded nothing\n");
    return seconds(Clock::now() - start);
}

// The player module on a simulated device that keeps no PCM, with the program's play slot.
// Members end in reverse: the slot removes its player, the reaper waits for every teardown,
// and only then does the device go.
struct BenchEngine {
    explicit BenchEngine(SimWaveOutMode mode) : device(mode) {
        device.setRecordPcm(false);
        vostrel::audio::registerPlayerModule(table, device, reaper);
    }
    SimWaveOutDriver device;
    vostrel::audio::TeardownReaper reaper;
    vostrel::audio::PlayerEntryTable table;
    vostrel::audio::PlaySlot slot{table};
};

double decodeThroughThePipeline(const std::string& path) {
    BenchEngine engine(SimWaveOutMode::Instant);
    auto& device = engine.device;
    auto& table = engine.table;
    std::string list = path;
    list.append(2, '\0');
    const auto start = Clock::now();
    auto player = table.find<vostrel::audio::CreatePlayerOp>("CreatePlayer")->call(list.c_str(), 1);
    table.find<vostrel::audio::PlayOp>("Play")->call(player);
    device.waitFor([](const SimWaveOutRecord& r) { return !r.sessions.empty() && r.sessions[0].closed; }, 600s);
    const double elapsed = seconds(Clock::now() - start);
    table.find<vostrel::audio::RemovePlayerOp>("RemovePlayer")->call(player);
    return elapsed;
}

struct Prompts {
    std::vector<double> latencyMs;
    std::vector<double> stopMs;
};

Prompts measurePrompts(int count) {
    BenchEngine engine(SimWaveOutMode::RealTime);
    auto& device = engine.device;
    auto& slot = engine.slot;
    const std::string voice = std::string(VOSTREL_SOURCE_DIR) + "/assets/1speak.mp3";
    Prompts prompts;
    for (int i = 0; i < count; ++i) {
        const auto asked = Clock::now();
        slot.PlayMp3(1, {std::string_view(voice)});
        device.waitFor(
            [&](const SimWaveOutRecord& r) {
                return r.sessions.size() == static_cast<std::size_t>(i + 1) && r.sessions[i].firstWriteAt;
            },
            10s);
        const auto first = *device.record().sessions[i].firstWriteAt;
        prompts.latencyMs.push_back(millis(first - asked));
        const auto stopping = Clock::now();
        slot.StopPlayback();
        prompts.stopMs.push_back(millis(Clock::now() - stopping));
    }
    return prompts;
}

// StopPlayback's time while the prompt's device hangs in `step`: a call made while it plays
// (open, write) or one of its teardown (reset, close).
double stopWithStuckDeviceMs(SimWaveOutStep step) {
    BenchEngine engine(SimWaveOutMode::RealTime);
    auto& device = engine.device;
    auto& slot = engine.slot;
    const std::string voice = std::string(VOSTREL_SOURCE_DIR) + "/assets/1speak.mp3";
    device.hangAt(step);
    slot.PlayMp3(1, {std::string_view(voice)});
    const bool hangsWhilePlaying = step == SimWaveOutStep::Open || step == SimWaveOutStep::Write;
    device.waitFor(
        [&](const SimWaveOutRecord& r) {
            return hangsWhilePlaying ? r.hungCalls == 1 : !r.sessions.empty() && r.sessions[0].played > 0;
        },
        10s);
    const auto stopping = Clock::now();
    slot.StopPlayback();
    const double stopMs = millis(Clock::now() - stopping);
    if (device.record().hungCalls != 1) std::fprintf(stderr, "the device did not hang as asked\n");
    device.releaseHang();
    return stopMs;
}

double cpuPercentOfRealTimePlayback() {
    BenchEngine engine(SimWaveOutMode::RealTime);
    auto& device = engine.device;
    auto& slot = engine.slot;
    const std::clock_t cpuStart = std::clock();
    const auto start = Clock::now();
    slot.PlayMp3(1, {std::string_view(testFile("long.mp3"))});
    device.waitFor([](const SimWaveOutRecord& r) { return !r.sessions.empty() && r.sessions[0].closed; }, 60s);
    const double wall = seconds(Clock::now() - start);
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    slot.StopPlayback();
    return 100.0 * cpu / wall;
}

} // namespace

int main() {
    constexpr int kRuns = 5;
    const fs::path fiveMinutes = makeFiveMinuteFile();

    std::vector<double> ratios;
    std::vector<double> pipelineSeconds;
    std::vector<double> aloneSeconds;
    for (int run = 0; run < kRuns; ++run) {
        const double alone = decodeWithLibmpg123Alone(fiveMinutes.string());
        const double pipeline = decodeThroughThePipeline(fiveMinutes.string());
        aloneSeconds.push_back(alone);
        pipelineSeconds.push_back(pipeline);
        ratios.push_back(alone / pipeline);
    }
    fs::remove(fiveMinutes);

    const Prompts prompts = measurePrompts(200);
    const std::pair<SimWaveOutStep, const char*> stuckSteps[] = {{SimWaveOutStep::Open, "open"},
                                                                 {SimWaveOutStep::Write, "write"},
                                                                 {SimWaveOutStep::Reset, "reset"},
                                                                 {SimWaveOutStep::Close, "close"}};
    std::vector<std::vector<double>> stuckStopMs;
    for (const auto& [step, name] : stuckSteps) {
        stuckStopMs.emplace_back();
        for (int run = 0; run < kRuns; ++run) stuckStopMs.back().push_back(stopWithStuckDeviceMs(step));
    }
    std::vector<double> cpu;
    for (int run = 0; run < 3; ++run) cpu.push_back(cpuPercentOfRealTimePlayback());

    std::printf("%-58s %10s %10s %10s\n", "figure", "median", "p99/max", "goal");
    std::printf("%-58s %10.3f %10s %10s\n", "throughput, pipeline / libmpg123 alone (5 min 44.1 kHz stereo)",
                median(ratios), "-", ">= 0.85");
    std::printf("%-58s %10.3f %10s %10s\n", "  libmpg123 alone, s", median(aloneSeconds), "-", "-");
    std::printf("%-58s %10.3f %10s %10s\n", "  whole pipeline into the instant device, s", median(pipelineSeconds), "-",
                "-");
    std::printf("%-58s %10.2f %10.2f %10s\n", "latency PlayMp3 -> first PCM block at the device, ms",
                median(prompts.latencyMs), percentile(prompts.latencyMs, 0.99), "p99 <= 20");
    std::printf("%-58s %10.2f %10.2f %10s\n", "StopPlayback while a prompt sounds, ms", median(prompts.stopMs),
                percentile(prompts.stopMs, 0.99), "p99 <= 15");
    for (std::size_t i = 0; i < stuckStopMs.size(); ++i) {
        const std::string figure = std::string("StopPlayback, device hung in ") + stuckSteps[i].second + ", ms";
        std::printf("%-58s %10.2f %10.2f %10s\n", figure.c_str(), median(stuckStopMs[i]),
                    percentile(stuckStopMs[i], 1.0), "max <= 200");
    }
    std::printf("%-58s %10.2f %10s %10s\n", "CPU per second of real-time playback, % of one core", median(cpu), "-",
                "< 2");
    return 0;
}
