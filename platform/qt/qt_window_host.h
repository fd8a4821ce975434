#pragma once
// Creation and lifetime of the one main window on Qt. The window is "destroyed" for the program
// when the operator closes it or a queued close request is taken: it is hidden for good, its
// timers stop and its controls ignore every operation. The widgets themselves are freed with
// the host, outside every event handler.
#include <QEventLoop>
#include <QPointer>
#include <memory>

#include "platform/qt/main_window_widget.h"
#include "platform/qt/qt_controls.h"
#include "platform/window_host.h"

namespace vostrel::platform::qt {

class QtWindowHost final : public WindowHost {
public:
    QtWindowHost() = default;
    ~QtWindowHost() override;
    QtWindowHost(const QtWindowHost&) = delete;
    QtWindowHost& operator=(const QtWindowHost&) = delete;

    Controls& createMainWindow(const WindowDescription& description) override;
    void showMainWindow() override;
    bool mainWindowExists() const override { return exists_; }

    // The event loop's run() registers its loop here so that the window's end ends it.
    void setRunLoop(QEventLoop* loop) { runLoop_ = loop; }

    // The main window while it exists for the program (the owner of the program's dialogs).
    QWidget* mainWindow() const { return exists_ ? window_.get() : nullptr; }
    // Shows a shown main window again, not minimised, above other windows and active (or the
    // open modal box above it); nothing before it has been shown or once it is gone.
    void bringToFront();

private:
    void destroyWindow();

    std::unique_ptr<MainWindowWidget> window_;
    std::unique_ptr<QtControls> controls_;
    bool exists_ = false;
    QPointer<QEventLoop> runLoop_;
};

} // namespace vostrel::platform::qt
