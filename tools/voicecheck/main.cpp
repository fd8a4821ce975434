// vostrel-voicecheck: plays voice files through the real player engine into a recording
// device and reports, for each, its MPEG stream, length and every problem.
//
//   vostrel-voicecheck [--wav OUT] [FILE...]
//
// Without files it checks the eight voice files in "Vostrel" beside the program. --wav writes
// the PCM of the (one) file checked as a WAV file. Exit status: 0 when every file is fine,
// 1 when a file has a problem, 2 on a usage error.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/voicecheck/voice_check.h"
#include "tools/voicecheck/wav_writer.h"

namespace {

using vostrel::voicecheck::FileReport;

std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string programDirectory(const std::string& argv0) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(pathOf(argv0), ec);
    const std::u8string dir = self.parent_path().u8string();
    return std::string(dir.begin(), dir.end());
}

std::string fileNameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

void print(const FileReport& report) {
    std::printf("%s\n", report.path.c_str());
    if (report.stream) {
        std::printf("  %s, %d Hz, %d channel%s, %lld frames, %.2f s\n",
                    vostrel::voicecheck::describeVersion(*report.stream).c_str(), report.stream->sampleRate(),
                    report.stream->channels(), report.stream->channels() == 1 ? "" : "s",
                    static_cast<long long>(report.frames), report.seconds);
    }
    for (const std::string& problem : report.problems) std::printf("  problem: %s\n", problem.c_str());
    if (report.problems.empty()) std::printf("  ok\n");
}

int usage() {
    std::fprintf(stderr, "usage: vostrel-voicecheck [--wav OUT.wav] [FILE.mp3...]\n");
    return 2;
}

// The arguments as UTF-8, whatever the system's code page.
int run(const std::vector<std::string>& argv) {
    const int argc = static_cast<int>(argv.size());
    std::string wavPath;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string& arg = argv[i];
        if (arg == "--wav") {
            if (++i >= argc) return usage();
            wavPath = argv[i];
        } else if (arg == "--help" || arg == "-h") {
            usage();
            return 0;
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        const std::string base = programDirectory(argv[0]) + "/Vostrel/";
        for (int n = 1; n <= 8; ++n) files.push_back(base + std::to_string(n) + "speak.mp3");
    }
    if (!wavPath.empty() && files.size() != 1) {
        std::fprintf(stderr, "vostrel-voicecheck: --wav needs exactly one file\n");
        return 2;
    }

    vostrel::platform::sim::SimWaveOutDriver device(vostrel::platform::sim::SimWaveOutMode::Instant);
    bool problems = false;
    for (const std::string& file : files) {
        const FileReport report =
            vostrel::voicecheck::checkFile(file, device, vostrel::voicecheck::secondsUntilNextPrompt(fileNameOf(file)));
        print(report);
        problems = problems || !report.problems.empty();
        if (!wavPath.empty()) {
            if (report.pcm.empty()) {
                std::fprintf(stderr, "vostrel-voicecheck: no PCM to write\n");
                problems = true;
            } else if (!vostrel::voicecheck::writeWav(wavPath, report.pcm, report.channels, report.sampleRate)) {
                std::fprintf(stderr, "vostrel-voicecheck: cannot write %s\n", wavPath.c_str());
                problems = true;
            }
        }
    }
    return problems ? 1 : 0;
}

} // namespace

#ifdef _WIN32
// The wide entry point: the narrow argv of Windows is in the ANSI code page and loses every
// character outside it (Chinese folder names on a Western system).
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) {
        const std::u8string utf8 = std::filesystem::path(argv[i]).u8string();
        args.emplace_back(utf8.begin(), utf8.end());
    }
    return run(args);
}
#else
int main(int argc, char** argv) { return run(std::vector<std::string>(argv, argv + argc)); }
#endif
