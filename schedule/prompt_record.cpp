#include "schedule/prompt_record.h"

#include <charconv>
#include <vector>

#include "record/record_line.h"

namespace vostrel::schedule {
namespace {

constexpr std::string_view kExamSuffix = "开考";

std::string examText(const PromptKey& key) { return dateText(key.date) + " " + key.start + std::string(kExamSuffix); }

// The fields every prompt line starts with: subject, exam, row and moment, planned minute, the
// window's row, then what the line adds.
record::RecordLine promptLine(std::string_view event, const ExamPrompt& prompt, std::int64_t at) {
    record::RecordLine line{localTimeAt(at), std::string(event), {}};
    line.fields = {prompt.key.subject, examText(prompt.key), promptTitle(prompt),
                   "计划 " + clockMinuteText(prompt.moment),
                   "第" + std::to_string(indexOf(prompt.windowRow) + 1) + "行"};
    return line;
}

std::string beganNote(const SoundingPrompt& p) {
    const std::int64_t late = p.began - p.prompt.moment;
    return late >= 60 ? delayText(late) : std::string();
}

bool readInt(std::string_view text, int& value) {
    return !text.empty() && std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc();
}

// "2026-12-08 09:00开考" → date and start.
bool readExam(std::string_view text, PromptKey& key) {
    if (!text.ends_with(kExamSuffix) || text.size() != 16 + kExamSuffix.size() || text[10] != ' ') return false;
    if (!readInt(text.substr(0, 4), key.date.year) || !readInt(text.substr(5, 2), key.date.month) ||
        !readInt(text.substr(8, 2), key.date.day))
        return false;
    key.start = std::string(text.substr(11, 5));
    return true;
}

// "第1条 开考前25分钟" → 1.
bool readRow(std::string_view text, int& row) {
    if (!text.starts_with(kPromptNumberPrefix)) return false;
    text.remove_prefix(kPromptNumberPrefix.size());
    const std::size_t end = text.find(kPromptNumberSuffix);
    return end != std::string_view::npos && readInt(text.substr(0, end), row) && row >= 1 &&
           row <= static_cast<int>(kPromptTable.size());
}

} // namespace

std::string delayText(std::int64_t seconds) { return "晚了" + durationText(seconds); }

void recordBegan(record::RecordSink& sink, const SoundingPrompt& prompt) {
    record::RecordLine line = promptLine(kPromptBeganEvent, prompt.prompt, prompt.began);
    line.fields.emplace_back(voiceFileOf(prompt.prompt).substr(1)); // as appended to the program directory
    if (const std::string note = beganNote(prompt); !note.empty()) line.fields.push_back(note);
    sink.append(line);
}

void recordEnded(record::RecordSink& sink, const SoundingPrompt& prompt, const audio::PlayOutcome& outcome,
                 std::int64_t at) {
    record::RecordLine line = promptLine(kPromptEndedEvent, prompt.prompt, at);
    line.fields.emplace_back(voiceFileOf(prompt.prompt).substr(1)); // as appended to the program directory
    line.fields.push_back("开始 " + timeOfDayText(prompt.began));
    line.fields.emplace_back(audio::promptEndText(outcome.end));
    if (!outcome.reason.empty()) line.fields.push_back("原因：" + outcome.reason);
    sink.append(line);
}

void recordMissed(record::RecordSink& sink, const ExamPrompt& prompt, std::int64_t at, std::string_view why) {
    record::RecordLine line = promptLine(kPromptMissedEvent, prompt, at);
    line.fields.emplace_back(why);
    sink.append(line);
}

std::set<PromptKey> promptsBegunIn(std::string_view recordText) {
    std::set<PromptKey> begun;
    for (std::size_t from = 0; from < recordText.size();) {
        const std::size_t end = std::min(recordText.find('\n', from), recordText.size());
        const auto line = record::parseRecordLine(recordText.substr(from, end - from));
        from = end + 1;
        if (!line || line->event != kPromptBeganEvent || line->fields.size() < 3) continue;
        PromptKey key;
        key.subject = line->fields[0];
        if (readExam(line->fields[1], key) && readRow(line->fields[2], key.row)) begun.insert(std::move(key));
    }
    return begun;
}

} // namespace vostrel::schedule
