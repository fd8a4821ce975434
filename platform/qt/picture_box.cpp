#include "platform/qt/picture_box.h"

#include <QImage>
#include <QPainter>

#include "platform/jpeg/jpeg_decoder.h"

namespace vostrel::platform::qt {

PictureBox::PictureBox(std::span<const std::uint8_t> jpeg, QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true); // the default dialog background under and around the picture
    if (const auto decoded = jpeg::decodeJpeg(jpeg)) {
        const QImage view(decoded->rgb.data(), decoded->width, decoded->height,
                          static_cast<qsizetype>(decoded->rowBytes()), QImage::Format_RGB888);
        tile_ = QPixmap::fromImage(view); // copies the pixels: the decoded buffer may go
    }
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (tile_.isNull()) return;
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), tile_, QPoint(0, 0));
}

} // namespace vostrel::platform::qt
