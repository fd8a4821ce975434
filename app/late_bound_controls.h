#pragma once
// The controls of a window that does not exist yet. The handlers' contexts are made before the
// window (the window's description carries the handlers), so they hold this stand-in, which
// forwards every operation to the real controls once the window has been created.
#include <cassert>

#include "platform/controls.h"

namespace vostrel::app {

class LateBoundControls final : public platform::Controls {
public:
    void attach(platform::Controls& controls) { target_ = &controls; }
    bool attached() const { return target_ != nullptr; }

    std::string text(std::string_view c) const override { return get().text(c); }
    void setText(std::string_view c, std::string_view t) override { get().setText(c, t); }
    void setItems(std::string_view c, const std::vector<std::string>& items) override { get().setItems(c, items); }
    void setAlert(std::string_view c, bool alert) override { get().setAlert(c, alert); }
    bool ticked(std::string_view c) const override { return get().ticked(c); }
    void setTicked(std::string_view c, bool t) override { get().setTicked(c, t); }
    bool visible(std::string_view c) const override { return get().visible(c); }
    void setVisible(std::string_view c, bool v) override { get().setVisible(c, v); }
    void setInterval(std::string_view c, std::int32_t ms) override { get().setInterval(c, ms); }
    std::int32_t interval(std::string_view c) const override { return get().interval(c); }
    void setAlwaysOnTop(bool on) override { get().setAlwaysOnTop(on); }
    bool alwaysOnTop() const override { return get().alwaysOnTop(); }
    void giveFocus(std::string_view c) override { get().giveFocus(c); }
    std::string focusedControl() const override { return get().focusedControl(); }
    void closeMainWindow() override { get().closeMainWindow(); }

private:
    platform::Controls& get() const {
        assert(target_ && "no handler runs before the window exists");
        return *target_;
    }
    platform::Controls* target_ = nullptr;
};

} // namespace vostrel::app
