#include "platform/qt/qt_message_boxes.h"

#include <QMessageBox>

#include "platform/qt/cjk_font.h"

namespace vostrel::platform::qt {

namespace {
QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }
} // namespace

void QtMessageBoxes::showMessage(std::string_view text, int flags, std::string_view title) {
    const QMessageBox::Icon icon = (flags & kMessageIconStop) ? QMessageBox::Critical : QMessageBox::NoIcon;
    QMessageBox box(icon, fromUtf8(title.empty() ? kDefaultMessageTitle : title), fromUtf8(text), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setFont(defaultGuiFont());
    box.setWindowModality(Qt::ApplicationModal);
    // No system-wide modality exists on X11; the nearest is staying above every other window.
    if (flags & kMessageSystemModal) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

} // namespace vostrel::platform::qt
