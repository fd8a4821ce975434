#include "app/main_window_layout.h"

#include <iterator>
#include <string>
#include <vector>

#include "assets/embedded_assets.h"
#include "schedule/control_names.h"
#include "schedule/subjects.h"
#include "settings/row_choices.h"

namespace vostrel::app {

using platform::ControlDescription;
using platform::ControlKind;
using platform::FontStyle;
using platform::HorizontalAlign;

namespace {

// The information text below the clock: four lines separated by CR LF.
constexpr std::string_view kInformationText = "本软件采用高考标准考试时间，结束时间保存后自动算出\r\n"
                                              "说明：只需填写开考时间（格式小时:分钟 符号仅支持使用小写）\r\n"
                                              "请将语音文件放置在本软件目录的“/Vostrel/”子目录下\r\n"
                                              "运行中请勿关闭本窗口，按Esc键会结束播报";

using Kind = ControlKind;
using schedule::controlsOf;
using schedule::Subject;

// Names and captions are views of constants; the description owns its strings.
std::string own(std::string_view text) { return std::string(text); }

constexpr FontStyle font(int heightPx, bool bold = false) { return FontStyle{heightPx, bold, true}; }

constexpr int kTimeBoxWidth = 74;
constexpr int kTimeBoxChars = 5; // "hh:mm"
constexpr FontStyle kTimeBoxFont = font(21);
constexpr std::string_view kEndCaption = "保存自动获取结束时间";

// The window grows below the information lines by the status lines, which take its whole width.
constexpr int kOuterWidth = 372;
constexpr int kOuterHeight = 384 + 42;
constexpr int kStatusLeft = 14, kStatusWidth = 344, kStatusLineHeight = 18;

// Each control a line or two, as in the tables below.
// clang-format off
ControlDescription picture() {
    return {.name = own(schedule::kPicture), .kind = Kind::PictureBox, .left = 143, .top = 42, .width = 200,
            .height = 248, .visible = false, .jpeg = assets::pictureJpeg()};
}

ControlDescription timer(std::string_view name, std::int32_t interval) {
    return {.name = own(name), .kind = Kind::Timer, .visible = false, .interval = interval};
}

// The end-time label of a subject's row: hidden until the subject is ticked.
ControlDescription endLabel(Subject subject, int top) {
    return {.name = own(controlsOf(subject).endLabel), .kind = Kind::TransparentLabel,
            .parent = own(schedule::kSubjectGroup), .left = 200, .top = top, .width = 120, .height = 32,
            .text = own(kEndCaption), .visible = false};
}

// A subject's start-time box: hidden until the subject is ticked.
ControlDescription timeBox(Subject subject, std::string_view parent, int left, int top, int height,
                           std::string_view text) {
    return {.name = own(controlsOf(subject).timeBox), .kind = Kind::EditBox, .parent = own(parent), .left = left,
            .top = top, .width = kTimeBoxWidth, .height = height, .text = own(text), .visible = false,
            .font = kTimeBoxFont, .maxChars = kTimeBoxChars};
}

// A row's check box: its square ticks the row; the row's subject list lies over where its caption
// was, so it has none.
ControlDescription checkBox(Subject subject, int top, int width) {
    return {.name = own(controlsOf(subject).checkBox), .kind = Kind::CheckBox, .parent = own(schedule::kSubjectGroup),
            .left = 24, .top = top, .width = width, .height = 24};
}

// A row's subject list, right of the check box's square, up to the time box.
ControlDescription subjectList(Subject subject, int top) {
    const schedule::ExamSubject initial = schedule::ownSubjectOfRow(schedule::indexOf(subject));
    return {.name = own(controlsOf(subject).subjectList), .kind = Kind::DropDownList,
            .parent = own(schedule::kSubjectGroup), .left = 38, .top = top, .width = 78, .height = 24,
            .text = initial.name, .items = settings::subjectListItems(initial)};
}

ControlDescription statusLine(std::string_view name, int top) {
    return {.name = own(name), .kind = Kind::TransparentLabel, .left = kStatusLeft, .top = top,
            .width = kStatusWidth, .height = kStatusLineHeight};
}

ControlDescription groupButton(std::string_view name, int left, int top, int width, int height,
                               std::string_view caption) {
    return {.name = own(name), .kind = Kind::Button, .parent = own(schedule::kSubjectGroup), .left = left,
            .top = top, .width = width, .height = height, .text = own(caption)};
}
// clang-format on

// The controls above the subject rows, in stacking order.
// Laid out by hand: one control a line or two, so the table reads like the window.
// clang-format off
std::vector<ControlDescription> upperControls() {
    return {
        picture(),
        groupButton(schedule::kPictureButton, 262, 10, 64, 24, "打赏作者"),
        groupButton(schedule::kDownloadButton, 10, 188, 60, 32, "下载语音"),
        groupButton(schedule::kAutoRepairButton, 269, 187, 60, 32, "自动修复"),
        groupButton(schedule::kKeepOnTopButton, 268, 151, 60, 32, schedule::kKeepOnTopCaption),
        {.name = own(schedule::kInformationLabel), .kind = Kind::TransparentLabel, .left = 14, .top = 290,
         .width = 368, .height = 54, .text = own(kInformationText), .verticalCentre = false, .wordWrap = true},
        timer(schedule::kClockTimer, 1000),
        {.name = own(schedule::kClockLabel), .kind = Kind::TransparentLabel, .left = 55, .top = 240, .width = 240,
         .height = 48, .text = "正在获取系统时间", .font = font(24), .align = HorizontalAlign::Centre},
        {.name = own(schedule::kPlanButton), .kind = Kind::Button, .left = 298, .top = 252, .width = 58, .height = 28,
         .text = own(schedule::kPlanCaption)},
        statusLine(schedule::kNextPromptLabel, 346),
        statusLine(schedule::kAttentionLabel, 364),
    };
}
// clang-format on

void append(std::vector<ControlDescription>& to, std::vector<ControlDescription> more) {
    to.insert(to.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

// 英语 before 综合 and 按钮6 before 按钮5, as operators know it; each row's subject list right after
// its check box.
std::vector<std::string> focusOrder() {
    const auto& chinese = controlsOf(Subject::Chinese);
    const auto& maths = controlsOf(Subject::Maths);
    const auto& combined = controlsOf(Subject::Combined);
    const auto& english = controlsOf(Subject::English);
    std::vector<std::string> order;
    for (const std::string_view name :
         {chinese.checkBox, chinese.subjectList, maths.checkBox, maths.subjectList, english.checkBox,
          english.subjectList, combined.checkBox, combined.subjectList, chinese.timeBox, maths.timeBox,
          combined.timeBox, english.timeBox, schedule::kSaveButton, schedule::kStartPauseButton,
          schedule::kKeepOnTopButton, schedule::kAutoRepairButton, schedule::kDownloadButton, schedule::kPictureButton,
          schedule::kPlanButton})
        order.emplace_back(name);
    return order;
}

} // namespace

// Laid out by hand: one control a line or two, so the table reads like the window.
// clang-format off
platform::WindowDescription mainWindowLayout() {
    platform::WindowDescription d;
    d.title = std::string(kWindowTitle);
    d.outerWidth = kOuterWidth;
    d.outerHeight = kOuterHeight;
    d.iconResource = "DEFAULT_ICON";
    d.iconPng = assets::iconPng();
    d.escapeCloses = true;

    // Description order is stacking order: an earlier row lies above later rows of the same parent.
    d.controls = upperControls();
    append(d.controls, {
        timer(controlsOf(Subject::English).holdOffTimer, 0),
        timer(controlsOf(Subject::English).pollTimer, 0),
        timer(controlsOf(Subject::Combined).holdOffTimer, 0),
        timer(controlsOf(Subject::Combined).pollTimer, 0),
        timer(controlsOf(Subject::Maths).holdOffTimer, 0),
        timer(controlsOf(Subject::Maths).pollTimer, 0),
        timer(controlsOf(Subject::Chinese).holdOffTimer, 0),
        {.name = own(schedule::kStartPauseButton), .kind = Kind::Button, .parent = own(schedule::kSubjectGroup),
         .left = 89, .top = 167, .width = 152, .height = 49, .text = own(schedule::kCaptionNotStarted),
         .font = font(20, true)},
        timer(controlsOf(Subject::Chinese).pollTimer, 0),
        endLabel(Subject::English, 124),
        endLabel(Subject::Combined, 94),
        endLabel(Subject::Maths, 62),
        endLabel(Subject::Chinese, 30),
        timer(schedule::kRowSyncTimer, 200),
        {.name = own(schedule::kHeadingLabel), .kind = Kind::TransparentLabel, .parent = own(schedule::kSubjectGroup),
         .left = 80, .top = 16, .width = 99, .height = 16, .text = "开考 时 分", .font = font(19)},
        groupButton(schedule::kSaveButton, 11, 153, 60, 32, schedule::kSaveCaption),
        timeBox(Subject::English, schedule::kSubjectGroup, 117, 126, 22, "15:00"),
        // The only time box on the window itself; (134, 104) lines it up with the other three.
        timeBox(Subject::Combined, "", 134, 104, 22, "09:00"),
        timeBox(Subject::Maths, schedule::kSubjectGroup, 118, 64, 22, "15:00"),
        timeBox(Subject::Chinese, schedule::kSubjectGroup, 118, 33, 25, "09:00"),
        subjectList(Subject::Combined, 96),
        subjectList(Subject::English, 128),
        subjectList(Subject::Maths, 64),
        subjectList(Subject::Chinese, 32),
        checkBox(Subject::Combined, 96, 80),
        checkBox(Subject::English, 128, 48),
        checkBox(Subject::Maths, 64, 80),
        checkBox(Subject::Chinese, 32, 48),
        {.name = own(schedule::kSubjectGroup), .kind = Kind::GroupBox, .left = 16, .top = 8, .width = 336,
         .height = 224, .text = "请选择当天考试科目"},
    });
    d.focusOrder = focusOrder();
    return d;
}
// clang-format on

} // namespace vostrel::app
