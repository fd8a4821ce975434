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
}

MainWindowWidget::~MainWindowWidget() { qApp->removeEventFilter(this); }

QPoint MainWindowWidget::centredFramePosition() const {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return {screen.left() + (screen.width() - outerWidth_) / 2, screen.top() + (screen.height() - outerHeight_) / 2};
}

void MainWindowWidget::showCentred() {
    move(centredFramePosition()); // before the first show, move() places the frame's corner
    show();
}

void MainWindowWidget::fitFrame() {
    if (!isVisible()) return;
    // The native window's margins are read afresh; the widget's own frame geometry is updated
    // only by moves and resizes, and the window manager may frame the window without either.
    const QMargins margins = windowHandle()->frameMargins();
    if (margins == fittedMargins_) return;
    fittedMargins_ = margins;
    const QSize client(outerWidth_ - margins.left() - margins.right(), outerHeight_ - margins.top() - margins.bottom());
    setFixedSize(client);
    setGeometry(QRect(centredFramePosition() + QPoint(margins.left(), margins.top()), client));
}

bool MainWindowWidget::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // The first fit, with the frame known at this point (none yet on X11: the window manager
    // frames the window after mapping, and FrameChangeFilter reports it).
    if (event->type() == QEvent::Show) fitFrame();
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
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop); // not created yet: takes effect on show
    }
}

void MainWindowWidget::closeEvent(QCloseEvent* event) {
    // A close while the query waits for its answer is the same close, not asked twice.
    if (asking_ || !mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    if (closed_) closed_();
}

bool MainWindowWidget::mayClose() {
    if (!closeQuery_) return true;
    asking_ = true;
    const bool agreed = closeQuery_();
    asking_ = false;
    return agreed;
}

bool MainWindowWidget::eventFilter(QObject* watched, QEvent* event) {
    if (escapeCloses_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        const auto modifiers = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (key->key() == Qt::Key_Escape && modifiers == Qt::NoModifier && widget && widget->window() == this &&
            isVisible()) {
            close(); // exactly as the close box
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vostrel::platform::qt
