// The Qt backend's dialogs over the test window: the yes/no question (its icon, its buttons 是
// and 否, 否 taken by Enter, Esc and the close box), the close query asking it, the input form
// (centred on the window, the focus in its first box, typing limits, OK and Cancel), timers
// ticking while either is open, and a later copy's request bringing the window to the front.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "platform/qt/qt_input_forms.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_single_instance.h"
#include "tests/desktop/qt_backend_fixture.h"

namespace {

using namespace vostrel::platform;
using qt::testing::ModalAnswerer;
using qt::testing::QtBackend;

const char* const kQuestion = "正在播报考试提示，确定要退出吗？";

// What the close box does: the window system asks the window to close.
void pressCloseBox(QWidget& window) {
    QCloseEvent close;
    QApplication::sendEvent(window.windowHandle(), &close);
}

QAbstractButton* buttonCaptioned(QWidget& box, const char* caption) {
    for (auto* button : box.findChildren<QAbstractButton*>()) {
        if (button->text() == QString::fromUtf8(caption)) return button;
    }
    return nullptr;
}

TEST_F(QtBackend, AQuestionOffers是And否And否IsWhatEnterEscAndTheCloseBoxAnswer) {
    qt::QtMessageBoxes boxes;
    std::vector<std::function<void(QWidget&)>> answers = {
        [](QWidget& box) { QTest::keyClick(&box, Qt::Key_Enter); },
        [](QWidget& box) { QTest::keyClick(&box, Qt::Key_Escape); },
        [](QWidget& box) { pressCloseBox(box); },
        [](QWidget& box) { QTest::mouseClick(buttonCaptioned(box, "是"), Qt::LeftButton); },
    };
    std::size_t asked = 0;
    QString title;
    ModalAnswerer answerer([&](QWidget& shown) {
        auto& box = dynamic_cast<QMessageBox&>(shown);
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.text(), QString::fromUtf8(kQuestion));
        ASSERT_EQ(box.buttons().size(), 2);
        EXPECT_NE(buttonCaptioned(box, "是"), nullptr);
        EXPECT_EQ(box.defaultButton(), buttonCaptioned(box, "否"));
        title = box.windowTitle();
        answers.at(asked++)(box);
    });
    EXPECT_FALSE(boxes.askYesNo(kQuestion, "Vostrel软件"));
    EXPECT_EQ(title, QString::fromUtf8("Vostrel软件"));
    EXPECT_FALSE(boxes.askYesNo(kQuestion, ""));
    EXPECT_EQ(title.toStdString(), kDefaultMessageTitle);
    EXPECT_FALSE(boxes.askYesNo(kQuestion, ""));
    EXPECT_TRUE(boxes.askYesNo(kQuestion, ""));
    EXPECT_EQ(asked, answers.size());
}

// The program's close query: a question while a run is on.
class QtBackendAskingWhileRunning : public QtBackend {
protected:
    QtBackendAskingWhileRunning() {
        fixture_.closeQuery = [this] { return boxes_.askYesNo(kQuestion, ""); };
    }
    qt::QtMessageBoxes boxes_;
};

TEST_F(QtBackendAskingWhileRunning, 否KeepsTheWindowAndItsTimersGoingAnd是ClosesIt) {
    controls_->setInterval("快钟", 20);
    int ticksInside = 0;
    bool agree = false;
    ModalAnswerer answerer([&](QWidget& box) {
        ticksInside = fastTicksWhileWaiting();
        QTest::mouseClick(buttonCaptioned(box, agree ? "是" : "否"), Qt::LeftButton);
    });
    QTest::keyClick(widget("综合时间"), Qt::Key_Escape);
    EXPECT_GE(ticksInside, 2);
    EXPECT_TRUE(host_.mainWindowExists());
    EXPECT_TRUE(window_->isVisible());
    agree = true;
    pressCloseBox(*window_);
    EXPECT_FALSE(host_.mainWindowExists());
}

// ---- The input form

const std::vector<FormField> kSubjectForm = {
    {.label = "科目名称：", .text = "", .maxChars = 8},
    {.label = "考试时长（分钟）：", .text = "120", .maxChars = 3, .digitsOnly = true},
};
const char* const kFormTitle = "自定义科目";
const char* const kFormExplanation = "请输入科目名称（最多8个字）和考试时长（30至300分钟）。";

// Chinese comes through the input method: each word is committed at once.
void commitThroughInputMethod(QWidget* box, const char* text) {
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8(text));
    QApplication::sendEvent(box, &commit);
}

std::vector<QLineEdit*> boxesOf(QWidget& form) {
    const QList<QLineEdit*> found = form.findChildren<QLineEdit*>();
    return {found.begin(), found.end()};
}

TEST_F(QtBackend, TheFormReturnsWhatWasTypedForOkAndNothingOtherwise) {
    qt::QtInputForms forms(host_);
    window_->move(30, 20); // away from the screen's centre, where an unowned form would go
    QPoint formCentre;
    QPoint windowCentre;
    ModalAnswerer answerer([&](QWidget& form) {
        formCentre = form.frameGeometry().center();
        windowCentre = window_->frameGeometry().center();
        const std::vector<QLineEdit*> boxes = boxesOf(form);
        ASSERT_EQ(boxes.size(), 2u);
        commitThroughInputMethod(boxes[0], "化学实验操作考核补考"); // ten characters, two beyond the limit
        QTest::keyClick(boxes[0], Qt::Key_Tab);
        QTest::keyClicks(boxes[1], "9x05"); // replaces the selected 120; no letters, three digits
        QTest::keyClick(boxes[1], Qt::Key_Enter);
    });
    const auto typed = forms.askForm(kFormTitle, kFormExplanation, kSubjectForm);
    ASSERT_TRUE(typed.has_value());
    EXPECT_EQ(*typed, (std::vector<std::string>{"化学实验操作考核", "905"}));
    EXPECT_LE((formCentre - windowCentre).manhattanLength(), 2) << "centred on the window";
}

TEST_F(QtBackend, TheFormKeepsItsFocusInTheFirstBoxAndShowsItsTexts) {
    qt::QtInputForms forms(host_);
    ModalAnswerer answerer([&](QWidget& form) {
        const std::vector<QLineEdit*> boxes = boxesOf(form);
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(form.focusWidget(), boxes[0]);
        EXPECT_EQ(boxes[1]->text(), QStringLiteral("120"));
        EXPECT_EQ(form.windowTitle(), QString::fromUtf8(kFormTitle));
        bool explained = false;
        for (auto* label : form.findChildren<QLabel*>())
            explained |= label->text() == QString::fromUtf8(kFormExplanation);
        EXPECT_TRUE(explained);
        QTest::keyClick(boxes[0], Qt::Key_Escape);
    });
    EXPECT_FALSE(forms.askForm(kFormTitle, kFormExplanation, kSubjectForm).has_value());
}

TEST_F(QtBackend, CancelAndTheCloseBoxGiveNothingAndTimersTickWhileTheFormIsOpen) {
    controls_->setInterval("快钟", 20);
    qt::QtInputForms forms(host_);
    int ticksInside = 0;
    bool viaCloseBox = false;
    ModalAnswerer answerer([&](QWidget& form) {
        ticksInside = fastTicksWhileWaiting();
        commitThroughInputMethod(boxesOf(form)[0], "信息技术");
        if (viaCloseBox) {
            pressCloseBox(form);
        } else {
            QTest::mouseClick(buttonCaptioned(form, "取消"), Qt::LeftButton);
        }
    });
    EXPECT_FALSE(forms.askForm(kFormTitle, kFormExplanation, kSubjectForm).has_value());
    EXPECT_GE(ticksInside, 2);
    viaCloseBox = true;
    EXPECT_FALSE(forms.askForm(kFormTitle, kFormExplanation, kSubjectForm).has_value());
}

TEST_F(QtBackend, TheFormsOkButtonGivesTheTextsAsTheyStand) {
    qt::QtInputForms forms(host_);
    ModalAnswerer answerer([&](QWidget& form) {
        EXPECT_NE(buttonCaptioned(form, "取消"), nullptr);
        QTest::mouseClick(buttonCaptioned(form, "确定"), Qt::LeftButton);
    });
    const auto texts = forms.askForm(kFormTitle, kFormExplanation, kSubjectForm);
    ASSERT_TRUE(texts.has_value());
    EXPECT_EQ(*texts, (std::vector<std::string>{"", "120"}));
}

TEST_F(QtBackend, APickOfTheListOpensTheFormOnceTheListHasClosed) {
    // The program asks for a subject of its own when "自定义…" is picked.
    qt::QtInputForms forms(host_);
    bool listOpenDuringForm = true;
    std::optional<std::vector<std::string>> asked;
    fixture_.onSubjectChange = [&] { asked = forms.askForm(kFormTitle, kFormExplanation, kSubjectForm); };
    ModalAnswerer answerer([&](QWidget& form) {
        listOpenDuringForm = qobject_cast<QComboBox*>(widget("科目1"))->view()->isVisible();
        commitThroughInputMethod(boxesOf(form)[0], "信息技术");
        QTest::keyClick(boxesOf(form)[0], Qt::Key_Enter);
    });
    qt::testing::pickWithTheMouse(qobject_cast<QComboBox*>(widget("科目1")), 12);
    EXPECT_EQ(fixture_.subjectChanges, 1);
    EXPECT_FALSE(listOpenDuringForm);
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(*asked, (std::vector<std::string>{"信息技术", "120"}));
}

// ---- A later copy's request

TEST_F(QtBackend, ALaterCopysRequestBringsTheMinimisedWindowToTheFront) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    qt::QtSingleInstance first([this] { host_.bringToFront(); });
    ASSERT_TRUE(first.claim());
    window_->showMinimized();
    ASSERT_TRUE(window_->isMinimized());
    qt::QtSingleInstance later([] {});
    ASSERT_FALSE(later.claim());
    later.activateFirstCopy();
    EXPECT_TRUE(processUntil([&] { return !window_->isMinimized(); }));
    EXPECT_TRUE(window_->isVisible());
    unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
