#pragma once
// The controls of the main window on Qt widgets: built from the window description into the
// window, addressed by their names, with the bound handlers connected.
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/controls.h"
#include "platform/qt/control_timer.h"
#include "platform/qt/main_window_widget.h"
#include "platform/window_description.h"

namespace vostrel::platform::qt {

class QtControls final : public Controls {
public:
    // Builds every control of the description into the window; timers do not run yet.
    // queueClose: closeMainWindow(), which must take effect only from the event loop.
    QtControls(const WindowDescription& description, MainWindowWidget& window, std::function<void()> queueClose);

    // Rule 5: timers whose described interval is above 0 start now.
    void startDescribedTimers();
    // The window is gone: every timer stops and later operations do nothing.
    void detach();

    std::string text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view text) override;
    void setItems(std::string_view dropDownList, const std::vector<std::string>& items) override;
    void setAlert(std::string_view label, bool alert) override;
    bool ticked(std::string_view checkBox) const override;
    void setTicked(std::string_view checkBox, bool ticked) override;
    bool visible(std::string_view control) const override;
    void setVisible(std::string_view control, bool visible) override;
    void setInterval(std::string_view timer, std::int32_t milliseconds) override;
    std::int32_t interval(std::string_view timer) const override;
    void setAlwaysOnTop(bool onTop) override;
    bool alwaysOnTop() const override;
    void giveFocus(std::string_view control) override;
    std::string focusedControl() const override;
    void closeMainWindow() override;

private:
    struct Entry {
        QWidget* widget = nullptr;           // on-screen controls; owned by the window
        std::unique_ptr<ControlTimer> timer; // timers
        std::int32_t describedInterval = 0;
    };
    const Entry* find(std::string_view name) const;
    QWidget* widget(std::string_view name) const;
    ControlTimer* timer(std::string_view name) const;
    void bind(const EventBinding& binding);

    QPointer<MainWindowWidget> window_;
    std::map<std::string, Entry, std::less<>> entries_;
    std::function<void()> queueClose_;
    bool attached_ = true;
};

} // namespace vostrel::platform::qt
