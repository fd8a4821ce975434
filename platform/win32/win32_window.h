#pragma once
// The main window on the wide-character Win32 API: every control of the window description,
// its events, its timers and the control operations.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/display_scale.h"
#include "platform/window_host.h"
#include "platform/win32/gdi_handles.h"

namespace vostrel::platform::win32 {

// The private message that closes the window without any close query.
inline constexpr UINT kCloseMainWindowMessage = WM_APP + 1;
// The main window's class: a later copy of the program finds the first copy's window by it.
inline constexpr wchar_t kMainWindowClass[] = L"Vostrel";

class Win32Window final : public WindowHost, public Controls {
public:
    explicit Win32Window(HINSTANCE instance);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // WindowHost
    Controls& createMainWindow(const WindowDescription& description) override;
    void showMainWindow() override;
    bool mainWindowExists() const override;

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
    bool alwaysOnTop() const override;
    void giveFocus(std::string_view control) override;
    std::string focusedControl() const override;
    void closeMainWindow() override;

    // The window's own keys, taken before a control sees them: Tab and Shift+Tab move the
    // focus in the described order, Esc closes (or, while a drop-down list is open, is left to
    // the list, which closes). True when the message was consumed.
    bool handleKey(const MSG& message);

    // For the backend's tests, which measure the controls as the operator sees them.
    HWND mainWindow() const { return main_; }
    HWND controlWindow(std::string_view control) const;
    DisplayScale scale() const { return scale_; }

private:
    struct Control {
        ControlDescription described;
        HWND window = nullptr; // null for timers
        int id = 0;            // control id and timer id
        std::int32_t interval = 0;
        std::function<void()> onClick;
        std::function<void()> onTick;
        std::function<void()> onChange;
        // Drop-down lists: the item the program or the operator chose last (-1: none); a
        // selection the operator leaves as it was is no change.
        int chosen = -1;
    };

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void handleCommand(WPARAM wParam);
    // Runs the Change handler when the operator has left a drop-down list on another item.
    void noticeOperatorPick(int id);
    // The operator asks to close (close box, Alt+F4, Esc): true when the close query agrees.
    bool operatorMayClose();

    bool registerMainClass() const;
    // The steps of createMainWindow after the main window exists.
    void loadIcons(const std::string& iconResource);
    void addControls(const WindowDescription& description); // entries and bound handlers, no windows yet
    void createControlWindows(); // parents first; stacked in described order; shown as described
    void createControl(Control& control);
    HWND parentWindow(const ControlDescription& described) const;
    void setUpControl(Control& control); // what a kind needs once its window exists
    // Position, size and font at the current scale (a drop-down list's dropped part included).
    void placeControl(Control& control, UINT flags);
    RECT scaledRect(const ControlDescription& described) const;
    // The font of a described style at the current scale; created fonts live as long as the window.
    HFONT fontFor(const FontStyle& font);
    HFONT keepFont(OwnedFont font, HFONT fallback);
    // The window moved to a monitor of another scale (per-monitor DPI awareness): every control
    // and font is laid out afresh at `dpi`, the window takes the outer rectangle Windows suggests.
    void rescale(int dpi, const RECT& suggestedOuter);
    Control* find(std::string_view name);
    const Control* find(std::string_view name) const;
    Control* findById(int id);
    Control* findByWindow(HWND window);
    // Moves the focus from `from` (null: from outside the order) to the next control in the
    // described order that can take it.
    void moveFocus(HWND from, int direction);
    bool canTakeFocus(HWND window) const;

    HINSTANCE instance_;
    HWND main_ = nullptr;
    bool created_ = false;
    bool escapeCloses_ = true;
    std::function<bool()> closeQuery_;
    bool askingToClose_ = false; // a close query is open: further requests wait for its answer
    int systemDpi_ = kBaseDpi;   // the DPI the stock GUI font is made for
    int dpi_ = kBaseDpi;         // the DPI of the window's monitor
    DisplayScale scale_;         // dpi_ as a scale; the description is at 100%
    int outerWidth_ = 0;
    int outerHeight_ = 0;
    HICON largeIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HWND focusBeforeDeactivation_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::string, Control*, std::less<>> byName_;
    std::vector<HWND> focusOrder_;
    std::vector<OwnedFont> fonts_;
    std::vector<OwnedBitmap> bitmaps_;
};

} // namespace vostrel::platform::win32
