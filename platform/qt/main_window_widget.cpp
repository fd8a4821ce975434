#include "platform/qt/main_window_widget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>

namespace vostrel::platform::qt {

namespace {
// Frame guessed before the window manager has told its own, so the first mapped size is close.
const QMargins kGuessedFrame(4, 30, 4, 4);

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowCloseButtonHint;
} // namespace

MainWindowWidget::MainWindowWidget(int outerWidth, int outerHeight)
    : QWidget(nullptr, kWindowFlags), outerWidth_(outerWidth), outerHeight_(outerHeight) {
    setFixedSize(outerWidth_ - kGuessedFrame.left() - kGuessedFrame.right(),
                 outerHeight_ - kGuessedFrame.top() - kGuessedFrame.bottom());
    // Esc must close the window whichever control has the focus, so it is caught before any
    // control sees it.
    qApp->installEventFilter(this);
    frameWatch_.setInterval(50);
    QObject::connect(&frameWatch_, &QTimer::timeout, this, [this] {
        fitFrame();
        if (--frameChecksLeft_ <= 0) frameWatch_.stop();
    });
}

MainWindowWidget::~MainWindowWidget() { qApp->removeEventFilter(this); }

QMargins MainWindowWidget::frameMargins() const {
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

void MainWindowWidget::showCentred() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // move() places the frame's top-left corner.
    move(screen.left() + (screen.width() - outerWidth_) / 2, screen.top() + (screen.height() - outerHeight_) / 2);
    show();
    fitFrame();
    frameChecksLeft_ = 60;
    frameWatch_.start();
}

void MainWindowWidget::fitFrame() {
    if (!isVisible()) return;
    const QMargins margins = frameMargins();
    if (margins == fittedMargins_) return;
    fittedMargins_ = margins;
    setFixedSize(outerWidth_ - margins.left() - margins.right(), outerHeight_ - margins.top() - margins.bottom());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.left() + (screen.width() - outerWidth_) / 2, screen.top() + (screen.height() - outerHeight_) / 2);
}

bool MainWindowWidget::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // The frame's extents arrive with the first moves and resizes after mapping.
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show) fitFrame();
    return handled;
}

void MainWindowWidget::setKeepOnTop(bool onTop) {
    if (onTop == onTop_) return;
    onTop_ = onTop;
    // QWidget::setWindowFlag would re-create and hide the window; the native window's flags
    // change the layer in place (_NET_WM_STATE_ABOVE on X11) without moving or activating it.
    if (QWindow* native = windowHandle()) {
        native->setFlag(Qt::WindowStaysOnTopHint, onTop);
    } else {
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);  // not created yet: takes effect on show
    }
}

void MainWindowWidget::closeEvent(QCloseEvent* event) {
    event->accept();
    if (closed_) closed_();
}

bool MainWindowWidget::eventFilter(QObject* watched, QEvent* event) {
    if (escapeCloses_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        const auto modifiers = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (key->key() == Qt::Key_Escape && modifiers == Qt::NoModifier && widget && widget->window() == this &&
            isVisible()) {
            close();  // exactly as the close box
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vostrel::platform::qt
