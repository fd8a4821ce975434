#pragma once
// Control operations on the main window. Every control is addressed by its
// name from the window description (UTF-8). All texts are UTF-8.
//
// Contract
// - UI thread only, between WindowHost::createMainWindow() and the window's
//   destruction. No other thread may call any of these.
// - Naming a control that does not exist, or one of the wrong kind, is a
//   broken invariant (asserts in debug builds; ignored in release builds).
// - Calls may run handlers of other events only where stated (none here):
//   every operation returns without processing window events.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vostrel::platform {

class Controls {
public:
    virtual ~Controls() = default;

    // Caption of a button, check box, label or group box; content of an edit box; the chosen
    // item of a drop-down list ("" when none is chosen).
    virtual std::string text(std::string_view control) const = 0;

    // Replaces the caption or content and repaints at once. A transparent
    // label repaints what lies behind it first, so no trace of the old text
    // remains. The typing limit of an edit box does not apply here. On a drop-down list it
    // chooses the item with exactly that text, or no item when none has it; no Change event.
    virtual void setText(std::string_view control, std::string_view text) = 0;

    // Replaces the items of a drop-down list; the item with the text chosen before stays chosen
    // if it is still there, otherwise none is. No Change event.
    virtual void setItems(std::string_view dropDownList, const std::vector<std::string>& items) = 0;

    // A transparent label draws its text in the alert colour (red) while alert is true, in
    // black otherwise. Setting the state it already has changes nothing and causes no repaint.
    virtual void setAlert(std::string_view label, bool alert) = 0;

    // True when the check box is ticked.
    virtual bool ticked(std::string_view checkBox) const = 0;

    // Ticks or unticks the check box as the program decides (a prepared timetable fills the
    // day's rows); no Click event. Setting the state it already has changes nothing.
    virtual void setTicked(std::string_view checkBox, bool ticked) = 0;

    virtual bool visible(std::string_view control) const = 0;

    // Setting the state a control already has changes nothing and causes no repaint.
    virtual void setVisible(std::string_view control, bool visible) = 0;

    // Timer rules (every backend keeps all six; see timer_rules.h for the shared part):
    // 1. an interval above 0 ticks every interval ms, first tick one interval after the call;
    // 2. 0 stops the timer; a negative value counts as 0;
    // 3. setting the value the timer already has does nothing: a running countdown goes on;
    // 4. a different value stops the timer and starts it afresh from the moment of the call;
    // 5. at window creation a timer whose described interval is above 0 starts at once;
    // 6. ticks arrive on the UI thread through the event loop, also inside nested event
    //    processing (message boxes, EventLoop::waitForEvents); at most one tick per timer
    //    waits while a handler runs: ticks never pile up.
    virtual void setInterval(std::string_view timer, std::int32_t milliseconds) = 0;

    // The interval the timer runs with now (0 when stopped).
    virtual std::int32_t interval(std::string_view timer) const = 0;

    // true puts the window above all ordinary windows and keeps it there; false returns it
    // to the normal layer. Neither activates, moves nor resizes the window.
    virtual void setAlwaysOnTop(bool onTop) = 0;
    virtual bool alwaysOnTop() const = 0;

    // Moves the keyboard focus into the control (edit boxes; buttons and check boxes too).
    virtual void giveFocus(std::string_view control) = 0;

    // Name of the control holding the keyboard focus, empty when none does.
    virtual std::string focusedControl() const = 0;

    // Queues the destruction of the main window and returns at once. The window is
    // destroyed, without any close query, when the event loop takes the request after the
    // running handler has returned; its destruction ends the program.
    virtual void closeMainWindow() = 0;
};

} // namespace vostrel::platform
