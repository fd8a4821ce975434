// The program's window on Qt at one display scale, set the way a desktop sets it: as the
// screen's logical DPI (what Xft.dpi gives on X11; QT_FONT_DPI stands in for it here) or as
// QT_SCALE_FACTOR. The test is registered once per scale. In device pixels the window and
// every control are the description's pixels times the scale, and every caption fits the width
// of its control in the font the control really uses. Drop-down lists, their open lists, an
// alert label and the input form are whole at the scale too. Saves screenshots of the window,
// of a window with drop-down lists and of the form to the artifacts folder.
//   desktop_qt_scaling_tests dpi|factor SCALE ARTIFACTS_DIR [gtest options]
#include <gtest/gtest.h>

#include <QApplication>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "app/main_window_layout.h"
#include "platform/display_scale.h"
#include "platform/qt/cjk_font.h"
#include "platform/qt/display_scaling.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_input_forms.h"
#include "platform/qt/qt_window_host.h"
#include "tests/desktop/qt_backend_fixture.h"

namespace {

using namespace vostrel::platform;

double gScale = 1.0;
std::string gArtifacts;

int devicePixels(int logical, double ratio) { return static_cast<int>(std::lround(logical * ratio)); }

// Room the control leaves for its caption, in logical pixels: what the style gives a button's
// or check box's text, a group box's width less its frame, a label's width where its parent
// does not clip it.
int captionRoom(QWidget* widget) {
    const QRect inParent = widget->geometry().intersected(widget->parentWidget()->rect());
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        return widget->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    }
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(box);
        return widget->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
    }
    if (qobject_cast<QGroupBox*>(widget))
        return inParent.width() - 2 * widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        const QMargins margins = edit->textMargins();
        return edit->contentsRect().width() - margins.left() - margins.right();
    }
    if (auto* list = qobject_cast<QComboBox*>(widget)) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        return list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list).width();
    }
    return inParent.width();
}

QString captionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
    if (auto* list = qobject_cast<QComboBox*>(widget)) return list->currentText();
    return {};
}

// Saves a screenshot named after what it shows and the scale.
void saveScreenshot(QWidget& shown, const char* what) {
    if (gArtifacts.empty()) return;
    QDir().mkpath(QString::fromStdString(gArtifacts));
    const QString file = QStringLiteral("%1/qt-%2-%3.png")
                             .arg(QString::fromStdString(gArtifacts), QString::fromLatin1(what))
                             .arg(qRound(gScale * 100));
    EXPECT_TRUE(shown.grab().save(file, "PNG"));
}

// The caption's widest line in the control's own font, which Qt draws at the scale with the
// control; a wrapped label's lines each fit, so none of them wraps onto a line of its own.
int captionWidth(QWidget* widget) {
    const QFontMetrics metrics(widget->font(), widget);
    int widest = 0;
    for (const QString& line : captionOf(widget).split(QStringLiteral("\r\n")))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// In device pixels the control is the description's pixels times the scale, and its caption fits.
void expectPlacedAsDescribedAndWhole(QWidget* window, const ControlDescription& described) {
    SCOPED_TRACE(described.name);
    auto* widget = window->findChild<QWidget*>(QString::fromStdString(described.name));
    ASSERT_NE(widget, nullptr);
    const double ratio = window->devicePixelRatioF();
    const DisplayScale scale = DisplayScale::fromFactor(gScale);
    const QRect place = widget->geometry();
    EXPECT_NEAR(devicePixels(place.left(), ratio), scale.pixels(described.left), 1);
    EXPECT_NEAR(devicePixels(place.top(), ratio), scale.pixels(described.top), 1);
    EXPECT_NEAR(devicePixels(place.width(), ratio), scale.pixels(described.width), 1);
    EXPECT_NEAR(devicePixels(place.height(), ratio), scale.pixels(described.height), 1);
    if (described.kind == ControlKind::PictureBox || described.text.empty()) return;
    const int widest = captionWidth(widget);
    const int room = captionRoom(widget);
    EXPECT_LE(widest, room) << "caption width";
    std::printf("  %-10s %dx%d: caption %d wide, room %d (device pixels; font %d px)\n", described.name.c_str(),
                devicePixels(place.width(), ratio), devicePixels(place.height(), ratio), devicePixels(widest, ratio),
                devicePixels(room, ratio), devicePixels(widget->fontInfo().pixelSize(), ratio));
}

// The shown top-level window that holds the control.
QWidget* windowHolding(const char* control) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->findChild<QWidget*>(QString::fromUtf8(control))) return top;
    }
    return nullptr;
}

TEST(QtScaling, TheWindowAndEveryControlAreTheDescriptionTimesTheScaleAndEveryCaptionFits) {
    const WindowDescription description = vostrel::app::mainWindowLayout();
    qt::QtWindowHost host;
    qt::QtEventLoop loop(host);
    host.createMainWindow(description);
    host.showMainWindow();
    loop.processPendingEvents();
    QWidget* window = windowHolding("分组框1");
    ASSERT_NE(window, nullptr);
    const double ratio = window->devicePixelRatioF();
    EXPECT_NEAR(ratio, gScale, 0.001) << "Qt scales the window by the desktop's scale";

    const DisplayScale scale = DisplayScale::fromFactor(gScale);
    const QRect outer = window->frameGeometry();
    EXPECT_NEAR(devicePixels(outer.width(), ratio), scale.pixels(description.outerWidth), 1);
    EXPECT_NEAR(devicePixels(outer.height(), ratio), scale.pixels(description.outerHeight), 1);
    for (const ControlDescription& described : description.controls) {
        if (described.kind != ControlKind::Timer) expectPlacedAsDescribedAndWhole(window, described);
    }
    saveScreenshot(*window, "scale");
}

// A subject row as the program has it: the check box's square, a drop-down list with the
// longest subject name chosen, and the status line beneath raising an alert.
// clang-format off
WindowDescription subjectRows() {
    WindowDescription d;
    d.title = "Vostrel测试窗口";
    d.outerWidth = 260;
    d.outerHeight = 130;
    const std::string group = "分组框1";
    d.controls = {
        {.name = "语文", .kind = ControlKind::CheckBox, .parent = group, .left = 12, .top = 24, .width = 16, .height = 24},
        {.name = "科目1", .kind = ControlKind::DropDownList, .parent = group, .left = 30, .top = 24, .width = 88,
         .height = 24, .text = "文综/理综", .items = qt::testing::kSubjects},
        {.name = "状态", .kind = ControlKind::TransparentLabel, .left = 16, .top = 78, .width = 220, .height = 16,
         .text = "上一条提示播放失败：声卡不可用"},
        {.name = group, .kind = ControlKind::GroupBox, .left = 8, .top = 4, .width = 236, .height = 68,
         .text = "请选择当天考试科目"},
    };
    return d;
}
// clang-format on

// Every item of the open list is as wide as it needs and, unless the screen is too low for all of
// them, in sight without scrolling; the list lies on the screen.
void expectTheOpenListWhole(QComboBox* subjects) {
    subjects->showPopup();
    QAbstractItemView* list = subjects->view();
    ASSERT_TRUE(list->isVisible());
    const QRect screen = subjects->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(list->window()->frameGeometry()));
    const QRect shown = list->viewport()->rect();
    // A list as tall as the screen may scroll; a shorter one must show every item.
    const bool roomForAll = list->window()->frameGeometry().height() < screen.height();
    for (int row = 0; row < subjects->count(); ++row) {
        SCOPED_TRACE(subjects->itemText(row).toStdString());
        const QModelIndex item = list->model()->index(row, 0);
        EXPECT_LE(list->sizeHintForIndex(item).width(), shown.width());
        const QRect place = list->visualRect(item);
        if (roomForAll) {
            EXPECT_TRUE(place.top() >= shown.top() && place.bottom() <= shown.bottom());
        }
    }
    std::printf("  open list %dx%d (device pixels), %s\n", devicePixels(list->window()->width(), gScale),
                devicePixels(list->window()->height(), gScale),
                roomForAll ? "every item in sight" : "the screen is too low for every item");
    saveScreenshot(*list->window(), "list");
    subjects->hidePopup();
}

TEST(QtScaling, ADropDownListItsOpenListAndAnAlertLabelAreWhole) {
    const WindowDescription description = subjectRows();
    qt::QtWindowHost host;
    qt::QtEventLoop loop(host);
    Controls& controls = host.createMainWindow(description);
    host.showMainWindow();
    controls.setAlert("状态", true);
    loop.processPendingEvents();
    QWidget* window = windowHolding("科目1");
    ASSERT_NE(window, nullptr);
    for (const ControlDescription& described : description.controls) expectPlacedAsDescribedAndWhole(window, described);
    saveScreenshot(*window, "drop-down");
    expectTheOpenListWhole(window->findChild<QComboBox*>(QStringLiteral("科目1")));
}

QRect cursorPlace(QLineEdit* box) { return box->inputMethodQuery(Qt::ImCursorRectangle).toRect(); }

// A box shows its longest text whole: with the cursor at its end the text has not scrolled.
void expectRoomFor(QLineEdit* box, const QString& longest) {
    box->setText(longest);
    box->setCursorPosition(0);
    const int start = cursorPlace(box).center().x();
    box->setCursorPosition(static_cast<int>(longest.size()));
    const int end = cursorPlace(box).center().x();
    EXPECT_GE(end - start, QFontMetrics(box->font(), box).horizontalAdvance(longest) - 1) << longest.toStdString();
    EXPECT_LE(end, box->contentsRect().right() - box->textMargins().right());
}

TEST(QtScaling, TheFormIsWholeOnTheScreen) {
    qt::QtWindowHost host;
    qt::QtEventLoop loop(host);
    host.createMainWindow(subjectRows());
    host.showMainWindow();
    loop.processPendingEvents();
    const std::vector<FormField> fields = {
        {.label = "科目名称：", .text = "", .maxChars = 8},
        {.label = "考试时长（分钟）：", .text = "120", .maxChars = 3, .digitsOnly = true},
    };
    qt::testing::ModalAnswerer answerer([&](QWidget& form) {
        EXPECT_TRUE(form.screen()->availableGeometry().contains(form.frameGeometry()));
        EXPECT_GE(form.width(), form.sizeHint().width());
        EXPECT_GE(form.height(), form.sizeHint().height());
        for (auto* label : form.findChildren<QLabel*>()) EXPECT_LE(captionWidth(label), label->contentsRect().width());
        for (auto* button : form.findChildren<QPushButton*>()) EXPECT_LE(captionWidth(button), captionRoom(button));
        const QList<QLineEdit*> boxes = form.findChildren<QLineEdit*>();
        ASSERT_EQ(boxes.size(), 2);
        expectRoomFor(boxes[0], QString::fromUtf8("化学实验操作考核"));
        expectRoomFor(boxes[1], QStringLiteral("300"));
        std::printf("  form %dx%d (device pixels)\n", devicePixels(form.width(), gScale),
                    devicePixels(form.height(), gScale));
        saveScreenshot(form, "form");
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    EXPECT_FALSE(
        qt::QtInputForms(host).askForm("自定义科目", "请输入科目名称（最多8个字）和考试时长（30至300分钟）。", fields));
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 4) return 2;
    const std::string how = argv[1];
    gScale = std::atof(argv[2]);
    gArtifacts = argv[3];
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The offscreen screen says 100 DPI of its own; a desktop at 100% says 96.
    const int dpi = how == "dpi" ? static_cast<int>(std::lround(kBaseDpi * gScale)) : kBaseDpi;
    setenv("QT_FONT_DPI", std::to_string(dpi).c_str(), 1);
    if (how == "factor") setenv("QT_SCALE_FACTOR", argv[2], 1);
    vostrel::platform::qt::followDesktopScale();
    QApplication app(argc, argv);
    QApplication::setFont(vostrel::platform::qt::defaultGuiFont());
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
