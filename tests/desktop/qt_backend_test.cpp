// The Qt backend's window and event loop, on Qt's offscreen platform (no display needed): the
// controls as described, the typing limit, Esc, the queued close, timers and their rules, message
// boxes that keep timers running and are as wide as their titles, the picture, the Tab order and
// the keep-on-top layer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <memory>

#include "assets/embedded_assets.h"
#include "platform/jpeg/jpeg_decoder.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_window_host.h"

namespace {

using namespace vostrel::platform;

ControlDescription timer(std::string name, std::int32_t interval) {
    return {.name = std::move(name), .kind = ControlKind::Timer, .interval = interval};
}

// A small window in the shape of the program's: a picture above a group box holding a check box,
// an edit box, a label and two buttons, one edit box on the window itself, and timers.
struct Fixture {
    int clicks = 0;
    int fastTicks = 0;
    // Laid out by hand: one control a line or two, so the table reads like the window.
    // clang-format off
    WindowDescription description() {
        WindowDescription d;
        d.title = "Vostrel测试窗口";
        d.outerWidth = 372;
        d.outerHeight = 384;
        d.iconPng = vostrel::assets::iconPng();
        const std::string group = "分组框1";
        d.controls = {
            {.name = "图片框1", .kind = ControlKind::PictureBox, .left = 10, .top = 10, .width = 500, .height = 700,
             .visible = false, .jpeg = vostrel::assets::pictureJpeg()},
            {.name = "按钮1", .parent = group, .left = 11, .top = 153, .width = 60, .height = 32, .text = "保存设置"},
            timer("时钟1", 200),
            timer("慢钟", 0),
            timer("快钟", 0),
            {.name = "标签", .kind = ControlKind::TransparentLabel, .parent = group, .left = 80, .top = 16,
             .width = 99, .height = 16, .text = "A & B"},
            {.name = "语文时间", .kind = ControlKind::EditBox, .parent = group, .left = 118, .top = 33, .width = 74,
             .height = 25, .text = "09:00", .visible = false, .font = {.heightPx = 21}, .maxChars = 5},
            {.name = "综合时间", .kind = ControlKind::EditBox, .left = 134, .top = 104, .width = 74, .height = 22,
             .text = "09:00", .maxChars = 5},
            {.name = "按钮2", .parent = group, .left = 89, .top = 167, .width = 152, .height = 49, .text = "开始运行"},
            {.name = "语文", .kind = ControlKind::CheckBox, .parent = group, .left = 24, .top = 32, .width = 48,
             .height = 24, .text = "语文"},
            {.name = group, .kind = ControlKind::GroupBox, .left = 16, .top = 8, .width = 336, .height = 224,
             .text = "请选择当天考试科目"},
        };
        d.focusOrder = {"语文", "语文时间", "综合时间", "按钮1", "按钮2"};
        d.bindings.push_back({"按钮1", ControlEvent::Click, [this] { ++clicks; }});
        d.bindings.push_back({"快钟", ControlEvent::Tick, [this] { ++fastTicks; }});
        return d;
    }
    // clang-format on
};

class QtBackend : public ::testing::Test {
protected:
    void SetUp() override {
        controls_ = &host_.createMainWindow(fixture_.description());
        host_.showMainWindow();
        window_ = qobject_cast<QWidget*>(widget("分组框1")->window());
        QApplication::setActiveWindow(window_);
        loop_.processPendingEvents();
    }
    QWidget* widget(const char* name) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* w = top->findChild<QWidget*>(QString::fromUtf8(name))) return w;
        }
        return nullptr;
    }
    // Processes events until the condition holds; the bound only keeps a broken build from hanging.
    template <class Condition>
    bool processUntil(Condition condition) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!condition() && elapsed.elapsed() < 10000) loop_.waitForEvents(20);
        return condition();
    }

    Fixture fixture_;
    qt::QtWindowHost host_;
    qt::QtEventLoop loop_{host_};
    Controls* controls_ = nullptr;
    QWidget* window_ = nullptr;
};

TEST_F(QtBackend, ControlsStartAsDescribed) {
    EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("Vostrel测试窗口"));
    EXPECT_EQ(controls_->text("按钮1"), "保存设置");
    EXPECT_EQ(controls_->text("分组框1"), "请选择当天考试科目");
    EXPECT_EQ(controls_->text("语文时间"), "09:00");
    EXPECT_FALSE(controls_->visible("语文时间"));
    EXPECT_FALSE(controls_->visible("图片框1"));
    EXPECT_TRUE(controls_->visible("按钮1"));
    EXPECT_FALSE(controls_->ticked("语文"));
    EXPECT_FALSE(window_->windowIcon().isNull());
}

TEST_F(QtBackend, TheWindowHasItsOuterSizeAndNoMaximiseButton) {
    EXPECT_EQ(window_->frameGeometry().size(), QSize(372, 384));
    EXPECT_EQ(window_->minimumSize(), window_->maximumSize());
    EXPECT_FALSE(window_->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window_->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(QtBackend, ControlsInTheGroupBoxArePlacedRelativeToIt) {
    EXPECT_EQ(widget("按钮1")->mapTo(window_, QPoint(0, 0)), QPoint(16 + 11, 8 + 153));
    EXPECT_EQ(widget("综合时间")->mapTo(window_, QPoint(0, 0)), QPoint(134, 104));
    EXPECT_EQ(widget("按钮1")->size(), QSize(60, 32));
}

TEST_F(QtBackend, EarlierRowsLieAboveLaterOnes) {
    const auto children = window_->children();
    // Qt stacks later children above earlier ones.
    EXPECT_GT(children.indexOf(widget("图片框1")), children.indexOf(widget("分组框1")));
    EXPECT_GT(children.indexOf(widget("综合时间")), children.indexOf(widget("分组框1")));
}

TEST_F(QtBackend, ClicksReachTheirHandlersFromInsideTheGroupBox) {
    QTest::mouseClick(widget("按钮1"), Qt::LeftButton);
    EXPECT_EQ(fixture_.clicks, 1);
}

TEST_F(QtBackend, TypingStopsAtTheLimitButProgramTextIsShownWhole) {
    auto* box = widget("综合时间");
    controls_->setText("综合时间", "");
    box->setFocus();
    QTest::keyClicks(box, "12:345");
    EXPECT_EQ(controls_->text("综合时间"), "12:34");
    controls_->setText("综合时间", "10:30:45");
    EXPECT_EQ(controls_->text("综合时间"), "10:30:45");
    // A text beyond the limit can still be shortened.
    qobject_cast<QLineEdit*>(box)->end(false);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(controls_->text("综合时间"), "10:30:4");
    QTest::keyClick(box, Qt::Key_9);
    EXPECT_EQ(controls_->text("综合时间"), "10:30:4");
}

TEST_F(QtBackend, APasteFromTheContextMenuKeepsOnlyWhatFits) {
    auto* box = qobject_cast<QLineEdit*>(widget("综合时间"));
    controls_->setText("综合时间", "9:");
    box->setFocus();
    box->setCursorPosition(2);
    QGuiApplication::clipboard()->setText("30:45:00");
    box->paste(); // what the context menu's Paste does
    EXPECT_EQ(controls_->text("综合时间"), "9:30:");
    box->paste(); // no room left
    EXPECT_EQ(controls_->text("综合时间"), "9:30:");
}

TEST_F(QtBackend, EscapeInAnEditBoxClosesTheWindow) {
    QTest::keyClick(widget("综合时间"), Qt::Key_Escape);
    EXPECT_FALSE(host_.mainWindowExists());
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(QtBackend, EscapeWithAModifierDoesNotClose) {
    QTest::keyClick(widget("按钮1"), Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_TRUE(host_.mainWindowExists());
}

TEST_F(QtBackend, CloseIsQueuedUntilTheEventLoopTakesIt) {
    controls_->closeMainWindow();
    EXPECT_TRUE(host_.mainWindowExists());
    loop_.processPendingEvents();
    EXPECT_FALSE(host_.mainWindowExists());
    // Operations on a gone window do nothing.
    controls_->setText("按钮1", "x");
    EXPECT_EQ(controls_->text("按钮1"), "");
    EXPECT_EQ(controls_->interval("时钟1"), 0);
}

TEST_F(QtBackend, RunReturnsWhenTheWindowIsClosed) {
    QTimer::singleShot(0, [this] { controls_->closeMainWindow(); });
    loop_.run();
    EXPECT_FALSE(host_.mainWindowExists());
}

TEST_F(QtBackend, TimersFollowTheRules) {
    EXPECT_EQ(controls_->interval("时钟1"), 200); // described above 0: running from creation
    EXPECT_EQ(controls_->interval("慢钟"), 0);
    controls_->setInterval("慢钟", -5);
    EXPECT_EQ(controls_->interval("慢钟"), 0);
    controls_->setInterval("慢钟", 283000);
    EXPECT_EQ(controls_->interval("慢钟"), 283000);
    controls_->setInterval("慢钟", 0);
    EXPECT_EQ(controls_->interval("慢钟"), 0);
}

TEST_F(QtBackend, SettingTheSameIntervalAgainDoesNotRestartTheCountdown) {
    controls_->setInterval("快钟", 60);
    // Re-set far more often than the interval: a restart each time would never let it tick.
    QElapsedTimer elapsed;
    elapsed.start();
    while (fixture_.fastTicks == 0 && elapsed.elapsed() < 10000) {
        controls_->setInterval("快钟", 60);
        loop_.waitForEvents(5);
    }
    EXPECT_GT(fixture_.fastTicks, 0);
}

TEST_F(QtBackend, TimersTickWhileAMessageBoxIsOpen) {
    controls_->setInterval("快钟", 20);
    qt::QtMessageBoxes boxes;
    // Closes the box once ticks have arrived inside it.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [this] {
        if (fixture_.fastTicks >= 3) {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        }
    });
    closer.start(10);
    boxes.showMessage("保存成功", kMessageOk, "");
    EXPECT_GE(fixture_.fastTicks, 3);
}

TEST_F(QtBackend, AMessageBoxIsWideEnoughForItsTitle) {
    // A short message under a longer title: sized to its message, the box cut the title.
    const QString title = QString::fromUtf8("Vostrel软件");
    int shownWidth = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget(); box && box->isVisible()) {
            shownWidth = box->width();
            box->close();
        }
    });
    closer.start(10);
    qt::QtMessageBoxes().showMessage("保存成功", kMessageOk, title.toStdString());
    EXPECT_GE(shownWidth, qt::titleBarWidth(title));
    // The room is more than Qt's own allowance beside the title (50 px), which was too little.
    const QFontMetrics titleBar(QApplication::font("QMdiSubWindowTitleBar"));
    EXPECT_GT(qt::titleBarWidth(title), titleBar.horizontalAdvance(title) + 50);
}

TEST_F(QtBackend, WaitForEventsReturnsAfterTheTimeWithoutSpinning) {
    controls_->setInterval("时钟1", 0);
    QElapsedTimer elapsed;
    elapsed.start();
    std::clock_t cpuBefore = std::clock();
    for (int i = 0; i < 5; ++i) loop_.waitForEvents(40);
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    EXPECT_GE(elapsed.elapsed(), 40); // it waited at least one full wait
    std::printf("waitForEvents: %lld ms waited, %.1f ms CPU\n", static_cast<long long>(elapsed.elapsed()), cpuMs);
}

TEST_F(QtBackend, ThePictureIsDrawnAtItsOwnSizeAndTiled) {
    controls_->setVisible("图片框1", true);
    const QImage shown = widget("图片框1")->grab().toImage().convertToFormat(QImage::Format_RGB888);
    const auto picture = jpeg::decodeJpeg(vostrel::assets::pictureJpeg());
    ASSERT_TRUE(picture);
    auto pixel = [&](int x, int y) {
        const auto* p = picture->rgb.data() + picture->rowBytes() * y + x * 3;
        return qRgb(p[0], p[1], p[2]);
    };
    EXPECT_EQ(shown.pixel(5, 5), pixel(5, 5));
    EXPECT_EQ(shown.pixel(437 + 5, 5), pixel(5, 5));       // repeated to the right
    EXPECT_EQ(shown.pixel(60, 597 + 100), pixel(60, 100)); // and downwards
    EXPECT_EQ(shown.pixel(200, 300), pixel(200, 300));
}

TEST_F(QtBackend, TabFollowsTheFocusOrderSkipsHiddenBoxesAndWraps) {
    controls_->giveFocus("语文");
    EXPECT_EQ(controls_->focusedControl(), "语文");
    QTest::keyClick(widget("语文"), Qt::Key_Tab);
    EXPECT_EQ(controls_->focusedControl(), "综合时间"); // 语文时间 is hidden
    QTest::keyClick(widget("综合时间"), Qt::Key_Tab);
    EXPECT_EQ(controls_->focusedControl(), "按钮1");
    QTest::keyClick(widget("按钮1"), Qt::Key_Tab);
    QTest::keyClick(widget("按钮2"), Qt::Key_Tab);
    EXPECT_EQ(controls_->focusedControl(), "语文");
    QTest::keyClick(widget("语文"), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(controls_->focusedControl(), "按钮2");
}

TEST_F(QtBackend, SettingTheSameVisibilityChangesNothing) {
    controls_->setVisible("语文时间", false);
    EXPECT_FALSE(controls_->visible("语文时间"));
    controls_->setVisible("语文时间", true);
    EXPECT_TRUE(controls_->visible("语文时间"));
    controls_->setText("语文时间", "10:00");
    controls_->setVisible("语文时间", false);
    controls_->setVisible("语文时间", true);
    EXPECT_EQ(controls_->text("语文时间"), "10:00"); // kept while hidden
}

TEST_F(QtBackend, KeepOnTopNeitherMovesNorHidesTheWindow) {
    const QRect before = window_->frameGeometry();
    controls_->setAlwaysOnTop(true);
    EXPECT_TRUE(controls_->alwaysOnTop());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->frameGeometry(), before);
    controls_->setAlwaysOnTop(false);
    EXPECT_FALSE(controls_->alwaysOnTop());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->frameGeometry(), before);
}

TEST_F(QtBackend, TransparentLabelsShowAmpersandsAsTheyAre) {
    EXPECT_EQ(controls_->text("标签"), "A & B");
    controls_->setText("标签", "结束时间为11:30");
    EXPECT_EQ(controls_->text("标签"), "结束时间为11:30");
}

} // namespace

int main(int argc, char** argv) {
    // The offscreen platform needs no display; a test run under Xvfb may choose xcb instead.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QCoreApplication::setAttribute(Qt::AA_DisableHighDpiScaling);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
