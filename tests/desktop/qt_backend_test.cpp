// The Qt backend's window and event loop, on Qt's offscreen platform (no display needed): the
// controls as described, the typing limit, Esc, the queued close, timers and their rules, message
// boxes that keep timers running and are as wide as their titles, the picture, the Tab order,
// the keep-on-top layer, drop-down lists and alert labels. The dialogs' own tests are in
// qt_dialogs_test.cpp.
#include <gtest/gtest.h>

#include <QApplication>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <cstdlib>
#include <memory>

#include "assets/embedded_assets.h"
#include "platform/jpeg/jpeg_decoder.h"
#include "platform/qt/qt_message_boxes.h"
#include "tests/desktop/qt_backend_fixture.h"

namespace {

using namespace vostrel::platform;
using qt::testing::openList;
using qt::testing::pickWithTheMouse;
using qt::testing::QtBackend;

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

TEST_F(QtBackend, TabFollowsTheFocusOrderThroughDropDownListsSkipsHiddenBoxesAndWraps) {
    controls_->giveFocus("语文");
    EXPECT_EQ(controls_->focusedControl(), "语文");
    QTest::keyClick(widget("语文"), Qt::Key_Tab);
    EXPECT_EQ(controls_->focusedControl(), "科目1");
    QTest::keyClick(widget("科目1"), Qt::Key_Tab);
    EXPECT_EQ(controls_->focusedControl(), "综合时间"); // 语文时间 is hidden
    QTest::keyClick(widget("综合时间"), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(controls_->focusedControl(), "科目1");
    QTest::keyClick(widget("科目1"), Qt::Key_Tab);
    QTest::keyClick(widget("综合时间"), Qt::Key_Tab);
    EXPECT_EQ(controls_->focusedControl(), "按钮1");
    QTest::keyClick(widget("按钮1"), Qt::Key_Tab);
    QTest::keyClick(widget("按钮2"), Qt::Key_Tab);
    EXPECT_EQ(controls_->focusedControl(), "科目2");
    QTest::keyClick(widget("科目2"), Qt::Key_Tab);
    EXPECT_EQ(controls_->focusedControl(), "语文");
    QTest::keyClick(widget("语文"), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(controls_->focusedControl(), "科目2");
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

// ---- Drop-down lists

QComboBox* dropDown(QWidget* widget) { return qobject_cast<QComboBox*>(widget); }

TEST_F(QtBackend, DropDownListsShowTheirItemsWithTheDescribedOneChosen) {
    QComboBox* subjects = dropDown(widget("科目1"));
    ASSERT_NE(subjects, nullptr);
    EXPECT_FALSE(subjects->isEditable());
    EXPECT_EQ(subjects->count(), static_cast<int>(qt::testing::kSubjects.size()));
    EXPECT_EQ(subjects->itemText(12).toStdString(), qt::testing::kSubjects[12]);
    EXPECT_EQ(controls_->text("科目1"), "物理");
    EXPECT_EQ(subjects->currentText(), QString::fromUtf8("物理"));
    EXPECT_EQ(controls_->text("科目2"), ""); // described without a chosen item
    EXPECT_EQ(subjects->mapTo(window_, QPoint(0, 0)), QPoint(16 + 42, 8 + 33));
    EXPECT_EQ(subjects->size(), QSize(70, 24));
}

TEST_F(QtBackend, OnlyTheOperatorsPickOfAnotherItemIsAChange) {
    QComboBox* subjects = dropDown(widget("科目1"));
    subjects->setFocus();
    QTest::keyClick(subjects, Qt::Key_Down); // the closed list steps to the next item
    EXPECT_EQ(controls_->text("科目1"), "历史");
    EXPECT_EQ(fixture_.subjectChanges, 1);

    // With the mouse; the item already chosen is no change.
    pickWithTheMouse(subjects, 6);
    EXPECT_EQ(controls_->text("科目1"), "化学");
    EXPECT_EQ(fixture_.subjectChanges, 2);
    pickWithTheMouse(subjects, 6);
    EXPECT_EQ(openList(subjects), nullptr);
    EXPECT_EQ(fixture_.subjectChanges, 2);

    // The program's own changes are never reported, and a pick after them compares with them.
    controls_->setText("科目1", "语文");
    controls_->setItems("科目1", {"语文", "数学"});
    EXPECT_EQ(fixture_.subjectChanges, 2);
    QTest::keyClick(subjects, Qt::Key_Down);
    EXPECT_EQ(controls_->text("科目1"), "数学");
    EXPECT_EQ(fixture_.subjectChanges, 3);
    EXPECT_EQ(fixture_.otherChanges, 0);
}

// Turns the mouse wheel one notch down over the control.
void turnWheelDown(QWidget* over) {
    const QPoint centre = over->rect().center();
    QWheelEvent wheel(centre, over->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(over, &wheel);
}

TEST_F(QtBackend, TheWheelStepsOnlyThroughTheListThatHasTheFocus) {
    QComboBox* subjects = dropDown(widget("科目1"));
    controls_->giveFocus("综合时间");
    turnWheelDown(subjects); // the mouse passing over the window
    EXPECT_EQ(controls_->text("科目1"), "物理");
    EXPECT_EQ(controls_->focusedControl(), "综合时间");
    controls_->giveFocus("科目1");
    turnWheelDown(subjects);
    EXPECT_EQ(controls_->text("科目1"), "历史");
    EXPECT_EQ(fixture_.subjectChanges, 1);
}

TEST_F(QtBackend, SetTextAndSetItemsChooseByTheExactText) {
    controls_->setText("科目1", "文数/理数");
    EXPECT_EQ(controls_->text("科目1"), "文数/理数");
    controls_->setText("科目1", "文数");
    EXPECT_EQ(controls_->text("科目1"), "");
    controls_->setText("科目1", "化学");
    controls_->setItems("科目1", {"物理", "化学", "生物"});
    EXPECT_EQ(controls_->text("科目1"), "化学"); // still among the items
    EXPECT_EQ(dropDown(widget("科目1"))->count(), 3);
    controls_->setItems("科目1", {"物理", "生物"});
    EXPECT_EQ(controls_->text("科目1"), "");
    controls_->setItems("科目2", {"化学竞赛", "数学"});
    EXPECT_EQ(controls_->text("科目2"), ""); // none chosen before, none after
    EXPECT_EQ(fixture_.subjectChanges + fixture_.otherChanges, 0);
}

// The open list is drawn by the desktop's widget style: as a menu over the field (Fusion, the
// default) or as a list below it (Windows, and styles alike), each sized in its own way.
class QtBackendInStyle : public QtBackend, public ::testing::WithParamInterface<const char*> {
protected:
    QtBackendInStyle() { QApplication::setStyle(GetParam()); }
    ~QtBackendInStyle() override { QApplication::setStyle(kDefaultStyle); }
    static constexpr const char* kDefaultStyle = "Fusion";
};

INSTANTIATE_TEST_SUITE_P(Styles, QtBackendInStyle, ::testing::Values("Fusion", "Windows"));

TEST_P(QtBackendInStyle, TheOpenListShowsEveryItemWhole) {
    QComboBox* subjects = dropDown(widget("科目1"));
    subjects->showPopup();
    QAbstractItemView* list = openList(subjects);
    ASSERT_NE(list, nullptr);
    const QRect shown = list->viewport()->rect();
    for (int row = 0; row < subjects->count(); ++row) {
        SCOPED_TRACE(row);
        const QModelIndex item = list->model()->index(row, 0);
        const QRect place = list->visualRect(item);
        EXPECT_TRUE(place.top() >= shown.top() && place.bottom() <= shown.bottom()) << "in sight without scrolling";
        EXPECT_LE(list->sizeHintForIndex(item).width(), shown.width()) << "as wide as the item needs";
    }
    subjects->hidePopup();
}

TEST_F(QtBackend, EscapeClosesAnOpenListButNotTheWindow) {
    QComboBox* subjects = dropDown(widget("科目1"));
    subjects->setFocus();
    QTest::mouseClick(subjects, Qt::LeftButton);
    QAbstractItemView* list = openList(subjects);
    ASSERT_NE(list, nullptr);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(host_.mainWindowExists());
    EXPECT_EQ(controls_->text("科目1"), "物理");
    QTest::keyClick(subjects, Qt::Key_Escape); // the list is closed: Esc closes the window again
    EXPECT_FALSE(host_.mainWindowExists());
}

// ---- Alert labels

// Pixels of the label as drawn, counted by colour.
struct Drawn {
    int red = 0;
    int black = 0;
};
Drawn drawnColours(QWidget* label) {
    const QImage image = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
    Drawn drawn;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 160 && c.green() < 90 && c.blue() < 90) ++drawn.red;
            if (c.red() < 60 && c.green() < 60 && c.blue() < 60) ++drawn.black;
        }
    }
    return drawn;
}

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* watched) { watched->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// The repaints of the widget an operation causes, once what was pending before it is done.
template <class Operation>
int repaintsOf(QWidget* watched, qt::QtEventLoop& loop, Operation operation) {
    loop.processPendingEvents();
    PaintCounter counter(watched);
    operation();
    loop.processPendingEvents();
    return counter.paints;
}

TEST_F(QtBackend, AnAlertLabelIsRedUntilTheAlertEnds) {
    QWidget* label = widget("标签");
    controls_->setText("标签", "上一条提示播放失败");
    EXPECT_EQ(drawnColours(label).red, 0);
    EXPECT_GT(drawnColours(label).black, 0);

    PaintCounter counter(label);
    controls_->setAlert("标签", true);
    const int paintsForTheAlert = counter.paints;
    EXPECT_GT(paintsForTheAlert, 0); // on the screen at once
    const Drawn alert = drawnColours(label);
    EXPECT_GT(alert.red, 0);
    EXPECT_EQ(alert.black, 0);

    EXPECT_EQ(repaintsOf(label, loop_, [&] { controls_->setAlert("标签", true); }), 0); // the state it has

    controls_->setText("标签", "下一条提示：08:50 考前十分钟"); // a new text keeps the alert
    EXPECT_GT(drawnColours(label).red, 0);
    controls_->setAlert("标签", false);
    EXPECT_EQ(drawnColours(label).red, 0);
    EXPECT_GT(drawnColours(label).black, 0);
}

TEST_F(QtBackend, TheProgramTicksACheckBoxWithoutAClick) {
    QWidget* box = widget("语文");
    PaintCounter counter(box);
    controls_->setTicked("语文", true);
    EXPECT_TRUE(controls_->ticked("语文"));
    EXPECT_GT(counter.paints, 0); // on the screen at once
    EXPECT_EQ(fixture_.boxClicks, 0);
    EXPECT_EQ(repaintsOf(box, loop_, [&] { controls_->setTicked("语文", true); }), 0); // the state it has
    QTest::mouseClick(box, Qt::LeftButton); // the operator's click still is one
    EXPECT_FALSE(controls_->ticked("语文"));
    EXPECT_EQ(fixture_.boxClicks, 1);
}

// ---- The close query

class QtBackendAskingBeforeClosing : public QtBackend {
protected:
    QtBackendAskingBeforeClosing() {
        fixture_.closeQuery = [this] {
            ++queries_;
            return agree_;
        };
    }
    // What the close box does: the window system asks the window to close.
    void pressCloseBox() {
        QCloseEvent close;
        QApplication::sendEvent(window_->windowHandle(), &close);
    }
    int queries_ = 0;
    bool agree_ = false;
};

TEST_F(QtBackendAskingBeforeClosing, TheCloseBoxAndEscapeCloseOnlyWhenTheQueryAgrees) {
    controls_->setInterval("快钟", 20);
    pressCloseBox();
    EXPECT_EQ(queries_, 1);
    EXPECT_TRUE(host_.mainWindowExists());
    EXPECT_TRUE(window_->isVisible());
    QTest::keyClick(widget("综合时间"), Qt::Key_Escape);
    EXPECT_EQ(queries_, 2);
    EXPECT_TRUE(host_.mainWindowExists());
    EXPECT_TRUE(window_->isVisible());
    // The run goes on: timers still tick.
    const int ticks = fixture_.fastTicks;
    EXPECT_TRUE(processUntil([&] { return fixture_.fastTicks > ticks; }));

    agree_ = true;
    QTest::keyClick(widget("综合时间"), Qt::Key_Escape);
    EXPECT_EQ(queries_, 3);
    EXPECT_FALSE(host_.mainWindowExists());
}

TEST_F(QtBackendAskingBeforeClosing, TheCloseBoxClosesWhenTheQueryAgrees) {
    agree_ = true;
    pressCloseBox();
    EXPECT_EQ(queries_, 1);
    EXPECT_FALSE(host_.mainWindowExists());
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(QtBackendAskingBeforeClosing, TheProgramsOwnCloseIsNeverQueried) {
    controls_->closeMainWindow();
    loop_.processPendingEvents();
    EXPECT_EQ(queries_, 0);
    EXPECT_FALSE(host_.mainWindowExists());
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
