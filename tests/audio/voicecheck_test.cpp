// vostrel-voicecheck as an operator runs it: its report and its exit status.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

#include "tests/audio/reference_decoder.h"
#include "tests/audio/tagged_file.h"

namespace vostrel::audio::test {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string out;
};

ToolRun run(const std::string& program, const std::string& arguments) {
    ToolRun result;
    FILE* pipe = popen(("'" + program + "' " + arguments + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char chunk[4096];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) result.out.append(chunk, got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

ToolRun voicecheck(const std::string& arguments) { return run(VOSTREL_VOICECHECK, arguments); }

std::string quoted(const std::string& path) { return "'" + path + "'"; }

class TempDir {
public:
    TempDir() : path_(fs::temp_directory_path() / ("voicecheck-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                                   "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(Voicecheck, ReportsStreamAndLengthOfGoodFilesAndExitsZero) {
    const ToolRun r = voicecheck(quoted(testFile("cbr.mp3")) + " " + quoted(testFile("mpeg2_22050_mono.mp3")));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("MPEG-1 Layer III, 44100 Hz, 2 channels, 78 frames, 2.04 s"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("MPEG-2 Layer III, 22050 Hz, 1 channel, 79 frames, 2.06 s"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("problem"), std::string::npos) << r.out;
}

TEST(Voicecheck, NamesEveryProblemAndExitsNonZero) {
    const ToolRun r = voicecheck(quoted(testFile("not_mp3.mp3")) + " " + quoted(testFile("no_such_file.mp3")) + " " +
                             quoted(testFile("cbr.mp3")));
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("problem: no audio stream"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("problem: missing"), std::string::npos) << r.out;
}

TEST(Voicecheck, AgreesWithThePlayerOnFilesBehindALargeTagOfAnyVersion) {
    for (const int version : {2, 3, 4}) {
        const std::string file = behindAnId3Tag(version, 100000);
        const ToolRun r = voicecheck(quoted(file));
        std::filesystem::remove(file);
        EXPECT_EQ(r.status, 0) << "version " << version << ": " << r.out;
        EXPECT_NE(r.out.find("MPEG-1 Layer III, 44100 Hz, 2 channels"), std::string::npos) << "version " << version << ": " << r.out;
    }
}

TEST(Voicecheck, DefaultsToTheEightVoiceFilesBesideTheProgram) {
    TempDir dir;
    const fs::path program = dir.path() / "vostrel-voicecheck";
    fs::copy_file(VOSTREL_VOICECHECK, program);
    fs::create_directories(dir.path() / "Vostrel");
    for (int n = 1; n <= 8; ++n) {
        if (n != 3) fs::copy_file(testFile("few_frames.mp3"), dir.path() / "Vostrel" / (std::to_string(n) + "speak.mp3"));
    }
    const ToolRun r = run(program.string(), "");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("3speak.mp3\n  problem: missing"), std::string::npos) << r.out;
    std::size_t fine = 0;
    for (std::size_t at = 0; (at = r.out.find("\n  ok", at)) != std::string::npos; ++at) ++fine;
    EXPECT_EQ(fine, 7u) << r.out;
}

TEST(Voicecheck, AClipLongerThanTheTimeToTheNextPromptIsAProblem) {
    // The 4th prompt sounds 8 minutes before the start, the 5th 5 minutes before: 180 s apart.
    TempDir dir;
    const fs::path clip = dir.path() / "4speak.mp3";
    {
        std::ifstream ten(testFile("long.mp3"), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(ten)), std::istreambuf_iterator<char>());
        std::ofstream out(clip, std::ios::binary);
        for (int i = 0; i < 19; ++i) out << bytes;  // about 190 s
    }
    const ToolRun r = voicecheck(quoted(clip.string()));
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("problem: longer than the 180 s until the next prompt"), std::string::npos) << r.out;

    fs::rename(clip, dir.path() / "3speak.mp3");  // 7 minutes to the next prompt: fine
    EXPECT_EQ(voicecheck(quoted((dir.path() / "3speak.mp3").string())).status, 0);
}

TEST(Voicecheck, WavHoldsThePcmThePlayerMade) {
    TempDir dir;
    const fs::path wav = dir.path() / "out.wav";
    const ToolRun r = voicecheck("--wav " + quoted(wav.string()) + " " + quoted(testFile("vbr_xing.mp3")));
    ASSERT_EQ(r.status, 0) << r.out;
    std::ifstream in(wav, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(bytes.substr(36, 4), "data");
    const auto& reference = referenceDecode(testFile("vbr_xing.mp3"));
    ASSERT_EQ(bytes.size() - 44, reference.samples.size() * 2);
    int worst = 0;
    for (std::size_t i = 0; i < reference.samples.size(); ++i) {
        std::int16_t sample = 0;
        std::memcpy(&sample, bytes.data() + 44 + 2 * i, 2);
        worst = std::max(worst, std::abs(sample - reference.samples[i]));
    }
    EXPECT_LE(worst, 1);
    // ffmpeg reads it as 16-bit stereo at 44.1 kHz.
    const ToolRun probe = run("ffprobe", "-v error -show_entries stream=codec_name,sample_rate,channels -of csv=p=0 " +
                                         quoted(wav.string()));
    EXPECT_NE(probe.out.find("pcm_s16le,44100,2"), std::string::npos) << probe.out;
}

TEST(Voicecheck, RefusesUsageErrors) {
    EXPECT_EQ(voicecheck("--wav").status, 2);
    EXPECT_EQ(voicecheck("--bogus").status, 2);
    EXPECT_EQ(voicecheck("--wav x.wav " + quoted(testFile("cbr.mp3")) + " " + quoted(testFile("cbr.mp3"))).status, 2);
}

} // namespace
} // namespace vostrel::audio::test
