#include "platform/qt/frame_change_filter.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <xcb/xcb.h>

namespace vostrel::platform::qt {

namespace {
// The window an X11 event is about when it may change that window's frame, otherwise none.
xcb_window_t frameEventWindow(const xcb_generic_event_t& event) {
    switch (event.response_type & ~0x80) { // the high bit marks events sent by another client
    case XCB_REPARENT_NOTIFY: return reinterpret_cast<const xcb_reparent_notify_event_t&>(event).window;
    case XCB_PROPERTY_NOTIFY: // _NET_FRAME_EXTENTS among others: comparing the margins is cheap
        return reinterpret_cast<const xcb_property_notify_event_t&>(event).window;
    case XCB_CONFIGURE_NOTIFY: return reinterpret_cast<const xcb_configure_notify_event_t&>(event).window;
    default: return XCB_WINDOW_NONE;
    }
}
} // namespace

FrameChangeFilter::FrameChangeFilter(QWidget& window, std::function<void()> changed)
    : window_(window), changed_(std::move(changed)) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

FrameChangeFilter::~FrameChangeFilter() { QCoreApplication::instance()->removeNativeEventFilter(this); }

bool FrameChangeFilter::nativeEventFilter(const QByteArray& eventType, void* message, long*) {
    if (eventType != "xcb_generic_event_t" || reportQueued_) return false;
    const WId native = window_.internalWinId(); // 0 until the native window exists
    if (native == 0 || frameEventWindow(*static_cast<const xcb_generic_event_t*>(message)) != native) return false;
    // Qt updates the frame margins when it handles the event, after this filter.
    reportQueued_ = true;
    QMetaObject::invokeMethod(
        &window_,
        [this] {
            reportQueued_ = false;
            changed_();
        },
        Qt::QueuedConnection);
    return false;
}

} // namespace vostrel::platform::qt
