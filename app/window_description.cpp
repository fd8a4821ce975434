#include "app/window_description.h"

#include "assets/embedded_assets.h"

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

ControlDescription control(std::string name, ControlKind kind, std::string parent, int left, int top, int width,
                    int height, std::string text, bool visible, FontStyle font = kDefaultFont) {
    ControlDescription c;
    c.name = std::move(name);
    c.kind = kind;
    c.parent = std::move(parent);
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.text = std::move(text);
    c.visible = visible;
    c.font = font;
    return c;
}

ControlDescription timer(std::string name, std::int32_t interval) {
    ControlDescription c;
    c.name = std::move(name);
    c.kind = ControlKind::Timer;
    c.visible = false;
    c.interval = interval;
    return c;
}

ControlDescription label(std::string name, std::string parent, int left, int top, int width, int height, std::string text,
                  bool visible, FontStyle f, HorizontalAlign align, bool wordWrap = false) {
    ControlDescription c = control(std::move(name), ControlKind::TransparentLabel, std::move(parent), left, top, width,
                            height, std::move(text), visible, f);
    c.align = align;
    c.wordWrap = wordWrap;
    c.verticalCentre = !wordWrap;
    return c;
}

ControlDescription timeBox(std::string name, std::string parent, int left, int top, int height, std::string text) {
    ControlDescription c = control(std::move(name), ControlKind::EditBox, std::move(parent), left, top, 74, height,
                            std::move(text), false, font(21));
    c.maxChars = 5;
    return c;
}

} // namespace

platform::WindowDescription mainWindowDescription() {
    constexpr auto Button = ControlKind::Button;
    constexpr auto CheckBox = ControlKind::CheckBox;
    const std::string group = "分组框1";
    const std::string endCaption = "保存自动获取结束时间";

    platform::WindowDescription d;
    d.title = std::string(kWindowTitle);
    d.outerWidth = 372;
    d.outerHeight = 384;
    d.iconResource = "DEFAULT_ICON";
    d.iconPng = assets::iconPng();
    d.escapeCloses = true;

    ControlDescription picture = control("图片框1", ControlKind::PictureBox, "", 143, 42, 200, 248, "", false);
    picture.jpeg = assets::pictureJpeg();

    // Description order is stacking order: an earlier row lies above later rows of the same parent.
    d.controls = {
        picture,
        control("按钮5", Button, group, 262, 10, 64, 24, "打赏作者", true),
        control("按钮6", Button, group, 10, 188, 60, 32, "下载语音", true),
        control("按钮4", Button, group, 269, 187, 60, 32, "自动修复", true),
        control("按钮3", Button, group, 268, 151, 60, 32, "窗口前置", true),
        label("透明标签3", "", 14, 290, 368, 54, std::string(kInformationText), true, kDefaultFont,
              HorizontalAlign::Left, true),
        timer("时钟2", 1000),
        label("透明标签2", "", 55, 240, 240, 48, "正在获取系统时间", true, font(24), HorizontalAlign::Centre),
        timer("英语时钟1", 0),
        timer("英语时钟", 0),
        timer("综合时钟1", 0),
        timer("综合时钟", 0),
        timer("数学时钟1", 0),
        timer("数学时钟", 0),
        timer("语文时钟1", 0),
        control("按钮2", Button, group, 89, 167, 152, 49, "开始运行", true, font(20, true)),
        timer("语文时钟", 0),
        label("英语结束", group, 200, 124, 120, 32, endCaption, false, kDefaultFont, HorizontalAlign::Left),
        label("综合结束", group, 200, 94, 120, 32, endCaption, false, kDefaultFont, HorizontalAlign::Left),
        label("数学结束", group, 200, 62, 120, 32, endCaption, false, kDefaultFont, HorizontalAlign::Left),
        label("语文结束", group, 200, 30, 120, 32, endCaption, false, kDefaultFont, HorizontalAlign::Left),
        timer("时钟1", 200),
        label("透明标签1", group, 80, 16, 99, 16, "开考 时 分", true, font(19), HorizontalAlign::Left),
        control("按钮1", Button, group, 11, 153, 60, 32, "保存设置", true),
        timeBox("英语时间", group, 117, 126, 22, "15:00"),
        // The only time box on the window itself; (134, 104) lines it up with the other three.
        timeBox("综合时间", "", 134, 104, 22, "09:00"),
        timeBox("数学时间", group, 118, 64, 22, "15:00"),
        timeBox("语文时间", group, 118, 33, 25, "09:00"),
        control("综合", CheckBox, group, 24, 96, 80, 24, "文综/理综", true),
        control("英语", CheckBox, group, 24, 128, 48, 24, "英语", true),
        control("数学", CheckBox, group, 24, 64, 80, 24, "文数/理数", true),
        control("语文", CheckBox, group, 24, 32, 48, 24, "语文", true),
        control("分组框1", ControlKind::GroupBox, "", 16, 8, 336, 224, "请选择当天考试科目", true),
    };
    // 英语 before 综合 and 按钮6 before 按钮5, as operators know it.
    d.focusOrder = {"语文", "数学", "英语", "综合", "语文时间", "数学时间", "综合时间",
                    "英语时间", "按钮1", "按钮2", "按钮3", "按钮4", "按钮6", "按钮5"};
    return d;
}

} // namespace vostrel::app
