#include "platform/qt/qt_message_boxes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include "platform/qt/cjk_font.h"
#include "platform/qt/utf8_qstring.h"

namespace vostrel::platform::qt {

namespace {

// The window icon and the minimise, maximise and close buttons, each about as wide as the bar
// is high, and the gap a title bar leaves around each of them and the title.
constexpr int kTitleBarButtons = 4;
constexpr int kTitleBarGap = 4;

constexpr const char* kYesCaption = "是";
constexpr const char* kNoCaption = "否";

// Title, font and modality, the same for every box.
void prepare(QMessageBox& box, std::string_view title) {
    box.setWindowTitle(fromUtf8(title.empty() ? kDefaultMessageTitle : title));
    box.setTextFormat(Qt::PlainText);
    box.setFont(defaultGuiFont());
    box.setWindowModality(Qt::ApplicationModal);
}

// QMessageBox sizes itself to its message and leaves the title only a little room, so a short
// message cut its title ("Vostrel软件" showed as "Vo…件"); a spacer across the box's grid keeps
// it as wide as its title bar needs.
void makeRoomForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(new QSpacerItem(titleBarWidth(box.windowTitle()), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}
} // namespace

int titleBarWidth(const QString& title) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int button = metrics.height() + kTitleBarGap;
    return metrics.horizontalAdvance(title) + kTitleBarButtons * (button + kTitleBarGap) + 2 * kTitleBarGap;
}

void QtMessageBoxes::showMessage(std::string_view text, int flags, std::string_view title) {
    const QMessageBox::Icon icon = (flags & kMessageIconStop) ? QMessageBox::Critical : QMessageBox::NoIcon;
    QMessageBox box(icon, QString(), fromUtf8(text), QMessageBox::Ok);
    prepare(box, title);
    // No system-wide modality exists on X11; the nearest is staying above every other window.
    if (flags & kMessageSystemModal) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    makeRoomForTitle(box);
    box.exec();
}

bool QtMessageBoxes::askYesNo(std::string_view text, std::string_view title) {
    QMessageBox box(QMessageBox::Question, QString(), fromUtf8(text));
    prepare(box, title);
    QPushButton* yes = box.addButton(QString::fromUtf8(kYesCaption), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QString::fromUtf8(kNoCaption), QMessageBox::NoRole);
    box.setDefaultButton(no); // Enter keeps the current state
    box.setEscapeButton(no);  // Esc and the close box too
    makeRoomForTitle(box);
    box.exec();
    return box.clickedButton() == yes;
}

} // namespace vostrel::platform::qt
