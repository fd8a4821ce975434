#pragma once
// The picture box: a JPEG decoded by the shared libjpeg module, drawn at its own size from the
// top-left corner and repeated to fill the box. No border; the default background shows where
// there is no picture (a JPEG that cannot be decoded leaves the box empty).
#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <span>

namespace vostrel::platform::qt {

class PictureBox final : public QWidget {
public:
    PictureBox(std::span<const std::uint8_t> jpeg, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap tile_;
};

} // namespace vostrel::platform::qt
