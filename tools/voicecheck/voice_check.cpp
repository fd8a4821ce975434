#include "tools/voicecheck/voice_check.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "audio/player_entry_table.h"
#include "audio/player_module.h"
#include "audio/stream_search.h"
#include "schedule/prompt_table.h"

namespace vostrel::voicecheck {

namespace {

using namespace std::chrono_literals;

// The shortest exam of the day (文数/理数 and 英语): the gap from the start prompt to the
// prompt 15 minutes before the end is shortest there.
constexpr int kShortestExamMinutes = 120;
// A clip is played in far less than this on the recording device; beyond it the engine hangs.
constexpr auto kPlayLimit = 120s;

std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The stream search as the decoder does it: past an ID3v2 tag, up to 32 attempts, each after
// the next sync.
std::optional<audio::FrameHeader> findStream(const std::vector<std::uint8_t>& bytes) {
    std::size_t at = 0;
    if (bytes.size() >= 10) at = static_cast<std::size_t>(std::min<std::uint64_t>(audio::streamStartAfterId3(bytes.data()), bytes.size()));
    for (int attempt = 0; attempt < 32 && at < bytes.size(); ++attempt) {
        const std::size_t length = std::min(audio::kStreamSearchBytes, bytes.size() - at);
        if (const auto start = audio::findStreamStart(bytes.data() + at, length)) return start->header;
        const auto next = audio::findSync(bytes.data() + at, bytes.size() - at, 1);
        if (!next) break;
        at += *next;
    }
    return std::nullopt;
}

class EndWatcher : public audio::ProgressWindow {
public:
    bool exists() const override { return true; }
    void postProgress(int) override {}
};

} // namespace

std::string describeVersion(const audio::FrameHeader& header) {
    const char* version = header.version() == audio::MpegVersion::Mpeg1   ? "MPEG-1"
                          : header.version() == audio::MpegVersion::Mpeg2 ? "MPEG-2"
                                                                          : "MPEG 2.5";
    const char* layer = header.layer == 1 ? "Layer I" : header.layer == 2 ? "Layer II" : "Layer III";
    return std::string(version) + " " + layer;
}

std::optional<int> secondsUntilNextPrompt(const std::string& fileName) {
    const auto& table = schedule::kPromptTable;
    for (std::size_t row = 0; row + 1 < table.size(); ++row) {
        const std::string_view voice = table[row].voiceFile;
        if (voice.substr(voice.rfind('/') + 1) != fileName) continue;
        // Minutes from the exam's start: negative before it.
        const auto minuteOf = [](const schedule::PromptRow& r) {
            return r.reference == schedule::PromptReference::Start ? -r.minutesBefore
                                                                   : kShortestExamMinutes - r.minutesBefore;
        };
        return (minuteOf(table[row + 1]) - minuteOf(table[row])) * 60;
    }
    return std::nullopt;
}

FileReport checkFile(const std::string& path, platform::sim::SimWaveOutDriver& device,
                     std::optional<int> secondsUntilNextPrompt) {
    FileReport report;
    report.path = path;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(pathOf(path), ec)) {
        report.problems.push_back("missing");
        return report;
    }
    report.stream = findStream(readFile(pathOf(path)));

    audio::TeardownReaper reaper;
    audio::PlayerEntryTable table;
    audio::registerPlayerModule(table, device, reaper);
    const std::size_t sessionsBefore = device.record().sessions.size();
    std::string list = path;
    list.push_back('\0');
    list.push_back('\0');
    audio::PlayerHandle player = table.find<audio::CreatePlayerOp>("CreatePlayer")->call(list.c_str(), 1);
    if (!player) {
        report.problems.push_back("the player could not be created");
        return report;
    }
    EndWatcher window;
    table.find<audio::NewPlayOp>("NewPlay")->call(player, &window, nullptr, 0);
    const auto* state = table.find<audio::GetPlayStateOp>("GetPlayState");
    const auto deadline = std::chrono::steady_clock::now() + kPlayLimit;
    while (state->call(player) != 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(2ms);
    const bool finished = state->call(player) == 0;
    table.find<audio::RemovePlayerOp>("RemovePlayer")->call(player);
    reaper.finish(kPlayLimit);  // the report reads the record of a closed session

    const platform::sim::SimWaveOutRecord record = device.record();
    if (record.sessions.size() > sessionsBefore) {
        const auto& session = record.sessions[sessionsBefore];
        report.channels = session.format.channels;
        report.sampleRate = static_cast<int>(session.format.samplesPerSecond);
        report.pcm = session.heard;
    }
    if (!report.stream) {
        report.problems.push_back("no audio stream");
    } else if (report.pcm.empty()) {
        report.problems.push_back("refused by the decoder");
    }
    if (!finished) report.problems.push_back("did not finish playing");
    if (report.channels > 0 && report.sampleRate > 0) {
        const std::int64_t perChannel = static_cast<std::int64_t>(report.pcm.size() / 2) / report.channels;
        const int samplesPerFrame = report.stream ? report.stream->samplesPerFrame() : 1152;
        report.frames = perChannel / samplesPerFrame;
        report.seconds = static_cast<double>(perChannel) / report.sampleRate;
    }
    if (secondsUntilNextPrompt && report.seconds > *secondsUntilNextPrompt) {
        report.problems.push_back("longer than the " + std::to_string(*secondsUntilNextPrompt) +
                                  " s until the next prompt");
    }
    return report;
}

} // namespace vostrel::voicecheck
