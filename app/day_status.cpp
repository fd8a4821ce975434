#include "app/day_status.h"

#include <cstdlib>
#include <utility>

#include "audio/voice_file_check.h"
#include "schedule/run_control.h"
#include "schedule/calendar.h"
#include "schedule/control_names.h"
#include "schedule/poll.h"

namespace vostrel::app {
namespace {

using schedule::momentOf;

constexpr std::int64_t kLargestUnnoticedStepMs = 2000;
constexpr std::int64_t kNoteSeconds = 60;
constexpr std::string_view kClockStepEvent = "电脑时间跳变";
constexpr std::string_view kVoiceFilesEvent = "语音文件有问题";
constexpr std::string_view kPausedLine = "已暂停：到时间不会播放提示";
constexpr std::string_view kDayOverLine = "今天没有待播的提示了";
constexpr std::string_view kUnsynchronisedLine = "电脑时间没有与网络时间同步，请核对电脑时间";

// "09:00 语文 第6条 开考时".
std::string promptText(const schedule::ExamPrompt& p) {
    return schedule::clockMinuteText(p.moment) + " " + p.key.subject + " " + schedule::promptTitle(p);
}

void watchClockSteps(StatusContext& c, std::int64_t now) {
    const platform::LocalDateTime wall = c.clock.localNow();
    const std::int64_t offset =
        momentOf(wall) * 1000 + wall.millisecond - static_cast<std::int64_t>(c.clock.tickCountMs());
    const std::optional<std::int64_t> previous = std::exchange(c.status.clockOffsetMs, offset);
    if (!previous || std::llabs(offset - *previous) <= kLargestUnnoticedStepMs) return;
    const std::int64_t step = (offset - *previous) / 1000;
    const std::string size = (step > 0 ? "向前 " : "向后 ") + schedule::durationText(std::llabs(step));
    c.writer.appendNow(c.clock, kClockStepEvent, {size + "（或电脑刚从睡眠中醒来）"});
    c.status.clockStep = TimedNote{"电脑时间刚跳变：" + size, now + kNoteSeconds};
}

void watchRecord(StatusContext& c, std::int64_t now) {
    if (const std::optional<std::string> reason = c.writer.takeFailure())
        c.status.recordProblem = TimedNote{"播放记录无法写入：" + *reason, now + kNoteSeconds};
}

// New results are shown for a minute even while running; the record gets them when they change.
void takeVoiceChecks(StatusContext& c, std::int64_t now) {
    std::optional<std::vector<std::string>> problems;
    {
        const std::lock_guard lock(c.status.voiceChecks->mutex);
        problems = std::exchange(c.status.voiceChecks->problems, std::nullopt);
    }
    if (!problems) return;
    c.status.voiceProblemsShownUntil = now + kNoteSeconds;
    if (*problems == c.status.voiceProblems) return;
    c.status.voiceProblems = std::move(*problems);
    if (!c.status.voiceProblems.empty()) c.writer.appendNow(c.clock, kVoiceFilesEvent, c.status.voiceProblems);
}

std::string nextLine(StatusContext& c) {
    const std::string runState = c.controls.text(schedule::kStartPauseButton);
    if (runState == schedule::kCaptionPaused) return std::string(kPausedLine);
    if (runState != schedule::kCaptionRunning) return {};
    const std::optional<schedule::ExamPrompt> next = schedule::nextPrompt(c.schedule);
    return next ? "下一条：" + promptText(*next) : std::string(kDayOverLine);
}

std::string lastLine(const schedule::LastPrompt& last) {
    if (last.missed) return promptText(last.prompt) + " 错过了（原因见播放记录）";
    if (last.outcome.end == audio::PromptEnd::Sounding) return "正在播放：" + promptText(last.prompt);
    return promptText(last.prompt) + " " + std::string(audio::promptEndText(last.outcome.end));
}

bool lastFailed(const std::optional<schedule::LastPrompt>& last) {
    return last && (last->missed || !audio::endedWell(last->outcome.end));
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : "，") + part;
    return text;
}

// The most important thing to look at, and whether it is a problem.
std::pair<std::string, bool> attentionLine(StatusContext& c, std::int64_t now) {
    const std::optional<schedule::LastPrompt>& last = c.schedule.state.last;
    const bool running = schedule::isRunning(c.controls);
    if (lastFailed(last)) return {lastLine(*last), true};
    if (!c.status.voiceProblems.empty() && (!running || now < c.status.voiceProblemsShownUntil))
        return {joined(c.status.voiceProblems), true};
    for (const std::optional<TimedNote>* note : {&c.status.recordProblem, &c.status.clockStep})
        if (*note && now < (*note)->until) return {(*note)->text, true};
    if (c.status.clockUnsynchronised && !running) return {std::string(kUnsynchronisedLine), true};
    if (last) return {lastLine(*last), false};
    return {};
}

std::string voiceProblemOf(int row, audio::VoiceFileState state) {
    const std::string prefix = "第" + std::to_string(row) + "条语音文件";
    switch (state) {
    case audio::VoiceFileState::Missing: return prefix + "缺失";
    case audio::VoiceFileState::Unreadable: return prefix + "无法读取";
    case audio::VoiceFileState::NoAudioStream: return prefix + "无法播放";
    case audio::VoiceFileState::Playable: break;
    }
    return {};
}

// A label set only when its text changes: no repaint once a second for nothing.
void showText(platform::Controls& controls, std::string_view label, const std::string& text) {
    if (controls.text(label) != text) controls.setText(label, text);
}

} // namespace

void watchTheDay(StatusContext& context) {
    const std::int64_t now = momentOf(context.clock.localNow());
    schedule::settleSoundingPrompt(context.schedule);
    watchClockSteps(context, now);
    watchRecord(context, now);
    takeVoiceChecks(context, now);
    showText(context.controls, schedule::kNextPromptLabel, nextLine(context));
    const auto [text, alert] = attentionLine(context, now);
    showText(context.controls, schedule::kAttentionLabel, text);
    context.controls.setAlert(schedule::kAttentionLabel, alert);
}

void checkVoiceFiles(StatusContext& context) {
    std::vector<std::string> paths;
    for (const schedule::PromptRow& row : schedule::kPromptTable)
        paths.push_back(context.schedule.programDirectory + std::string(row.voiceFile));
    context.writer.run([paths, results = context.status.voiceChecks] {
        std::vector<std::string> problems;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const std::string problem = voiceProblemOf(static_cast<int>(i) + 1, audio::checkVoiceFile(paths[i]));
            if (!problem.empty()) problems.push_back(problem);
        }
        const std::lock_guard lock(results->mutex);
        results->problems = std::move(problems);
    });
}

} // namespace vostrel::app
