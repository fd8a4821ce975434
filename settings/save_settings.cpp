#include <array>
#include <optional>
#include <vector>

#include "record/record_line.h"
#include "schedule/calendar.h"
#include "schedule/control_names.h"
#include "schedule/subjects.h"
#include "settings/end_time.h"
#include "settings/settings_actions.h"
#include "settings/settings_file.h"
#include "settings/subject_settings.h"
#include "settings/wait.h"

namespace vostrel::settings {
namespace {

using schedule::kSubjectControls;
using schedule::Subject;

constexpr std::string_view kSavedCaption = "保存成功";
constexpr std::string_view kWriteFailedMessage = "保存失败：无法写入设置文件 vanto.ini";
constexpr std::string_view kSavedEvent = "保存设置";
constexpr std::int32_t kSavedCaptionMs = 3000;

// Each row's accepted start, or none for an unticked row left empty.
using Starts = std::array<std::optional<StartPieces>, 4>;

bool isBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

// A faulty row: its message, and the row shown with the focus in its box.
void refuse(SettingsContext& c, std::size_t row) {
    const schedule::SubjectControls& names = kSubjectControls[row];
    c.messages.showMessage(timeErrorMessage(c.rows.subjects[row].name), platform::kMessageOk, schedule::kProgramTitle);
    if (!c.controls.ticked(names.checkBox)) {
        c.rows.shownForCorrection[row] = true;
        c.controls.setVisible(names.timeBox, true);
        c.controls.setVisible(names.endLabel, true);
    }
    c.controls.giveFocus(names.timeBox);
}

std::optional<Starts> acceptStarts(SettingsContext& c) {
    Starts starts;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::string typed = c.controls.text(kSubjectControls[i].timeBox);
        starts[i] = acceptStartTime(typed);
        if (starts[i] || (isBlank(typed) && !c.controls.ticked(kSubjectControls[i].checkBox))) continue;
        refuse(c, i);
        return std::nullopt;
    }
    return starts;
}

std::string examOf(const schedule::SubjectTimes& t) { return t.subject.name + " " + t.startHour + ":" + t.startMinute; }

void store(SettingsContext& c, const Starts& starts) {
    const std::int64_t now = schedule::momentOf(c.clock.localNow());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        schedule::SubjectTimes next{{}, {}, {}, {}, c.rows.subjects[i], c.rows.firstPromptLead[i]};
        if (starts[i]) {
            const EndTexts end = deriveEndTime(*starts[i], next.subject.minutes);
            next = {starts[i]->hour, starts[i]->minute, end.hour, end.minute, next.subject, next.firstPromptLead};
            c.controls.setText(kSubjectControls[i].endLabel, endLabelCaption(end));
        }
        // Another exam in this row: its prompts count from now, none of them was missed.
        std::optional<std::int64_t>& since = c.schedule.pollingSince[i];
        if (since && examOf(next) != examOf(c.times[i])) since = schedule::minuteStart(now);
        c.times[i] = std::move(next);
        c.rows.shownForCorrection[i] = false;
    }
}

// The four typed texts first, in the rows' order, as earlier versions wrote them; then the
// subject of each row that holds another than its own (keys of rows back at their own go).
bool writeFile(SettingsContext& c) {
    struct RowValues {
        std::string time, name, minutes;
        bool own;
    };
    std::array<RowValues, 4> values;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const schedule::ExamSubject& s = c.rows.subjects[i];
        values[i] = {c.controls.text(kSubjectControls[i].timeBox), s.name, std::to_string(s.minutes),
                     holdsOwnSubject(c.rows, static_cast<Subject>(i))};
    }
    std::vector<platform::ProfileEntry> entries;
    for (std::size_t i = 0; i < values.size(); ++i) entries.push_back({kRowSettings[i].key, values[i].time});
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto unlessOwn = [&](const std::string& v) {
            return values[i].own ? std::nullopt : std::optional<std::string_view>(v);
        };
        entries.push_back({kRowSettings[i].subjectKey, unlessOwn(values[i].name)});
        entries.push_back({kRowSettings[i].lengthKey, unlessOwn(values[i].minutes)});
    }
    return c.profile.writeStrings(kSettingsSection, entries, settingsFilePath(c.files));
}

// The save in the day's record: each row's subject, typed start and length.
void recordSave(SettingsContext& c) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < kRowSettings.size(); ++i) {
        const schedule::ExamSubject& s = c.rows.subjects[i];
        rows.push_back("第" + std::to_string(i + 1) + "行 " + s.name + " " +
                       c.controls.text(kSubjectControls[i].timeBox) + "（" + std::to_string(s.minutes) + "分钟）");
    }
    c.record.appendNow(c.clock, kSavedEvent, std::move(rows));
}

} // namespace

void saveSettings(SettingsContext& context) {
    // Validate all four before storing anything: a refused save must leave the running
    // schedule's times as they were.
    const std::optional<Starts> starts = acceptStarts(context);
    if (!starts) return;
    store(context, *starts);
    if (!writeFile(context)) {
        // The times apply to this run all the same; only the next start would miss them.
        context.messages.showMessage(kWriteFailedMessage, platform::kMessageIconStop, schedule::kProgramTitle);
        return;
    }
    recordSave(context);
    if (context.saved) context.saved();

    platform::Controls& controls = context.controls;
    controls.setText(schedule::kSaveButton, kSavedCaption);
    wait(context.loop, context.clock, kSavedCaptionMs);
    controls.setText(schedule::kSaveButton, schedule::kSaveCaption);
}

} // namespace vostrel::settings
