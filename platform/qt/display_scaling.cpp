#include "platform/qt/display_scaling.h"

#include <QGuiApplication>

namespace vostrel::platform::qt {

void followDesktopScale() {
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    // 1.25 stays 1.25 rather than rounding to 1 (text clipped) or 2 (window off a small screen).
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    // Fonts are given in pixels, so they scale exactly once, with everything else.
}

} // namespace vostrel::platform::qt
