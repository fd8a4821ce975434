#include "tools/voicecheck/report_text.h"

#include <cmath>
#include <cstdio>

#include "schedule/prompt_moment.h"
#include "schedule/prompt_table.h"

namespace vostrel::voicecheck {

namespace {

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string seconds(double value) { return format("%.1f", value); }

std::string silentText(const FileReport& report) {
    if (std::isinf(report.peakDbfs)) return "没有声音：整段录音都是静音";
    return "没有声音：整段录音最响处只有 " + format("%.0f", report.peakDbfs) + " dBFS（低于 " +
           format("%.0f", kSilentBelowDbfs) + " dBFS，等于静音）";
}

std::string shortText(const FileReport& report) {
    const double held =
        report.stream && report.sampleRate > 0
            ? static_cast<double>(report.streamFrames) * report.stream->samplesPerFrame() / report.sampleRate
            : 0.0;
    return "播放不完整：只播放了 " + seconds(report.seconds) + " 秒，文件里的音频有 " + seconds(held) +
           " 秒（文件可能已损坏）";
}

std::string problemText(const FileReport& report, Problem problem) {
    switch (problem) {
    case Problem::Missing: return "找不到这个文件（请检查文件名和所在的文件夹）";
    case Problem::NoAudioStream: return "不是能播放的 MP3 文件：文件里找不到 MPEG 音频（Layer II 或 Layer III）";
    case Problem::RefusedByDecoder: return "文件里的音频无法解码";
    case Problem::DidNotFinish: return "播放没有结束（文件可能已损坏）";
    case Problem::Silent: return silentText(report);
    case Problem::Short: return shortText(report);
    case Problem::LongerThanGap:
        return "太长：录音有 " + seconds(report.seconds) + " 秒，但到下一条提示只有 " +
               std::to_string(report.secondsUntilNextPrompt.value_or(0)) + " 秒，会被下一条提示打断";
    }
    return {};
}

std::string streamLine(const FileReport& report) {
    char text[160];
    std::snprintf(text, sizeof text, "%s, %d Hz, %d channel%s, %lld frames, %.2f s",
                  describeVersion(*report.stream).c_str(), report.stream->sampleRate(), report.stream->channels(),
                  report.stream->channels() == 1 ? "" : "s", static_cast<long long>(report.frames), report.seconds);
    return text;
}

} // namespace

std::string fileNameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string checkText(const FileReport& report) {
    std::string text = report.path + "\n";
    if (report.stream) text += "  " + streamLine(report) + "\n";
    for (const Problem problem : report.problems) text += "  问题：" + problemText(report, problem) + "\n";
    if (report.problems.empty()) text += "  正常\n";
    return text;
}

std::string playHeading(const FileReport& report) {
    const std::string name = fileNameOf(report.path);
    std::string text;
    if (const auto number = promptNumber(name)) {
        const auto& row = schedule::kPromptTable[static_cast<std::size_t>(*number - 1)];
        text = "第" + std::to_string(*number) + "条  " + schedule::promptMomentText(row) + "  ";
    }
    return text + "时长 " + seconds(report.seconds) + " 秒  " + name + "\n";
}

std::string devicePlayText(const DevicePlay& play) {
    switch (play.outcome) {
    case DevicePlay::Outcome::Played: return "  已播放\n";
    case DevicePlay::Outcome::DeviceRefused:
        return "  问题：无法打开声音设备：" + (play.reason.empty() ? std::string("系统没有说明原因") : play.reason) +
               "\n";
    case DevicePlay::Outcome::DeviceFailed:
        return "  问题：声音设备出错：" + (play.reason.empty() ? std::string("系统没有说明原因") : play.reason) + "\n";
    case DevicePlay::Outcome::Stuck: return "  问题：声音设备没有按时播完（设备可能卡住了，或者正被别的程序占用）\n";
    }
    return {};
}

std::string checkVerdict(const Tally& tally) {
    if (tally.faulty == 0) return "结论：" + std::to_string(tally.files) + " 个文件都正常。\n";
    return "结论：" + std::to_string(tally.files) + " 个文件中有 " + std::to_string(tally.faulty) +
           " 个有问题，请看上面的“问题”。\n";
}

std::string soundCheckVerdict(const Tally& tally) {
    if (tally.deviceRefused) {
        return "结论：没有声音。无法打开声音设备：请确认电脑接好了音箱或耳机、声音设备没有被禁用，"
               "也没有被别的程序占用，然后再试一次。\n";
    }
    if (tally.faulty == 0 && tally.played == tally.files) {
        return "结论：全部 " + std::to_string(tally.files) +
               " 条语音都已从默认声音设备播放。如果没有听到，请检查音量、静音和默认播放设备。\n";
    }
    return "结论：有问题。共 " + std::to_string(tally.files) + " 条语音，已播放 " + std::to_string(tally.played) +
           " 条，请看上面的“问题”。\n";
}

} // namespace vostrel::voicecheck
