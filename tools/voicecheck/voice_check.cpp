#include "tools/voicecheck/voice_check.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <filesystem>
#include <fstream>

#include "audio/player_entry_table.h"
#include "platform/utf8_path.h"
#include "schedule/prompt_table.h"
#include "tools/voicecheck/engine_play.h"
#include "tools/voicecheck/stream_survey.h"

namespace vostrel::voicecheck {

namespace {

using namespace std::chrono_literals;

// The shortest exam of the day (文数/理数 and 英语): the gap from the start prompt to the
// prompt 15 minutes before the end is shortest there.
constexpr int kShortestExamMinutes = 120;
// A clip is played in far less than this on the recording device; beyond it the engine hangs.
constexpr auto kPlayLimit = 120s;

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Takes the progress and drops it: the engine still works out its progress as it does for the
// program's window.
class DiscardingProgressWindow : public audio::ProgressWindow {
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

std::optional<int> promptNumber(const std::string& fileName) {
    const auto& table = schedule::kPromptTable;
    for (std::size_t row = 0; row < table.size(); ++row) {
        const std::string_view voice = table[row].voiceFile;
        if (voice.substr(voice.rfind('/') + 1) == fileName) return static_cast<int>(row) + 1;
    }
    return std::nullopt;
}

std::optional<int> secondsUntilNextPrompt(const std::string& fileName) {
    const auto& table = schedule::kPromptTable;
    const auto number = promptNumber(fileName);
    if (!number || static_cast<std::size_t>(*number) >= table.size()) return std::nullopt;
    // Minutes from the exam's start: negative before it.
    const auto minuteOf = [](const schedule::PromptRow& r) {
        return r.reference == schedule::PromptReference::Start ? -r.minutesBefore
                                                               : kShortestExamMinutes - r.minutesBefore;
    };
    const auto row = static_cast<std::size_t>(*number - 1);
    return (minuteOf(table[row + 1]) - minuteOf(table[row])) * 60;
}

bool FileReport::has(Problem problem) const {
    return std::find(problems.begin(), problems.end(), problem) != problems.end();
}

double peakDbfs(const std::vector<std::uint8_t>& pcm) {
    int peak = 0;
    for (std::size_t at = 0; at + 1 < pcm.size(); at += 2) {
        std::int16_t sample = 0;
        std::memcpy(&sample, pcm.data() + at, 2);
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    if (peak == 0) return -std::numeric_limits<double>::infinity();
    return 20.0 * std::log10(peak / 32768.0);
}

namespace {

// Plays the file once on the player engine; false when it did not come to its end in time.
// The report reads the record of a closed session, so the teardown gets as long as the play.
bool playOnce(const std::string& path, platform::sim::SimWaveOutDriver& device) {
    DiscardingProgressWindow window;
    const EnginePlay play = playThroughEngine(
        path, device, &window, kPlayLimit, 2ms, [] { return false; }, kPlayLimit);
    return play.created && play.ended;
}

void measure(FileReport& report) {
    if (report.channels <= 0 || report.sampleRate <= 0) return;
    const std::int64_t perChannel = static_cast<std::int64_t>(report.pcm.size() / 2) / report.channels;
    const int samplesPerFrame = report.stream ? report.stream->samplesPerFrame() : 1152;
    report.frames = perChannel / samplesPerFrame;
    report.seconds = static_cast<double>(perChannel) / report.sampleRate;
    report.peakDbfs = peakDbfs(report.pcm);
}

void judge(FileReport& report, bool finished) {
    if (!report.stream) {
        report.problems.push_back(Problem::NoAudioStream);
    } else if (report.pcm.empty()) {
        report.problems.push_back(Problem::RefusedByDecoder);
    }
    if (!finished) report.problems.push_back(Problem::DidNotFinish);
    if (report.pcm.empty()) return;
    if (report.peakDbfs < kSilentBelowDbfs) report.problems.push_back(Problem::Silent);
    if (report.frames < report.streamFrames) report.problems.push_back(Problem::Short);
    if (report.secondsUntilNextPrompt && report.seconds > *report.secondsUntilNextPrompt) {
        report.problems.push_back(Problem::LongerThanGap);
    }
}

} // namespace

FileReport checkFile(const std::string& path, platform::sim::SimWaveOutDriver& device,
                     std::optional<int> secondsUntilNextPrompt) {
    FileReport report;
    report.path = path;
    report.secondsUntilNextPrompt = secondsUntilNextPrompt;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(platform::pathFromUtf8(path), ec)) {
        report.problems.push_back(Problem::Missing);
        return report;
    }
    const StreamSurvey survey = surveyStream(readFile(platform::pathFromUtf8(path)));
    report.stream = survey.header;
    report.streamFrames = survey.audioFrames;

    const std::size_t sessionsBefore = device.record().sessions.size();
    const bool finished = playOnce(path, device);
    const platform::sim::SimWaveOutRecord record = device.record();
    if (record.sessions.size() > sessionsBefore) {
        const auto& session = record.sessions[sessionsBefore];
        report.channels = session.format.channels;
        report.sampleRate = static_cast<int>(session.format.samplesPerSecond);
        report.pcm = session.heard;
    }
    measure(report);
    judge(report, finished);
    return report;
}

} // namespace vostrel::voicecheck
