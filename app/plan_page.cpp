#include "app/plan_page.h"

#include <algorithm>
#include <chrono>

#include "settings/settings_actions.h"

namespace vostrel::app {
namespace {

using schedule::ExamPrompt;

constexpr std::chrono::milliseconds kLongestWaitForThePage{1000};
constexpr std::string_view kSentenceEnd = "。";

constexpr std::string_view kPageStart = R"(<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<title>考试语音提示安排</title>
<style>
@page { size: A4; margin: 12mm; }
body { font-family: sans-serif; font-size: 14pt; margin: 0 auto; max-width: 190mm; }
h1 { font-size: 20pt; margin: 0 0 4pt; }
p { margin: 0 0 8pt; }
table { border-collapse: collapse; width: 100%; }
th, td { border: 1px solid #000; padding: 2pt 5pt; text-align: left; vertical-align: top; }
td.time { font-size: 18pt; font-weight: bold; white-space: nowrap; }
td.subject, td.prompt { white-space: nowrap; }
</style>
</head>
<body>
)";

std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string row(const ExamPrompt& p, const PromptWords& words) {
    return "<tr><td class=\"time\">" + schedule::clockMinuteText(p.moment) + "</td><td class=\"subject\">" +
           escaped(p.key.subject) + "</td><td class=\"prompt\">" + schedule::promptTitle(p) + "</td><td>" +
           escaped(words[static_cast<std::size_t>(p.row - 1)]) + "</td></tr>\n";
}

std::vector<ExamPrompt> ticksPrompts(PlanContext& c, schedule::CalendarDate today) {
    std::vector<ExamPrompt> prompts;
    for (const schedule::Subject s : schedule::kSubjects) {
        if (!c.controls.ticked(schedule::controlsOf(s).checkBox)) continue;
        const std::vector<ExamPrompt> row = schedule::examPrompts(s, c.times[schedule::indexOf(s)], today);
        prompts.insert(prompts.end(), row.begin(), row.end());
    }
    std::stable_sort(prompts.begin(), prompts.end(),
                     [](const ExamPrompt& a, const ExamPrompt& b) { return a.moment < b.moment; });
    return prompts;
}

} // namespace

PromptWords promptWords(std::string_view promptTexts) {
    PromptWords words;
    for (std::size_t from = 0; from < promptTexts.size();) {
        const std::size_t end = std::min(promptTexts.find('\n', from), promptTexts.size());
        const std::string_view line = promptTexts.substr(from, end - from);
        from = end + 1;
        if (line.size() < 3 || line[0] < '1' || line[0] > '8' || line[1] != ' ') continue;
        const std::string_view text = line.substr(2);
        const std::size_t stop = text.find(kSentenceEnd);
        words[static_cast<std::size_t>(line[0] - '1')] =
            std::string(stop == std::string_view::npos ? text : text.substr(0, stop + kSentenceEnd.size()));
    }
    return words;
}

std::string planPageHtml(schedule::CalendarDate date, const std::vector<ExamPrompt>& prompts,
                         const PromptWords& words) {
    std::string page(kPageStart);
    page += "<h1>" + std::to_string(date.year) + "年" + std::to_string(date.month) + "月" + std::to_string(date.day) +
            "日 考试语音提示安排</h1>\n";
    page += "<p>广播没有响时，请监考员在表中的时间宣读这条提示。</p>\n";
    if (prompts.empty()) return page + "<p>没有勾选的科目，或还没有保存设置。</p>\n</body>\n</html>\n";
    page += "<table>\n<tr><th>时间</th><th>科目</th><th>提示</th><th>宣读内容</th></tr>\n";
    for (const ExamPrompt& p : prompts) page += row(p, words);
    return page + "</table>\n</body>\n</html>\n";
}

void writePlanPage(PlanContext& context) {
    const schedule::CalendarDate today = schedule::dateOf(context.clock.localNow());
    context.writer.replaceFile(context.pagePath, planPageHtml(today, ticksPrompts(context, today), context.words));
}

void openPlanPage(PlanContext& context) {
    writePlanPage(context);
    context.writer.waitUntilIdle(kLongestWaitForThePage);
    context.shell.openWebPage(settings::localPageAddress(context.pagePath));
}

} // namespace vostrel::app
