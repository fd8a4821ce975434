#include "settings/timetable_file.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "schedule/calendar.h"
#include "schedule/full_width.h"
#include "settings/settings_file.h"

namespace vostrel::settings {
namespace {

constexpr std::string_view kLeadKey = "提前入场";
// Sections the program itself writes: they are not days and are read elsewhere.
constexpr std::array<std::string_view, 1> kSectionsLeftAlone{kSettingsSection};
constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
// A Chinese input method types 【】 where an English one types [].
constexpr std::array<std::string_view, 2> kOpeningBrackets{"[", "【"};
constexpr std::array<std::string_view, 2> kClosingBrackets{"]", "】"};
constexpr std::array<std::string_view, 2> kMinuteUnits{"分钟", "分"};
// Beyond every bound the file knows; long digit runs saturate here instead of overflowing.
constexpr int kSaturatedNumber = 1000000;
constexpr std::size_t kShownProblems = 10;
constexpr std::size_t kShownTextCharacters = 30;

constexpr std::string_view kDateExample = "[2026-06-09]";
constexpr std::string_view kSubjectExample = "化学=08:30";
constexpr std::string_view kSkippedSection = "，这一段没有读入";

// A value read from the file, or what is wrong with it.
template <typename T>
struct Reading {
    std::optional<T> value;
    std::string wrong;
};

template <typename T>
Reading<T> wrongBecause(std::string text) {
    return {std::nullopt, std::move(text)};
}

std::string_view trimmed(std::string_view s) {
    for (bool changed = true; changed;) {
        const std::size_t before = s.size();
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
        if (s.starts_with(kIdeographicSpace)) s.remove_prefix(kIdeographicSpace.size());
        if (s.ends_with(kIdeographicSpace)) s.remove_suffix(kIdeographicSpace.size());
        changed = s.size() != before;
    }
    return s;
}

// The lines of the text without their ends: CR LF, LF or a lone CR each end one line.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
    }
    return lines;
}

// Reads a folded text from its front, piece by piece.
class Cursor {
public:
    explicit Cursor(std::string_view text) : rest_(text) {}

    // The number of minCount to maxCount ASCII digits at the front (saturated), or nothing.
    std::optional<int> digits(std::size_t minCount, std::size_t maxCount) {
        std::size_t count = 0;
        int value = 0;
        while (count < rest_.size() && rest_[count] >= '0' && rest_[count] <= '9') {
            value = std::min(value * 10 + (rest_[count] - '0'), kSaturatedNumber);
            ++count;
        }
        if (count < minCount || count > maxCount) return std::nullopt;
        rest_.remove_prefix(count);
        return value;
    }

    bool skip(std::string_view token) {
        if (!rest_.starts_with(token)) return false;
        rest_.remove_prefix(token.size());
        return true;
    }

    bool skipAny(const auto& tokens) {
        return std::any_of(tokens.begin(), tokens.end(), [this](std::string_view t) { return skip(t); });
    }

    bool done() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

std::string withoutBlanks(std::string_view folded) {
    std::string out(folded);
    std::erase_if(out, [](char c) { return c == ' ' || c == '\t'; });
    return out;
}

// 2026-06-09, 2026-6-9, 2026/6/9, 2026.6.9: one separator, used twice.
std::optional<ExamDate> numericDate(std::string_view text) {
    for (const std::string_view separator : {"-", "/", "."}) {
        Cursor c(text);
        const std::optional<int> year = c.digits(4, 4);
        if (!year || !c.skip(separator)) continue;
        const std::optional<int> month = c.digits(1, 2);
        if (!month || !c.skip(separator)) return std::nullopt;
        const std::optional<int> day = c.digits(1, 2);
        if (!day || !c.done()) return std::nullopt;
        return ExamDate{*year, *month, *day};
    }
    return std::nullopt;
}

// 2026年6月9日, the 日 also written 号 or left out.
std::optional<ExamDate> chineseDate(std::string_view text) {
    Cursor c(text);
    const std::optional<int> year = c.digits(4, 4);
    if (!year || !c.skip("年")) return std::nullopt;
    const std::optional<int> month = c.digits(1, 2);
    if (!month || !c.skip("月")) return std::nullopt;
    const std::optional<int> day = c.digits(1, 2);
    if (!day) return std::nullopt;
    c.skipAny(std::array<std::string_view, 2>{"日", "号"});
    if (!c.done()) return std::nullopt;
    return ExamDate{*year, *month, *day};
}

// The date a folded text is written as, whether or not that day exists.
std::optional<ExamDate> dateShape(std::string_view folded) {
    const std::string text = withoutBlanks(folded);
    if (std::optional<ExamDate> date = numericDate(text)) return date;
    return chineseDate(text);
}

// Why a date of the right shape is no day of the calendar, or nothing.
std::optional<std::string> impossibleDate(ExamDate date) {
    if (date.month < 1 || date.month > 12) return "没有" + std::to_string(date.month) + "月，请核对日期";
    if (!schedule::isRealDate({date.year, date.month, date.day}))
        return std::to_string(date.year) + "年" + std::to_string(date.month) + "月没有" + std::to_string(date.day) +
               "日，请核对日期";
    return std::nullopt;
}

Reading<ExamDate> dateOf(std::string_view folded) {
    const std::optional<ExamDate> date = dateShape(folded);
    if (!date) return wrongBecause<ExamDate>("日期写法认不出，请写成 " + std::string(kDateExample) + " 这样");
    if (std::optional<std::string> impossible = impossibleDate(*date)) return wrongBecause<ExamDate>(*impossible);
    return {date, {}};
}

// "hh:mm", zero-filled, from "8:30", "08:30" or "０８：３０" (folded).
Reading<std::string> startTimeOf(std::string_view folded) {
    Cursor c(folded);
    const std::optional<int> hour = c.digits(1, 2);
    const bool colon = hour && c.skip(":");
    const std::optional<int> minute = colon ? c.digits(2, 2) : std::nullopt;
    if (!minute || !c.done()) return wrongBecause<std::string>("时间写法不对，请写成 08:30 这样");
    if (*hour > 23 || *minute > 59) return wrongBecause<std::string>("时间不对：小时是0到23，分钟是0到59");
    const std::string hh = (*hour < 10 ? "0" : "") + std::to_string(*hour);
    const std::string mm = (*minute < 10 ? "0" : "") + std::to_string(*minute);
    return {hh + ":" + mm, {}};
}

// Whole minutes, "90" or "90分钟"; nothing for any other text.
std::optional<int> minutesOf(std::string_view folded) {
    Cursor c(folded);
    const std::optional<int> minutes = c.digits(1, folded.size());
    c.skipAny(kMinuteUnits);
    return c.done() ? minutes : std::nullopt;
}

struct SubjectValue {
    std::string start;
    std::optional<int> minutes;
};

// "08:30" or "14:30 90": a start time, then the length if the line gives one.
Reading<SubjectValue> subjectValueOf(std::string_view name, std::string_view folded) {
    const std::string example = "，例如 " + std::string(name) + "=14:30 90";
    if (folded.empty()) return wrongBecause<SubjectValue>("没有写开考时间，例如 " + std::string(name) + "=08:30");
    const std::size_t blank = folded.find_first_of(" \t");
    const Reading<std::string> start = startTimeOf(folded.substr(0, blank));
    if (!start.value) return wrongBecause<SubjectValue>(start.wrong);
    if (blank == std::string_view::npos) return {SubjectValue{*start.value, std::nullopt}, {}};
    const std::optional<int> minutes = minutesOf(trimmed(folded.substr(blank)));
    if (!minutes) return wrongBecause<SubjectValue>("开考时间后面只能写考试时长（分钟）" + example);
    return {SubjectValue{*start.value, minutes}, {}};
}

// A standard subject's name as the list spells it ("文数／理数" is "文数/理数"), else as written.
std::string subjectNameOf(std::string_view written) {
    std::string folded = schedule::foldFullWidth(written);
    return schedule::standardMinutes(folded) ? folded : std::string(written);
}

Reading<TimetableSubject> subjectOf(std::string_view writtenName, std::string_view foldedValue) {
    if (writtenName.empty())
        return wrongBecause<TimetableSubject>("等号前面要写科目名称，例如 " + std::string(kSubjectExample));
    const std::string name = subjectNameOf(writtenName);
    const std::optional<int> standard = schedule::standardMinutes(name);
    // The shortest length is always allowed, so only the name can be wrong here.
    if (!standard)
        if (std::optional<std::string> wrong = schedule::customSubjectProblem(name, schedule::kShortestExamMinutes))
            return wrongBecause<TimetableSubject>(*wrong);
    const Reading<SubjectValue> value = subjectValueOf(name, foldedValue);
    if (!value.value) return wrongBecause<TimetableSubject>(value.wrong);
    if (!standard && !value.value->minutes)
        return wrongBecause<TimetableSubject>("自定义科目要写上考试时长（分钟），例如 " + name + "=" +
                                              value.value->start + " 90");
    const int minutes = value.value->minutes.value_or(standard.value_or(0));
    if (std::optional<std::string> wrong = schedule::customSubjectProblem(name, minutes))
        return wrongBecause<TimetableSubject>(*wrong);
    return {TimetableSubject{{name, minutes}, value.value->start}, {}};
}

Reading<int> leadOf(std::string_view foldedValue) {
    const std::string example = "，例如 " + std::string(kLeadKey) + "=30";
    const std::optional<int> minutes = minutesOf(foldedValue);
    if (!minutes) return wrongBecause<int>(std::string(kLeadKey) + "要写分钟数" + example);
    if (*minutes < schedule::kFirstPromptLead || *minutes > kLatestFirstPromptLead)
        return wrongBecause<int>(std::string(kLeadKey) + "应在" + std::to_string(schedule::kFirstPromptLead) + "到" +
                                 std::to_string(kLatestFirstPromptLead) + "分钟之间" + example);
    return {minutes, {}};
}

struct SectionHeader {
    std::string name;       // folded and trimmed
    bool closed = false;    // by "]" or "】"
    std::string_view after; // what follows the closing bracket
};

// The header of a section, "[name]", or nothing when the line is none.
std::optional<SectionHeader> sectionHeaderOf(std::string_view folded) {
    for (const std::string_view open : kOpeningBrackets) {
        if (!folded.starts_with(open)) continue;
        const std::string_view inside = folded.substr(open.size());
        std::size_t close = std::string_view::npos, closeLength = 0;
        for (const std::string_view bracket : kClosingBrackets) {
            const std::size_t at = inside.find(bracket);
            if (at < close) close = at, closeLength = bracket.size();
        }
        const std::string name(trimmed(inside.substr(0, close)));
        if (close == std::string_view::npos) return SectionHeader{name, false, {}};
        return SectionHeader{name, true, inside.substr(close + closeLength)};
    }
    return std::nullopt;
}

// Where "=" (or a full-width "＝") first stands in the line, and its length in bytes.
std::optional<std::pair<std::size_t, std::size_t>> equalsSignIn(std::string_view line) {
    for (std::size_t i = 0; i < line.size();) {
        const schedule::FoldedChar c = schedule::foldedCharAt(line, i);
        if (c.value == '=') return std::pair{i, c.length};
        i += c.length;
    }
    return std::nullopt;
}

bool isSkipped(std::string_view folded) { return folded.empty() || folded[0] == ';' || folded[0] == '#'; }

// Reads the lines one by one; the day being read is always the last of result.days.
class TimetableReader {
public:
    Timetable read(std::string_view text) {
        const std::vector<std::string_view> lines = linesOf(text);
        for (std::size_t i = 0; i < lines.size(); ++i) readLine(static_cast<int>(i + 1), trimmed(lines[i]));
        return std::move(result_);
    }

private:
    enum class Section { BeforeAny, LeftAlone, Day, LeftOut };

    void readLine(int number, std::string_view line) {
        const std::string folded = schedule::foldFullWidth(line);
        if (isSkipped(folded)) return;
        if (const std::optional<SectionHeader> header = sectionHeaderOf(folded))
            return startSection(number, line, *header);
        switch (section_) {
        case Section::BeforeAny:
            return problem(number, line, "这一行前面没有日期，请先写一行日期，例如 " + std::string(kDateExample));
        case Section::Day: return readDayEntry(number, line);
        case Section::LeftAlone:
        case Section::LeftOut: return;
        }
    }

    void startSection(int number, std::string_view line, const SectionHeader& header) {
        leadLine_ = 0;
        section_ = Section::LeftOut;
        if (header.closed && isLeftAlone(header.name)) {
            section_ = Section::LeftAlone;
            return;
        }
        const Reading<ExamDate> date = newDateOf(header);
        if (!date.value) return problem(number, line, date.wrong);
        result_.days.push_back(TimetableDay{*date.value, number, schedule::kFirstPromptLead, {}});
        section_ = Section::Day;
        if (header.after.find('=') != std::string_view::npos)
            problem(number, line, "科目要另起一行写，方括号后面的这一科没有读入");
    }

    static bool isLeftAlone(std::string_view name) {
        return std::find(kSectionsLeftAlone.begin(), kSectionsLeftAlone.end(), name) != kSectionsLeftAlone.end();
    }

    // The date of a section that starts a new day, or why the section is left out.
    Reading<ExamDate> newDateOf(const SectionHeader& header) const {
        const std::string skipped(kSkippedSection);
        if (!header.closed)
            return wrongBecause<ExamDate>("少了右方括号，请写成 " + std::string(kDateExample) + " 这样" + skipped);
        const Reading<ExamDate> date = dateOf(header.name);
        if (!date.value) return wrongBecause<ExamDate>(date.wrong + skipped);
        if (const TimetableDay* earlier = timetableDayOf(result_, *date.value))
            return wrongBecause<ExamDate>("这个日期前面已经写过（第" + std::to_string(earlier->line) + "行）" +
                                          skipped);
        return date;
    }

    void readDayEntry(int number, std::string_view line) {
        const auto equals = equalsSignIn(line);
        if (!equals) return problem(number, line, withoutEqualsSign(line));
        const std::string_view name = trimmed(line.substr(0, equals->first));
        const std::string value(trimmed(schedule::foldFullWidth(line.substr(equals->first + equals->second))));
        if (schedule::foldFullWidth(name) == kLeadKey) return readLead(number, line, value);
        const Reading<TimetableSubject> subject = subjectOf(name, value);
        if (!subject.value) return problem(number, line, subject.wrong);
        TimetableDay& day = result_.days.back();
        if (day.subjects.size() == kDaySubjectLimit)
            return problem(number, line, "一天最多" + std::to_string(kDaySubjectLimit) + "科，这一科没有读入");
        day.subjects.push_back(*subject.value);
    }

    void readLead(int number, std::string_view line, std::string_view value) {
        if (leadLine_ != 0)
            return problem(number, line,
                           std::string(kLeadKey) + "前面已经写过（第" + std::to_string(leadLine_) +
                               "行），这一行没有读入");
        const Reading<int> lead = leadOf(value);
        if (!lead.value) return problem(number, line, lead.wrong);
        result_.days.back().firstPromptLead = *lead.value;
        leadLine_ = number;
    }

    static std::string withoutEqualsSign(std::string_view line) {
        if (dateShape(schedule::foldFullWidth(line))) return "日期要写在方括号里，例如 " + std::string(kDateExample);
        return "没有等号，请写成 " + std::string(kSubjectExample) + " 这样";
    }

    void problem(int number, std::string_view line, std::string wrong) {
        result_.problems.push_back(TimetableProblem{number, std::string(line), std::move(wrong)});
    }

    Timetable result_;
    Section section_ = Section::BeforeAny;
    int leadLine_ = 0; // of the day being read, 0 before its first 提前入场
};

// At most kShownTextCharacters characters of the line, so that a long one keeps the box narrow.
std::string shortened(std::string_view text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (characters++ == kShownTextCharacters) return std::string(text.substr(0, i)) + "…";
    }
    return std::string(text);
}

} // namespace

Timetable readTimetable(std::string_view utf8Text) { return TimetableReader().read(utf8Text); }

const TimetableDay* timetableDayOf(const Timetable& timetable, ExamDate date) {
    const auto found = std::find_if(timetable.days.begin(), timetable.days.end(),
                                    [date](const TimetableDay& day) { return day.date == date; });
    return found == timetable.days.end() ? nullptr : &*found;
}

std::string timetableProblemsMessage(const std::vector<TimetableProblem>& problems) {
    if (problems.empty()) return {};
    const std::string file(kSettingsFileName);
    std::string message = file + " 里的考试安排有 " + std::to_string(problems.size()) + " 处写得不对，" +
                          (problems.size() == 1 ? "这一行" : "这几行") + "没有用上，其余的已经读入：\n";
    const std::size_t shown = std::min(problems.size(), kShownProblems);
    for (std::size_t i = 0; i < shown; ++i)
        message += "第" + std::to_string(problems[i].line) + "行“" + shortened(problems[i].text) + "”：" +
                   problems[i].wrong + "\n";
    if (shown < problems.size()) message += "……还有 " + std::to_string(problems.size() - shown) + " 处\n";
    return message + "请用记事本打开 " + file + " 改正后重新打开程序。";
}

} // namespace vostrel::settings
