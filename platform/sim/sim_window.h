#pragma once
// The main window of the simulated platform: every control's state, the timers in virtual
// time, the keyboard focus, and the operator's input. Owned and driven by SimPlatform.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/controls.h"
#include "platform/window_description.h"

namespace vostrel::platform::sim {

class SimWindow final : public Controls {
public:
    struct Hooks {
        std::function<std::uint64_t()> now; // virtual milliseconds
        std::function<void()> queueClose;   // closeMainWindow(): posted, not immediate
    };
    SimWindow(const WindowDescription& description, Hooks hooks);

    // Controls
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
    bool alwaysOnTop() const override { return alwaysOnTop_; }
    void giveFocus(std::string_view control) override;
    std::string focusedControl() const override;
    void closeMainWindow() override;

    // Lifetime
    bool exists() const { return exists_; }
    bool shown() const { return shown_; }
    void show();
    void destroy(); // stops every timer; later operations do nothing

    // Timers: the earliest due tick, and delivering it (runs the bound handler).
    std::optional<std::uint64_t> nextDue() const;
    bool deliverDueTick(std::uint64_t now);

    // Input, as the operator gives it. Each returns false when the input cannot reach the
    // control (window gone, control hidden).
    bool click(std::string_view control);
    bool typeText(std::string_view editBox, std::string_view text); // typing limit applies
    bool clearText(std::string_view editBox);
    // Picks an item of a drop-down list; false when the list has no such item. A Change event
    // follows when it is not the item chosen already.
    bool choose(std::string_view dropDownList, std::string_view item);
    void pressTab(bool backward);

    // What the tests observe beyond Controls.
    int repaintCount(std::string_view control) const;
    bool alert(std::string_view label) const { return at(label).alert; }
    const std::vector<std::string>& items(std::string_view dropDownList) const { return at(dropDownList).items; }
    int alwaysOnTopChanges() const { return alwaysOnTopChanges_; }
    const WindowDescription& description() const { return description_; }
    std::uint64_t timerTicks(std::string_view timer) const;

private:
    struct Control {
        const ControlDescription* described = nullptr;
        std::size_t index = 0; // description order: earlier wins ties of due ticks
        std::string text;
        bool visible = false;
        bool ticked = false;
        bool alert = false;
        std::vector<std::string> items; // drop-down lists
        int repaints = 0;
        std::int32_t interval = 0; // timers
        std::uint64_t nextDue = 0;
        std::uint64_t ticks = 0;
        std::function<void()> onClick, onTick, onChange;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    Control& at(std::string_view name);
    const Control& at(std::string_view name) const;
    // The control, which must be of that kind.
    Control& at(std::string_view name, ControlKind kind);
    const Control& at(std::string_view name, ControlKind kind) const;
    // Sets a state the operator sees, repainting the control, when it changes while the window
    // exists; true then.
    bool change(Control& c, bool Control::*state, bool value);
    bool canTakeFocus(const Control& c) const;

    WindowDescription description_;
    Hooks hooks_;
    std::unordered_map<std::string, Control, Hash, std::equal_to<>> controls_;
    std::vector<Control*> timers_;
    std::string focus_;
    bool exists_ = true;
    bool shown_ = false;
    bool alwaysOnTop_ = false;
    int alwaysOnTopChanges_ = 0;
};

} // namespace vostrel::platform::sim
