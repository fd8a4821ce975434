#pragma once
// The top-level window: fixed outer size (frame and title bar included) centred on the screen,
// a minimise button and no maximise button, Esc closing it from any of its controls, and the
// keep-on-top layer switched without re-creating, moving or activating the window.
#include <QWidget>
#include <functional>

#include "platform/qt/frame_change_filter.h"

namespace vostrel::platform::qt {

class MainWindowWidget final : public QWidget {
public:
    MainWindowWidget(int outerWidth, int outerHeight);
    ~MainWindowWidget() override;

    // Called when the operator closes the window (close box or Esc); the window is then hidden.
    void onClosedByOperator(std::function<void()> handler) { closed_ = std::move(handler); }
    // Asked before the operator's close takes effect; false keeps the window as it is.
    void setCloseQuery(std::function<bool()> query) { closeQuery_ = std::move(query); }

    // Shows the window centred on the primary screen.
    void showCentred();

    // Esc without Shift, Ctrl or Alt closes the window from any of its controls (on by default).
    void setEscapeCloses(bool closes) { escapeCloses_ = closes; }

    void setKeepOnTop(bool onTop);
    bool keepOnTop() const { return onTop_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The window manager tells the frame's size only once it has framed the window, which may be
    // long after mapping; whenever the frame changes, the client area is resized so that the
    // outer size stays as described, and the window is centred again.
    void fitFrame();
    QPoint centredFramePosition() const;
    bool mayClose();

    int outerWidth_, outerHeight_;
    QMargins fittedMargins_{-1, -1, -1, -1};
    FrameChangeFilter frameChanges_{*this, [this] { fitFrame(); }};
    bool onTop_ = false;
    bool escapeCloses_ = true;
    std::function<void()> closed_;
    std::function<bool()> closeQuery_;
    bool asking_ = false; // the close query runs (it may show a question and wait for the answer)
};

} // namespace vostrel::platform::qt
