// vostrel-voicecheck as an operator runs it: its report and its exit status, the PCM it plays
// compared with an independent decoder's, and the sound check on ALSA's default device routed
// into files by a private .asoundrc.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "platform/sim/sim_wave_out.h"
#include "tools/voicecheck/sound_check.h"
#include "tests/audio/reference_decoder.h"
#include "tests/audio/tagged_file.h"

namespace vostrel::audio::test {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string out;
};

ToolRun run(const std::string& program, const std::string& arguments, const std::string& environment = "") {
    ToolRun result;
    FILE* pipe = popen((environment + "'" + program + "' " + arguments + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char chunk[4096];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) result.out.append(chunk, got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

ToolRun voicecheck(const std::string& arguments) { return run(VOSTREL_VOICECHECK, arguments); }

std::string quoted(const std::string& path) { return "'" + path + "'"; }

std::string voiceFileName(int prompt) { return std::to_string(prompt) + "speak.mp3"; }

// The checker copied into dir, with a "Vostrel" folder beside it that holds source(n) as prompt
// n's voice file wherever source names one (an empty path leaves that prompt's file missing).
fs::path checkerBesideVoices(const fs::path& dir, const std::function<fs::path(int)>& source) {
    const fs::path program = dir / "vostrel-voicecheck";
    fs::copy_file(VOSTREL_VOICECHECK, program);
    fs::create_directories(dir / "Vostrel");
    for (int n = 1; n <= 8; ++n) {
        if (const fs::path file = source(n); !file.empty()) fs::copy_file(file, dir / "Vostrel" / voiceFileName(n));
    }
    return program;
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
    return n;
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::int16_t> samplesOf(const std::string& bytes, std::size_t from = 0) {
    std::vector<std::int16_t> samples((bytes.size() - std::min(from, bytes.size())) / 2);
    if (!samples.empty()) std::memcpy(samples.data(), bytes.data() + from, samples.size() * 2);
    return samples;
}

int largestDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    int worst = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

double peakDbfs(const std::vector<std::int16_t>& samples) {
    int peak = 0;
    for (const std::int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak == 0 ? -1000.0 : 20.0 * std::log10(peak / 32768.0);
}

// An MP3 made with sox (2 s of `synth`) and lame.
fs::path makeClip(const fs::path& dir, const std::string& name, const std::string& synth,
                  const std::string& lameOptions) {
    const fs::path wav = dir / (name + ".wav");
    const fs::path mp3 = dir / (name + ".mp3");
    const std::string command = "sox -n -r 44100 -c 2 -b 16 " + quoted(wav.string()) + " synth 2 " + synth +
                                " && lame --quiet " + lameOptions + " " + quoted(wav.string()) + " " +
                                quoted(mp3.string());
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return mp3;
}

class TempDir {
public:
    TempDir()
        : path_(fs::temp_directory_path() /
                ("voicecheck-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
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
    EXPECT_EQ(r.out.find("问题"), std::string::npos) << r.out;
    EXPECT_TRUE(r.out.ends_with("结论：2 个文件都正常。\n")) << r.out;
}

TEST(Voicecheck, NamesEveryProblemAndExitsNonZero) {
    const ToolRun r = voicecheck(quoted(testFile("not_mp3.mp3")) + " " + quoted(testFile("no_such_file.mp3")) + " " +
                                 quoted(testFile("cbr.mp3")));
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("not_mp3.mp3\n  问题：不是能播放的 MP3 文件"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("no_such_file.mp3\n  问题：找不到这个文件"), std::string::npos) << r.out;
    EXPECT_TRUE(r.out.ends_with("结论：3 个文件中有 2 个有问题，请看上面的“问题”。\n")) << r.out;
}

TEST(Voicecheck, AgreesWithThePlayerOnFilesBehindALargeTagOfAnyVersion) {
    for (const int version : {2, 3, 4}) {
        const std::string file = behindAnId3Tag(version, 100000);
        const ToolRun r = voicecheck(quoted(file));
        std::filesystem::remove(file);
        EXPECT_EQ(r.status, 0) << "version " << version << ": " << r.out;
        EXPECT_NE(r.out.find("MPEG-1 Layer III, 44100 Hz, 2 channels"), std::string::npos)
            << "version " << version << ": " << r.out;
    }
}

TEST(Voicecheck, DefaultsToTheEightVoiceFilesBesideTheProgram) {
    TempDir dir;
    const fs::path program = checkerBesideVoices(
        dir.path(), [](int n) { return n == 3 ? fs::path() : fs::path(testFile("few_frames.mp3")); });
    const ToolRun r = run(program.string(), "");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("3speak.mp3\n  问题：找不到这个文件"), std::string::npos) << r.out;
    EXPECT_EQ(count(r.out, "\n  正常"), 7u) << r.out;
}

TEST(Voicecheck, AClipLongerThanTheTimeToTheNextPromptIsAProblem) {
    // The 4th prompt sounds 8 minutes before the start, the 5th 5 minutes before: 180 s apart.
    TempDir dir;
    const fs::path clip = dir.path() / "4speak.mp3";
    {
        std::ifstream ten(testFile("long.mp3"), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(ten)), std::istreambuf_iterator<char>());
        std::ofstream out(clip, std::ios::binary);
        for (int i = 0; i < 19; ++i) out << bytes; // about 190 s
    }
    const ToolRun r = voicecheck(quoted(clip.string()));
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("秒，但到下一条提示只有 180 秒，会被下一条提示打断"), std::string::npos) << r.out;

    fs::rename(clip, dir.path() / "3speak.mp3"); // 7 minutes to the next prompt: fine
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
    ASSERT_EQ(bytes.size() - 44, referencePcmBytes(testFile("vbr_xing.mp3")));
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

// "正常" only for a file whose PCM is what an independent decoder hears (to the sample, at most
// its last, partial frame missing) and is not silent; "没有声音" for every file the independent
// decoder finds silent; "播放不完整" whenever the player plays more than a frame less than the
// stream holds. Free-format streams and hostile files included.
TEST(Voicecheck, CallsAFileFineOnlyWhenItPlaysWhatAnIndependentDecoderHears) {
    TempDir dir;
    std::vector<std::string> files;
    for (const char* name : {"cbr.mp3", "vbr_xing.mp3", "layer2.mp3", "mpeg2_22050_mono.mp3", "mpeg25_11025_mono.mp3",
                             "tag_trailer.mp3", "truncated.mp3"}) {
        files.push_back(testFile(name));
    }
    files.push_back(makeClip(dir.path(), "free_format", "sine 440 vol 0.5", "--freeformat -b 200").string());
    files.push_back(makeClip(dir.path(), "at_minus_70_dbfs", "sine 440 vol -70dB", "-b 128").string());
    files.push_back(makeClip(dir.path(), "at_minus_50_dbfs", "sine 440 vol -50dB", "-b 128").string());
    files.push_back(makeClip(dir.path(), "digital_silence", "sine 440 vol 0", "-b 128").string());
    constexpr std::size_t kLongestFrame = 1152;
    int fine = 0;
    for (const std::string& file : files) {
        const fs::path wav = dir.path() / "out.wav";
        fs::remove(wav);
        const ToolRun r = voicecheck("--wav " + quoted(wav.string()) + " " + quoted(file));
        const std::vector<std::int16_t> played = samplesOf(bytesOf(wav), 44);
        const auto& heard = referenceDecode(file).samples;
        const int channels = fs::exists(wav) ? bytesOf(wav)[22] : 1;
        SCOPED_TRACE(file + "\n" + r.out);
        if (peakDbfs(heard) < -60.0) {
            EXPECT_NE(r.out.find("问题：没有声音"), std::string::npos);
        }
        if (played.size() + kLongestFrame * channels < heard.size()) {
            EXPECT_NE(r.out.find("问题：播放不完整"), std::string::npos);
        }
        if (r.out.find("\n  正常\n") == std::string::npos) continue;
        ++fine;
        EXPECT_EQ(r.status, 0);
        EXPECT_GE(peakDbfs(heard), -60.0);
        EXPECT_LE(heard.size(), played.size() + kLongestFrame * channels);
        EXPECT_LE(largestDifference(played, heard), 1);
    }
    EXPECT_GE(fine, 7); // every stored file and the quiet clip at -50 dBFS at least
}

// The sound check's own world: a HOME whose .asoundrc routes ALSA's default device. With
// `truncate false` the file plugin writes each opening of the device to a file of its own:
// capture.raw, capture.raw.0001, ... in the order opened.
class SoundSystem {
public:
    SoundSystem(const fs::path& home, const std::string& defaultDevice) : home_(home) {
        fs::create_directories(home_);
        std::ofstream(home_ / ".asoundrc") << "pcm.!default {\n" << defaultDevice << "\n}\n";
    }
    static std::string capturingInto(const fs::path& file) {
        return "  type file\n  slave.pcm \"null\"\n  file \"" + file.string() +
               "\"\n  format \"raw\"\n  truncate false";
    }
    ToolRun run(const fs::path& program, const std::string& arguments) const {
        return test::run(program.string(), arguments, "HOME=" + quoted(home_.string()) + " ALSA_CONFIG_PATH= ");
    }

private:
    fs::path home_;
};

TEST(Voicecheck, SoundCheckPlaysTheEightPromptsInOrderOnTheDefaultDevice) {
    TempDir dir;
    const fs::path program = checkerBesideVoices(
        dir.path(), [](int n) { return fs::path(VOSTREL_SOURCE_DIR) / "assets" / voiceFileName(n); });
    const fs::path capture = dir.path() / "capture.raw";
    const ToolRun r = SoundSystem(dir.path() / "home", SoundSystem::capturingInto(capture)).run(program, "--play");
    EXPECT_EQ(r.status, 0) << r.out;
    for (const char* heading :
         {"第1条  开考前25分钟  时长 ", "第2条  开考前20分钟", "第3条  开考前15分钟", "第4条  开考前8分钟",
          "第5条  开考前5分钟", "第6条  开考时", "第7条  结束前15分钟", "第8条  考试结束时"}) {
        EXPECT_NE(r.out.find(std::string("\n") + heading), std::string::npos) << heading << "\n" << r.out;
    }
    EXPECT_EQ(count(r.out, "\n  已播放\n"), 8u) << r.out;
    EXPECT_TRUE(
        r.out.ends_with("结论：全部 8 条语音都已从默认声音设备播放。如果没有听到，请检查音量、静音和默认播放设备。\n"))
        << r.out;
    for (int n = 1; n <= 8; ++n) {
        char suffix[16] = "";
        if (n > 1) std::snprintf(suffix, sizeof suffix, ".%04d", n - 1);
        const std::vector<std::int16_t> captured = samplesOf(bytesOf(capture.string() + suffix));
        const auto& heard = referenceDecode((dir.path() / "Vostrel" / voiceFileName(n)).string()).samples;
        EXPECT_EQ(captured.size(), heard.size()) << "prompt " << n;
        EXPECT_LE(largestDifference(captured, heard), 1) << "prompt " << n;
    }
    EXPECT_FALSE(fs::exists(capture.string() + ".0008"));
}

TEST(Voicecheck, SoundCheckWithoutADeviceNamesTheCauseAndFails) {
    TempDir dir;
    const ToolRun r = SoundSystem(dir.path() / "home", "  type hw\n  card 31")
                          .run(VOSTREL_VOICECHECK, "--play " + quoted(testFile("cbr.mp3")));
    EXPECT_EQ(r.status, 1) << r.out;
    const std::size_t cause = r.out.find("  问题：无法打开声音设备：ALSA \"default\": ");
    ASSERT_NE(cause, std::string::npos) << r.out;
    EXPECT_NE(r.out[r.out.find(": ", cause + 20) + 2], '\n') << "the system's reason is missing: " << r.out;
    EXPECT_EQ(r.out.find("已播放"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n结论：没有声音。无法打开声音设备"), std::string::npos) << r.out;
}

// A device that breaks off while playing: the sound check names the device's failure with the
// system's reason, never "已播放".
TEST(Voicecheck, SoundCheckNamesADeviceThatFailsWhilePlaying) {
    platform::sim::SimWaveOutDriver device;
    device.failNextWrite("设备已被拔出");
    const voicecheck::DevicePlay play = voicecheck::playOnDevice(testFile("cbr.mp3"), device, std::chrono::seconds(20));
    EXPECT_EQ(play.outcome, voicecheck::DevicePlay::Outcome::DeviceFailed);
    EXPECT_EQ(play.reason, "设备已被拔出");
}

TEST(Voicecheck, SoundCheckNamesMissingAndSilentFilesAndPlaysTheOthers) {
    TempDir dir;
    const fs::path silent = makeClip(dir.path(), "silent", "sine 440 vol 0", "-b 128");
    const fs::path capture = dir.path() / "capture.raw";
    const ToolRun r = SoundSystem(dir.path() / "home", SoundSystem::capturingInto(capture))
                          .run(VOSTREL_VOICECHECK, "--play " + quoted((dir.path() / "7speak.mp3").string()) + " " +
                                                       quoted(silent.string()) + " " + quoted(testFile("cbr.mp3")));
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("7speak.mp3\n  问题：找不到这个文件"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("silent.mp3\n  MPEG-1 Layer III, 44100 Hz, 2 channels, 78 frames, 2.04 s\n  问题：没有声音："),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("第7条  结束前15分钟  时长 0.0 秒  7speak.mp3\n  不播放"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("cbr.mp3\n  已播放"), std::string::npos) << r.out;
    EXPECT_TRUE(r.out.ends_with("结论：有问题。共 3 条语音，已播放 2 条，请看上面的“问题”。\n")) << r.out;
    const std::vector<std::int16_t> played = samplesOf(bytesOf(capture.string() + ".0001"));
    const auto& heard = referenceDecode(testFile("cbr.mp3")).samples;
    EXPECT_EQ(played.size(), heard.size());
    EXPECT_LE(largestDifference(played, heard), 1);
}

TEST(Voicecheck, RefusesUsageErrors) {
    EXPECT_EQ(voicecheck("--wav").status, 2);
    EXPECT_EQ(voicecheck("--bogus").status, 2);
    EXPECT_EQ(voicecheck("--wav x.wav " + quoted(testFile("cbr.mp3")) + " " + quoted(testFile("cbr.mp3"))).status, 2);
}

} // namespace
} // namespace vostrel::audio::test
