#pragma once
// The Qt backend's test window, shared by the tests of its controls and of its dialogs: a small
// window in the shape of the program's, shown on Qt's offscreen platform; a pick from a drop-down
// list with the mouse; a helper that answers the message boxes, questions and forms the code
// under test opens.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "assets/embedded_assets.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_window_host.h"

namespace vostrel::platform::qt::testing {

inline ControlDescription timer(std::string name, std::int32_t interval) {
    return {.name = std::move(name), .kind = ControlKind::Timer, .interval = interval};
}

// The day's subjects as the program offers them, longest names included.
inline const std::vector<std::string> kSubjects = {"语文",      "数学",      "外语",   "英语",     "物理",
                                                   "历史",      "化学",      "生物",   "思想政治", "地理",
                                                   "文数/理数", "文综/理综", "自定义…"};

// A picture above a group box holding a check box, a drop-down list, an edit box, a label and two
// buttons; an edit box and a second drop-down list (nothing chosen) on the window itself; timers.
struct Fixture {
    int clicks = 0;
    int boxClicks = 0;
    int fastTicks = 0;
    int subjectChanges = 0;
    int otherChanges = 0;
    std::function<void()> onSubjectChange;
    std::function<bool()> closeQuery; // none: the window closes at once
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
            {.name = "语文", .kind = ControlKind::CheckBox, .parent = group, .left = 24, .top = 32, .width = 16,
             .height = 24},
            {.name = "科目1", .kind = ControlKind::DropDownList, .parent = group, .left = 42, .top = 33, .width = 70,
             .height = 24, .text = "物理", .items = kSubjects},
            {.name = "科目2", .kind = ControlKind::DropDownList, .left = 16, .top = 240, .width = 70, .height = 24,
             .items = {"语文", "数学"}},
            {.name = group, .kind = ControlKind::GroupBox, .left = 16, .top = 8, .width = 336, .height = 224,
             .text = "请选择当天考试科目"},
        };
        d.focusOrder = {"语文", "科目1", "语文时间", "综合时间", "按钮1", "按钮2", "科目2"};
        d.bindings.push_back({"按钮1", ControlEvent::Click, [this] { ++clicks; }});
        d.bindings.push_back({"语文", ControlEvent::Click, [this] { ++boxClicks; }});
        d.bindings.push_back({"快钟", ControlEvent::Tick, [this] { ++fastTicks; }});
        d.bindings.push_back({"科目1", ControlEvent::Change, [this] {
            ++subjectChanges;
            if (onSubjectChange) onSubjectChange();
        }});
        d.bindings.push_back({"科目2", ControlEvent::Change, [this] { ++otherChanges; }});
        if (closeQuery) d.closeQuery = [this] { return closeQuery(); };
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
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_)); // at once offscreen; a display maps it later
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
    // Waits, as the program does while a box or form of its own is open, for two ticks of the
    // fast timer; the ticks it saw.
    int fastTicksWhileWaiting() {
        const int before = fixture_.fastTicks;
        processUntil([&] { return fixture_.fastTicks >= before + 2; });
        return fixture_.fastTicks - before;
    }

    Fixture fixture_;
    QtWindowHost host_;
    QtEventLoop loop_{host_};
    Controls* controls_ = nullptr;
    QWidget* window_ = nullptr;
};

// The open list of a drop-down list, once it shows.
inline QAbstractItemView* openList(QComboBox* list) {
    QAbstractItemView* view = list->view();
    return view->isVisible() ? view : nullptr;
}

// Opens the list with a click, moves the mouse onto the item and clicks it, as an operator does
// (the open list takes a click only on the item under the mouse, and only after it has moved).
inline void pickWithTheMouse(QComboBox* dropDownList, int row) {
    QTest::mouseClick(dropDownList, Qt::LeftButton);
    QAbstractItemView* list = openList(dropDownList);
    ASSERT_NE(list, nullptr);
    const QPoint item(list->viewport()->width() / 2, list->visualRect(list->model()->index(row, 0)).center().y());
    QMouseEvent move(QEvent::MouseMove, item, list->viewport()->mapToGlobal(item), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item);
}

// Answers every modal box (message, question, form) once it is shown, from inside the nested
// event loop that shows it, as the operator would; a box shown again is answered again.
class ModalAnswerer final {
public:
    explicit ModalAnswerer(std::function<void(QWidget&)> answer) : answer_(std::move(answer)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            QWidget* box = QApplication::activeModalWidget();
            // The operator answers a box once it is on the screen and has the keyboard.
            if (!box || !box->isActiveWindow() || box == answered_) return;
            answered_ = box; // forgotten when the box goes, so the next box is answered too
            answer_(*box);
        });
        poll_.start(10);
    }

private:
    std::function<void(QWidget&)> answer_;
    QPointer<QWidget> answered_;
    QTimer poll_;
};

} // namespace vostrel::platform::qt::testing
