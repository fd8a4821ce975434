// The program's window on Qt at one display scale, set the way a desktop sets it: as the
// screen's logical DPI (what Xft.dpi gives on X11; QT_FONT_DPI stands in for it here) or as
// QT_SCALE_FACTOR. The test is registered once per scale. In device pixels the window and
// every control are the description's pixels times the scale, and every caption fits the width
// of its control in the font the control really uses. Saves a screenshot of the window to the
// artifacts folder.
//   desktop_qt_scaling_tests dpi|factor SCALE ARTIFACTS_DIR [gtest options]
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "app/main_window_layout.h"
#include "platform/display_scale.h"
#include "platform/qt/cjk_font.h"
#include "platform/qt/display_scaling.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_window_host.h"

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
    return inParent.width();
}

QString captionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
    return {};
}

TEST(QtScaling, TheWindowAndEveryControlAreTheDescriptionTimesTheScaleAndEveryCaptionFits) {
    const WindowDescription description = vostrel::app::mainWindowLayout();
    qt::QtWindowHost host;
    qt::QtEventLoop loop(host);
    host.createMainWindow(description);
    host.showMainWindow();
    loop.processPendingEvents();
    QWidget* window = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->findChild<QWidget*>(QStringLiteral("分组框1"))) window = top;
    }
    ASSERT_NE(window, nullptr);
    const double ratio = window->devicePixelRatioF();
    EXPECT_NEAR(ratio, gScale, 0.001) << "Qt scales the window by the desktop's scale";

    const DisplayScale scale = DisplayScale::fromFactor(gScale);
    const QRect outer = window->frameGeometry();
    EXPECT_NEAR(devicePixels(outer.width(), ratio), scale.pixels(description.outerWidth), 1);
    EXPECT_NEAR(devicePixels(outer.height(), ratio), scale.pixels(description.outerHeight), 1);
    for (const ControlDescription& described : description.controls) {
        if (described.kind == ControlKind::Timer) continue;
        SCOPED_TRACE(described.name);
        auto* widget = window->findChild<QWidget*>(QString::fromStdString(described.name));
        ASSERT_NE(widget, nullptr);
        const QRect place = widget->geometry();
        EXPECT_NEAR(devicePixels(place.left(), ratio), scale.pixels(described.left), 1);
        EXPECT_NEAR(devicePixels(place.top(), ratio), scale.pixels(described.top), 1);
        EXPECT_NEAR(devicePixels(place.width(), ratio), scale.pixels(described.width), 1);
        EXPECT_NEAR(devicePixels(place.height(), ratio), scale.pixels(described.height), 1);
        if (described.kind == ControlKind::PictureBox) continue;

        // Measured in the control's own font, which Qt draws at the scale with the control; a
        // wrapped label's lines each fit, so none of them wraps onto a line of its own.
        const QFontMetrics metrics(widget->font(), widget);
        int widest = 0;
        for (const QString& line : captionOf(widget).split(QStringLiteral("\r\n")))
            widest = std::max(widest, metrics.horizontalAdvance(line));
        const int room = captionRoom(widget);
        EXPECT_LE(widest, room) << "caption width";
        std::printf("  %-10s %dx%d: caption %d wide, room %d (device pixels; font %d px)\n", described.name.c_str(),
                    devicePixels(place.width(), ratio), devicePixels(place.height(), ratio),
                    devicePixels(widest, ratio), devicePixels(room, ratio),
                    devicePixels(widget->fontInfo().pixelSize(), ratio));
    }
    if (!gArtifacts.empty()) {
        QDir().mkpath(QString::fromStdString(gArtifacts));
        const QString file =
            QStringLiteral("%1/qt-scale-%2.png").arg(QString::fromStdString(gArtifacts)).arg(qRound(gScale * 100));
        EXPECT_TRUE(window->grab().save(file, "PNG"));
    }
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
