#include "platform/qt/qt_window_host.h"

#include <QApplication>
#include <QIcon>
#include <QMetaObject>
#include <QPixmap>
#include <cassert>

namespace vostrel::platform::qt {

QtWindowHost::~QtWindowHost() {
    if (controls_) controls_->detach();
    controls_.reset();
    window_.reset();
}

Controls& QtWindowHost::createMainWindow(const WindowDescription& description) {
    assert(!window_);
    window_ = std::make_unique<MainWindowWidget>(description.outerWidth, description.outerHeight);
    window_->setWindowTitle(QString::fromStdString(description.title));
    window_->setEscapeCloses(description.escapeCloses);
    window_->setCloseQuery(description.closeQuery);
    QPixmap icon;
    if (!description.iconPng.empty() &&
        icon.loadFromData(description.iconPng.data(), static_cast<uint>(description.iconPng.size()), "PNG")) {
        window_->setWindowIcon(QIcon(icon));
        QApplication::setWindowIcon(QIcon(icon)); // message boxes carry it too
    }
    exists_ = true;
    window_->onClosedByOperator([this] { destroyWindow(); });
    controls_ = std::make_unique<QtControls>(description, *window_, [this] {
        // Taken by the event loop after the running handler has returned.
        QMetaObject::invokeMethod(
            window_.get(), [this] { destroyWindow(); }, Qt::QueuedConnection);
    });
    controls_->startDescribedTimers();
    return *controls_;
}

void QtWindowHost::showMainWindow() {
    if (exists_ && window_) window_->showCentred();
}

void QtWindowHost::bringToFront() {
    if (!exists_ || !window_->isVisible()) return;
    window_->showNormal();
    window_->raise();
    // A message, question or form still open stays above the window and keeps the keyboard.
    QWidget* front = QApplication::activeModalWidget();
    if (!front) front = window_.get();
    front->raise();
    front->activateWindow();
}

void QtWindowHost::destroyWindow() {
    if (!exists_) return;
    exists_ = false;
    controls_->detach();
    window_->hide();
    if (runLoop_) runLoop_->quit();
}

} // namespace vostrel::platform::qt
