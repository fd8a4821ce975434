#include "app/main_window_layout.h"

#include "assets/embedded_assets.h"
#include "schedule/control_names.h"
#include "schedule/subjects.h"

namespace vostrel::app {

using platform::ControlKind;
using platform::ControlDescription;
using platform::FontStyle;
using platform::HorizontalAlign;

const std::string_view kInformationText =
    "本软件采用高考标准考试时间，结束时间保存后自动算出\r\n"
    "说明：只需填写开考时间（格式小时:分钟 符号仅支持使用小写）\r\n"
    "请将语音文件放置在本软件目录的“/Vostrel/”子目录下\r\n"
    "运行中请勿关闭本窗口，按Esc键会结束播报";

namespace {

constexpr FontStyle kDefaultFont{};
constexpr FontStyle font(int heightPx, bool bold = false) { return FontStyle{heightPx, bold, true}; }

ControlDescription control(std::string_view name, ControlKind kind, std::string_view parent, int left, int top,
                           int width, int height, std::string_view text, bool visible, FontStyle font = kDefaultFont) {
    ControlDescription c;
    c.name = name;
    c.kind = kind;
    c.parent = parent;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.text = text;
    c.visible = visible;
    c.font = font;
    return c;
}

ControlDescription timer(std::string_view name, std::int32_t interval) {
    ControlDescription c;
    c.name = name;
    c.kind = ControlKind::Timer;
    c.visible = false;
    c.interval = interval;
    return c;
}

ControlDescription label(std::string_view name, std::string_view parent, int left, int top, int width, int height,
                         std::string_view text, bool visible, FontStyle f, HorizontalAlign align, bool wordWrap = false) {
    ControlDescription c =
        control(name, ControlKind::TransparentLabel, parent, left, top, width, height, text, visible, f);
    c.align = align;
    c.wordWrap = wordWrap;
    c.verticalCentre = !wordWrap;
    return c;
}

ControlDescription timeBox(std::string_view name, std::string_view parent, int left, int top, int height,
                           std::string_view text) {
    ControlDescription c = control(name, ControlKind::EditBox, parent, left, top, 74, height, text, false, font(21));
    c.maxChars = 5;
    return c;
}

} // namespace

platform::WindowDescription mainWindowLayout() {
    constexpr auto Button = ControlKind::Button;
    constexpr auto CheckBox = ControlKind::CheckBox;
    constexpr std::string_view group = schedule::kSubjectGroup;
    constexpr std::string_view endCaption = "保存自动获取结束时间";

    const schedule::SubjectControls& chinese = schedule::controlsOf(schedule::Subject::Chinese);
    const schedule::SubjectControls& maths = schedule::controlsOf(schedule::Subject::Maths);
    const schedule::SubjectControls& combined = schedule::controlsOf(schedule::Subject::Combined);
    const schedule::SubjectControls& english = schedule::controlsOf(schedule::Subject::English);

    platform::WindowDescription d;
    d.title = std::string(kWindowTitle);
    d.outerWidth = 372;
    d.outerHeight = 384;
    d.iconResource = "DEFAULT_ICON";
    d.iconPng = assets::iconPng();
    d.escapeCloses = true;

    ControlDescription picture =
        control(schedule::kPicture, ControlKind::PictureBox, "", 143, 42, 200, 248, "", false);
    picture.jpeg = assets::pictureJpeg();

    // Description order is stacking order: an earlier row lies above later rows of the same parent.
    d.controls = {
        picture,
        control(schedule::kPictureButton, Button, group, 262, 10, 64, 24, "打赏作者", true),
        control(schedule::kDownloadButton, Button, group, 10, 188, 60, 32, "下载语音", true),
        control(schedule::kAutoRepairButton, Button, group, 269, 187, 60, 32, "自动修复", true),
        control(schedule::kKeepOnTopButton, Button, group, 268, 151, 60, 32, schedule::kKeepOnTopCaption, true),
        label(schedule::kInformationLabel, "", 14, 290, 368, 54, kInformationText, true, kDefaultFont,
              HorizontalAlign::Left, true),
        timer(schedule::kClockTimer, 1000),
        label(schedule::kClockLabel, "", 55, 240, 240, 48, "正在获取系统时间", true, font(24),
              HorizontalAlign::Centre),
        timer(english.holdOffTimer, 0),
        timer(english.pollTimer, 0),
        timer(combined.holdOffTimer, 0),
        timer(combined.pollTimer, 0),
        timer(maths.holdOffTimer, 0),
        timer(maths.pollTimer, 0),
        timer(chinese.holdOffTimer, 0),
        control(schedule::kStartPauseButton, Button, group, 89, 167, 152, 49, schedule::kCaptionNotStarted, true,
                font(20, true)),
        timer(chinese.pollTimer, 0),
        label(english.endLabel, group, 200, 124, 120, 32, endCaption, false, kDefaultFont, HorizontalAlign::Left),
        label(combined.endLabel, group, 200, 94, 120, 32, endCaption, false, kDefaultFont, HorizontalAlign::Left),
        label(maths.endLabel, group, 200, 62, 120, 32, endCaption, false, kDefaultFont, HorizontalAlign::Left),
        label(chinese.endLabel, group, 200, 30, 120, 32, endCaption, false, kDefaultFont, HorizontalAlign::Left),
        timer(schedule::kRowSyncTimer, 200),
        label(schedule::kHeadingLabel, group, 80, 16, 99, 16, "开考 时 分", true, font(19), HorizontalAlign::Left),
        control(schedule::kSaveButton, Button, group, 11, 153, 60, 32, schedule::kSaveCaption, true),
        timeBox(english.timeBox, group, 117, 126, 22, "15:00"),
        // The only time box on the window itself; (134, 104) lines it up with the other three.
        timeBox(combined.timeBox, "", 134, 104, 22, "09:00"),
        timeBox(maths.timeBox, group, 118, 64, 22, "15:00"),
        timeBox(chinese.timeBox, group, 118, 33, 25, "09:00"),
        control(combined.checkBox, CheckBox, group, 24, 96, 80, 24, "文综/理综", true),
        control(english.checkBox, CheckBox, group, 24, 128, 48, 24, "英语", true),
        control(maths.checkBox, CheckBox, group, 24, 64, 80, 24, "文数/理数", true),
        control(chinese.checkBox, CheckBox, group, 24, 32, 48, 24, "语文", true),
        control(group, ControlKind::GroupBox, "", 16, 8, 336, 224, "请选择当天考试科目", true),
    };
    // 英语 before 综合 and 按钮6 before 按钮5, as operators know it.
    for (const std::string_view name :
         {chinese.checkBox, maths.checkBox, english.checkBox, combined.checkBox, chinese.timeBox, maths.timeBox,
          combined.timeBox, english.timeBox, schedule::kSaveButton, schedule::kStartPauseButton,
          schedule::kKeepOnTopButton, schedule::kAutoRepairButton, schedule::kDownloadButton, schedule::kPictureButton})
        d.focusOrder.emplace_back(name);
    return d;
}

} // namespace vostrel::app
