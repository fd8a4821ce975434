#pragma once
// The schedule's lines in the day's record: a prompt that begins, how it ended and why, a prompt
// given up; and, read back after a restart, which prompts of an exam had begun already.
//
//   2026-12-08 08:35:00 | 开始播放 | 语文 | 2026-12-08 09:00开考 | 第1条 开考前25分钟 | 计划 08:35 | 第1行 | Vostrel/1speak.mp3
//   2026-12-08 08:35:23 | 播放结束 | 语文 | 2026-12-08 09:00开考 | 第1条 开考前25分钟 | 计划 08:35 | 第1行 | Vostrel/1speak.mp3 | 开始 08:35:00 | 已播放
//   2026-12-08 08:43:30 | 错过 | 语文 | 2026-12-08 09:00开考 | 第2条 开考前20分钟 | 计划 08:40 | 第1行 | 电脑在这段时间没有运行（休眠或时钟跳变），晚了3分30秒
#include <set>
#include <string>
#include <string_view>

#include "audio/play_outcome.h"
#include "record/record_sink.h"
#include "schedule/schedule_state.h"

namespace vostrel::schedule {

inline constexpr std::string_view kPromptBeganEvent = "开始播放";
inline constexpr std::string_view kPromptEndedEvent = "播放结束";
inline constexpr std::string_view kPromptMissedEvent = "错过";

void recordBegan(record::RecordSink& sink, const SoundingPrompt& prompt);
void recordEnded(record::RecordSink& sink, const SoundingPrompt& prompt, const audio::PlayOutcome& outcome,
                 std::int64_t at);
void recordMissed(record::RecordSink& sink, const ExamPrompt& prompt, std::int64_t at, std::string_view why);

// "晚了1分20秒" for a delay in seconds.
std::string delayText(std::int64_t seconds);

// The prompts that began according to the record's text (lines that do not read are skipped).
std::set<PromptKey> promptsBegunIn(std::string_view recordText);

} // namespace vostrel::schedule
