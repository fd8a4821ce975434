// vostrel_engine_bench: the player engine's figures, measured side by side in one run and
// printed as a table. What each figure means, its goal and what it was: bench/README.md.
//
//   vostrel_engine_bench              the full run (about 40 s)
//   vostrel_engine_bench --quick      fewer repetitions and 3 s of playback (a few seconds; scripts/test)
//   vostrel_engine_bench --decode pipeline|alone
//                                     decodes the five-minute file once and prints the seconds,
//                                     for a profiler: valgrind --tool=callgrind ... --decode pipeline
#include <mpg123.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
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

// How many times each figure is measured, and how long the CPU figure's prompt sounds.
struct Repetitions {
    int decodes;
    int prompts;
    int stuckStops;
    int playbacks;
    std::chrono::seconds playback; // 0: the whole ten-second file
};
constexpr Repetitions kFull{5, 200, 5, 3, 0s};
constexpr Repetitions kQuick{3, 50, 1, 1, 3s};

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }
double millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const std::size_t at = std::min(values.size() - 1, static_cast<std::size_t>(p * (values.size() - 1) + 0.5));
    return values[at];
}
double median(std::vector<double> values) { return percentile(std::move(values), 0.5); }

std::string testFile(const char* name) { return std::string(VOSTREL_SOURCE_DIR) + "/testdata/mp3/" + name; }
std::string voicePrompt() { return std::string(VOSTREL_SOURCE_DIR) + "/assets/1speak.mp3"; }

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

struct Throughput {
    std::vector<double> ratios;
    std::vector<double> aloneSeconds;
    std::vector<double> pipelineSeconds;
};

Throughput measureThroughput(int runs) {
    const fs::path fiveMinutes = makeFiveMinuteFile();
    Throughput throughput;
    for (int run = 0; run < runs; ++run) {
        const double alone = decodeWithLibmpg123Alone(fiveMinutes.string());
        const double pipeline = decodeThroughThePipeline(fiveMinutes.string());
        throughput.aloneSeconds.push_back(alone);
        throughput.pipelineSeconds.push_back(pipeline);
        throughput.ratios.push_back(alone / pipeline);
    }
    fs::remove(fiveMinutes);
    return throughput;
}

struct Prompts {
    std::vector<double> latencyMs;
    std::vector<double> stopMs;
};

Prompts measurePrompts(int count) {
    BenchEngine engine(SimWaveOutMode::RealTime);
    auto& device = engine.device;
    auto& slot = engine.slot;
    const std::string voice = voicePrompt();
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
    const std::string voice = voicePrompt();
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

constexpr std::pair<SimWaveOutStep, const char*> kStuckSteps[] = {{SimWaveOutStep::Open, "open"},
                                                                  {SimWaveOutStep::Write, "write"},
                                                                  {SimWaveOutStep::Reset, "reset"},
                                                                  {SimWaveOutStep::Close, "close"}};

std::vector<std::vector<double>> measureStuckStops(int runs) {
    std::vector<std::vector<double>> stopsMs;
    for (const auto& [step, name] : kStuckSteps) {
        stopsMs.emplace_back();
        for (int run = 0; run < runs; ++run) stopsMs.back().push_back(stopWithStuckDeviceMs(step));
    }
    return stopsMs;
}

// What a sounding prompt costs the whole process (engine, player and the simulated device's
// own thread): CPU time and the threads' wake-ups (voluntary context switches), per second.
struct PlaybackCost {
    double cpuPercent;
    double wakeUpsPerSecond;
};

long wakeUpsSoFar() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw;
}

PlaybackCost measurePlayback(std::chrono::seconds length) {
    BenchEngine engine(SimWaveOutMode::RealTime);
    auto& device = engine.device;
    auto& slot = engine.slot;
    const std::clock_t cpuStart = std::clock();
    const long wakeUpsStart = wakeUpsSoFar();
    const auto start = Clock::now();
    slot.PlayMp3(1, {std::string_view(testFile("long.mp3"))});
    const auto closed = [](const SimWaveOutRecord& r) { return !r.sessions.empty() && r.sessions[0].closed; };
    device.waitFor(closed, length == 0s ? 60s : std::chrono::milliseconds(length));
    const double wall = seconds(Clock::now() - start);
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const long wakeUps = wakeUpsSoFar() - wakeUpsStart;
    slot.StopPlayback();
    return {100.0 * cpu / wall, static_cast<double>(wakeUps) / wall};
}

void printRow(const std::string& figure, double middle, const std::string& spread, const char* goal) {
    std::printf("%-70s %10.3f %10s %12s\n", figure.c_str(), middle, spread.c_str(), goal);
}

std::string fixed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

void runAll(const Repetitions& reps) {
    const Throughput throughput = measureThroughput(reps.decodes);
    const Prompts prompts = measurePrompts(reps.prompts);
    const auto stuckStopsMs = measureStuckStops(reps.stuckStops);
    std::vector<double> cpu;
    std::vector<double> wakeUps;
    for (int run = 0; run < reps.playbacks; ++run) {
        const PlaybackCost cost = measurePlayback(reps.playback);
        cpu.push_back(cost.cpuPercent);
        wakeUps.push_back(cost.wakeUpsPerSecond);
    }

    std::printf("%-70s %10s %10s %12s\n", "figure", "median", "p99/max", "goal");
    printRow("throughput, pipeline / libmpg123 alone (5 min 44.1 kHz stereo)", median(throughput.ratios),
             fixed(percentile(throughput.ratios, 0.0)) + " min", ">= 0.95");
    printRow("  libmpg123 alone, s", median(throughput.aloneSeconds), "-", "-");
    printRow("  whole pipeline into the instant device, s", median(throughput.pipelineSeconds), "-", "-");
    printRow("latency PlayMp3 -> first PCM block at the device, ms", median(prompts.latencyMs),
             fixed(percentile(prompts.latencyMs, 0.99)), "p99 <= 5");
    printRow("StopPlayback while a prompt sounds, ms", median(prompts.stopMs), fixed(percentile(prompts.stopMs, 0.99)),
             "p99 <= 15");
    for (std::size_t i = 0; i < stuckStopsMs.size(); ++i) {
        printRow(std::string("StopPlayback, device hung in ") + kStuckSteps[i].second + ", ms", median(stuckStopsMs[i]),
                 fixed(percentile(stuckStopsMs[i], 1.0)), "max <= 200");
    }
    const std::string sounding =
        reps.playback == 0s ? "a 10 s prompt" : "first " + std::to_string(reps.playback.count()) + " s of a prompt";
    printRow("CPU per second of playback, % of one core (" + sounding + ")", median(cpu), "-", "< 1");
    printRow("wake-ups per second of playback, all threads (" + sounding + ")", median(wakeUps), "-", "-");
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--decode" && (args[1] == "pipeline" || args[1] == "alone")) {
        const fs::path fiveMinutes = makeFiveMinuteFile();
        const double s = args[1] == "pipeline" ? decodeThroughThePipeline(fiveMinutes.string())
                                               : decodeWithLibmpg123Alone(fiveMinutes.string());
        fs::remove(fiveMinutes);
        std::printf("%.3f s\n", s);
        return 0;
    }
    if (args.size() > 1 || (args.size() == 1 && args[0] != "--quick")) {
        std::fprintf(stderr, "usage: vostrel_engine_bench [--quick | --decode pipeline|alone]\n");
        return 2;
    }
    runAll(args.empty() ? kFull : kQuick);
    return 0;
}
