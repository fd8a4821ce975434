// vostrel-voicecheck: plays voice files through the real player engine and reports, for each,
// its MPEG stream, length and every problem, in plain Chinese.
//
//   vostrel-voicecheck [--play] [--wav OUT] [FILE...]
//
// Without files it checks the eight voice files in "Vostrel" beside the program. The check plays
// each file into a recording device: a file that is missing, holds no audio, is silent, plays
// shorter than its frames or outlasts the gap to the next prompt is reported. --play then plays
// the files one after the other on the system's default sound device, as the program does, so
// the operator hears them in the exam room. --wav writes the PCM of the (one) file checked as a
// WAV file. The last line is a verdict. Exit status: 0 when every file is fine (and, with --play,
// was played), 1 otherwise, 2 on a usage error.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/utf8_path.h"
#include "tools/voicecheck/default_device.h"
#include "tools/voicecheck/report_text.h"
#include "tools/voicecheck/sound_check.h"
#include "tools/voicecheck/voice_check.h"
#include "tools/voicecheck/wav_writer.h"

namespace {

using namespace vostrel::voicecheck;
using vostrel::platform::writeToConsole;

// A clip may take this much longer on a real device than its length (opening the device,
// its buffer) before it counts as stuck.
constexpr std::chrono::seconds kDeviceGrace{10};

struct Options {
    bool play = false;
    std::string wavPath;
    std::vector<std::string> files;
};

std::string programDirectory(const std::string& argv0) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(vostrel::platform::pathFromUtf8(argv0), ec);
    return vostrel::platform::utf8FromPath(self.parent_path());
}

int usage() {
    std::fprintf(stderr, "usage: vostrel-voicecheck [--play] [--wav OUT.wav] [FILE.mp3...]\n");
    return 2;
}

// 0: go on; -1: done, exit 0 (help shown); otherwise the exit status of a usage error.
int parse(const std::vector<std::string>& argv, Options& options) {
    for (std::size_t i = 1; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (arg == "--play") {
            options.play = true;
        } else if (arg == "--wav") {
            if (++i >= argv.size()) return usage();
            options.wavPath = argv[i];
        } else if (arg == "--help" || arg == "-h") {
            usage();
            return -1;
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.files.empty()) {
        const std::string base = programDirectory(argv[0]) + "/Vostrel/";
        for (int n = 1; n <= 8; ++n) options.files.push_back(base + std::to_string(n) + "speak.mp3");
    }
    if (!options.wavPath.empty() && options.files.size() != 1) {
        std::fprintf(stderr, "vostrel-voicecheck: --wav needs exactly one file\n");
        return 2;
    }
    return 0;
}

bool writeWavOf(const FileReport& report, const std::string& wavPath) {
    if (report.pcm.empty()) {
        std::fprintf(stderr, "vostrel-voicecheck: no PCM to write\n");
        return false;
    }
    if (!writeWav(wavPath, report.pcm, report.channels, report.sampleRate)) {
        std::fprintf(stderr, "vostrel-voicecheck: cannot write %s\n", wavPath.c_str());
        return false;
    }
    return true;
}

std::vector<FileReport> checkAll(const Options& options, Tally& tally) {
    vostrel::platform::sim::SimWaveOutDriver recorder(vostrel::platform::sim::SimWaveOutMode::Instant);
    std::vector<FileReport> reports;
    for (const std::string& file : options.files) {
        FileReport report = checkFile(file, recorder, secondsUntilNextPrompt(fileNameOf(file)));
        writeToConsole(checkText(report));
        ++tally.files;
        if (!report.problems.empty()) ++tally.faulty;
        if (!options.wavPath.empty() && !writeWavOf(report, options.wavPath)) ++tally.faulty;
        if (options.play) reports.push_back(std::move(report));
    }
    return reports;
}

// Plays every file the engine could decode on the default device, in order; stops at a device
// that cannot be opened (the next file would meet the same).
void playAll(const std::vector<FileReport>& reports, Tally& tally) {
    writeToConsole("\n试听：从默认声音设备依次播放，请注意听。\n");
    const auto device = createDefaultDevice();
    for (const FileReport& report : reports) {
        writeToConsole(playHeading(report));
        if (!report.playable()) {
            writeToConsole("  不播放：这个文件有问题（见上面）\n");
            continue;
        }
        const auto limit = std::chrono::milliseconds(static_cast<long long>(report.seconds * 1000)) + kDeviceGrace;
        const DevicePlay play = playOnDevice(report.path, *device, limit);
        writeToConsole(devicePlayText(play));
        if (play.outcome == DevicePlay::Outcome::Played) ++tally.played;
        if (play.outcome == DevicePlay::Outcome::DeviceRefused) {
            tally.deviceRefused = true;
            return;
        }
    }
}

// The arguments as UTF-8, whatever the system's code page.
int run(const std::vector<std::string>& argv) {
    Options options;
    if (const int status = parse(argv, options)) return status < 0 ? 0 : status;
    if (options.play) writeToConsole("检查语音文件：\n");
    Tally tally;
    const std::vector<FileReport> reports = checkAll(options, tally);
    if (!options.play) {
        writeToConsole(checkVerdict(tally));
        return tally.faulty == 0 ? 0 : 1;
    }
    playAll(reports, tally);
    writeToConsole(soundCheckVerdict(tally));
    return tally.faulty == 0 && tally.played == tally.files ? 0 : 1;
}

} // namespace

#ifdef _WIN32
// The wide entry point: the narrow argv of Windows is in the ANSI code page and loses every
// character outside it (Chinese folder names on a Western system).
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(vostrel::platform::utf8FromPath(argv[i]));
    return run(args);
}
#else
int main(int argc, char** argv) { return run(std::vector<std::string>(argv, argv + argc)); }
#endif
