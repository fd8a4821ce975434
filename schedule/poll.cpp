#include "schedule/poll.h"

#include <algorithm>

#include "schedule/prompt_record.h"

namespace vostrel::schedule {
namespace {

constexpr std::string_view kMissedUnpolled = "电脑这段时间没有按时运行（休眠、时钟跳变或卡顿），";
constexpr std::string_view kMissedWaiting = "前一条提示播放时间太长，";
constexpr std::string_view kMissedSuperseded = "同一科目的后一条提示已到时间";

std::int64_t nowOf(const ScheduleContext& c) { return momentOf(c.clock.localNow()); }

bool isTicked(const ScheduleContext& c, Subject s) { return c.controls.ticked(controlsOf(s).checkBox); }

// The row's prompts that can be due around now: of the exam starting today, and of one that
// started yesterday and ends after midnight. Made anew only when the times or the day change.
RowPrompts& promptsAround(const ScheduleContext& c, Subject s, std::int64_t now) {
    RowPrompts& row = c.state.rowPrompts[indexOf(s)];
    const CalendarDate today = dateAtMoment(now);
    const SubjectTimes& times = c.times[indexOf(s)];
    if (row.made && row.today == today && row.times == times) return row;
    std::vector<ExamPrompt> prompts = examPrompts(s, times, addDays(today, -1));
    const std::vector<ExamPrompt> todays = examPrompts(s, times, today);
    prompts.insert(prompts.end(), todays.begin(), todays.end());
    const std::size_t count = prompts.size();
    row = RowPrompts{times, today, true, std::move(prompts), std::vector<bool>(count, false)};
    return row;
}

// A row ticked again counts its prompts from the minute it is seen ticked, like a late start.
void noteTicked(ScheduleState& state, Subject s, std::int64_t now) {
    std::optional<std::int64_t>& since = state.pollingSince[indexOf(s)];
    if (since && !state.seenUnticked[indexOf(s)]) return;
    since = std::max(since.value_or(minuteStart(now)), minuteStart(now));
    state.seenUnticked[indexOf(s)] = false;
}

void giveUp(ScheduleContext& c, const ExamPrompt& p, std::int64_t now, std::string_view why) {
    c.state.handled.insert(p.key);
    recordMissed(c.record, p, now, why);
    c.state.last = LastPrompt{p, true, {audio::PromptEnd::NotPlayed, {}}};
}

bool isWaiting(const ScheduleState& state, const PromptKey& key) {
    return std::any_of(state.waiting.begin(), state.waiting.end(), [&](const ExamPrompt& w) { return w.key == key; });
}

// A prompt due now waits for the device; an earlier one of the same row gives way to it.
void enqueue(ScheduleContext& c, const ExamPrompt& p, std::int64_t now) {
    std::vector<ExamPrompt>& waiting = c.state.waiting;
    for (auto it = waiting.begin(); it != waiting.end();) {
        if (it->windowRow != p.windowRow) {
            ++it;
            continue;
        }
        giveUp(c, *it, now, std::string(kMissedSuperseded));
        it = waiting.erase(it);
    }
    waiting.push_back(p);
    std::stable_sort(waiting.begin(), waiting.end(), [](const ExamPrompt& a, const ExamPrompt& b) {
        return a.moment != b.moment ? a.moment < b.moment : indexOf(a.windowRow) < indexOf(b.windowRow);
    });
}

void collectRow(ScheduleContext& c, Subject s, std::int64_t now) {
    ScheduleState& state = c.state;
    RowPrompts& row = promptsAround(c, s, now);
    std::optional<ExamPrompt> latest;
    for (std::size_t i = 0; i < row.prompts.size(); ++i) {
        const ExamPrompt& p = row.prompts[i];
        if (row.settled[i] || p.moment > now) continue;
        if (p.moment < *state.pollingSince[indexOf(s)] || state.handled.count(p.key)) {
            row.settled[i] = true;
            continue;
        }
        if (isWaiting(state, p.key)) continue;
        if (now - p.moment > kLatestCatchUpSeconds) {
            giveUp(c, p, now, std::string(kMissedUnpolled) + delayText(now - p.moment));
            continue;
        }
        if (latest) giveUp(c, *latest, now, std::string(kMissedSuperseded));
        latest = p;
    }
    if (latest) enqueue(c, *latest, now);
}

void collectDue(ScheduleContext& c, std::int64_t now) {
    for (const Subject s : kSubjects) {
        if (!isTicked(c, s)) {
            c.state.seenUnticked[indexOf(s)] = true;
            continue;
        }
        noteTicked(c.state, s, now);
        collectRow(c, s, now);
    }
}

void settle(ScheduleContext& c, std::int64_t now) {
    std::optional<SoundingPrompt>& sounding = c.state.sounding;
    if (!sounding) return;
    const audio::PlayOutcome outcome = c.player.outcome();
    if (outcome.end == audio::PromptEnd::Sounding) return;
    recordEnded(c.record, *sounding, outcome, now);
    if (c.state.last && c.state.last->prompt.key == sounding->prompt.key) c.state.last->outcome = outcome;
    sounding.reset();
}

// The row's hold-off; a prompt caught up late holds off the less, so that the next row still
// sounds in its own minute.
std::int32_t holdOffFor(const ExamPrompt& p, std::int64_t now) {
    const std::int32_t holdOff = tableRowOf(p).holdOffMs;
    const std::int64_t late = now - p.moment;
    if (late < 60) return holdOff;
    return static_cast<std::int32_t>(std::max<std::int64_t>(kPollIntervalMs, holdOff - late * 1000));
}

void play(ScheduleContext& c, const ExamPrompt& p, std::int64_t now) {
    if (c.state.sounding) { // past its longest time: the device is taken from it
        c.player.StopPlayback(audio::PlaySlot::StopCause::NextPrompt);
        settle(c, now);
    }
    const std::string_view file = voiceFileOf(p);
    c.player.PlayMp3(1, {c.programDirectory + std::string(file)});
    c.state.handled.insert(p.key);
    c.state.sounding = SoundingPrompt{p, now};
    recordBegan(c.record, *c.state.sounding);
    c.state.last = LastPrompt{p, false, {}};
    const SubjectControls& names = controlsOf(p.windowRow);
    c.controls.setInterval(names.holdOffTimer, holdOffFor(p, now));
    c.controls.setInterval(names.pollTimer, 0);
}

bool deviceBusy(const ScheduleState& state, std::int64_t now) {
    return state.sounding && now - state.sounding->began < kLongestPromptSeconds;
}

// A row holding off after its last prompt plays its next one at its first poll after the
// hold-off, as it always has; those waiting behind it keep their order.
bool holdingOff(const ScheduleContext& c, Subject s) { return c.controls.interval(controlsOf(s).holdOffTimer) > 0; }

void dispatch(ScheduleContext& c, std::int64_t now) {
    std::vector<ExamPrompt>& waiting = c.state.waiting;
    while (!waiting.empty() && !deviceBusy(c.state, now)) {
        if (holdingOff(c, waiting.front().windowRow) && isTicked(c, waiting.front().windowRow)) return;
        const ExamPrompt next = waiting.front();
        waiting.erase(waiting.begin());
        if (!isTicked(c, next.windowRow)) continue; // unticked meanwhile: silenced, as asked
        if (now - next.moment > kLatestCatchUpSeconds) {
            giveUp(c, next, now, std::string(kMissedWaiting) + delayText(now - next.moment));
            continue;
        }
        play(c, next, now);
        return;
    }
}

} // namespace

void pollSubject(ScheduleContext& context, Subject subject) {
    if (!isTicked(context, subject)) {
        context.state.seenUnticked[indexOf(subject)] = true;
        return;
    }
    const std::int64_t now = nowOf(context);
    settle(context, now);
    collectDue(context, now);
    dispatch(context, now);
}

void settleSoundingPrompt(ScheduleContext& context) { settle(context, nowOf(context)); }

std::optional<ExamPrompt> nextPrompt(const ScheduleContext& context) {
    const std::int64_t now = nowOf(context);
    std::optional<ExamPrompt> next;
    for (const Subject s : kSubjects) {
        if (!isTicked(context, s)) continue;
        for (const ExamPrompt& p : promptsAround(context, s, now).prompts) {
            if (p.moment < minuteStart(now) || context.state.handled.count(p.key)) continue;
            if (!next || p.moment < next->moment) next = p;
        }
    }
    return next;
}

} // namespace vostrel::schedule
