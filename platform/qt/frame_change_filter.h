#pragma once
// Reports every change of a top-level window's frame that the X11 window manager makes: it
// reparents the window into its frame, sets _NET_FRAME_EXTENTS, or configures the window. Qt
// raises no event of its own when only the frame changes, and a window manager may frame a
// window at any time (late after mapping, or when it is restarted), so the window listens for
// as long as it lives. On other platforms nothing is reported.
#include <QAbstractNativeEventFilter>
#include <QWidget>
#include <functional>

namespace vostrel::platform::qt {

class FrameChangeFilter final : public QAbstractNativeEventFilter {
public:
    // changed() runs from the event loop once Qt has taken the window manager's event in, so
    // that the window's frame margins are up to date by then.
    FrameChangeFilter(QWidget& window, std::function<void()> changed);
    ~FrameChangeFilter() override;
    FrameChangeFilter(const FrameChangeFilter&) = delete;
    FrameChangeFilter& operator=(const FrameChangeFilter&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, long* result) override;

private:
    QWidget& window_;
    std::function<void()> changed_;
    bool reportQueued_ = false;
};

} // namespace vostrel::platform::qt
