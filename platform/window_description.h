#pragma once
// The main window as data. The application builds one WindowDescription and hands it to
// WindowHost::createMainWindow(); backends build every control from it and never need to
// know what the controls mean. Plain data: no toolkit or OS type appears here.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace vostrel::platform {

enum class ControlKind {
    Button,           // push button, caption centred both ways, not a default button
    EditBox,          // single line, centred text, sunken edge, typing limit maxChars
    CheckBox,         // caption right of the box, left-aligned, vertically centred
    GroupBox,         // frame with caption at the top left; parent of other controls
    TransparentLabel, // text drawn straight onto what lies behind it; '&' shown as is
    PictureBox,       // JPEG drawn at its own size from the top-left corner, tiled
    Timer,            // invisible; ticks every `interval` ms while interval > 0
    DropDownList,     // closed list of `items`, one chosen and shown; the operator opens it to pick
};

enum class HorizontalAlign { Left, Centre };

struct FontStyle {
    int heightPx = 0; // character height in pixels; 0 = the platform's default GUI font
    bool bold = false;
    bool gb2312 = false; // GB2312 character set, no face name (the platform picks a CJK face)
};

// Every field has a default, so a description names only what differs from it.
struct ControlDescription {
    std::string name{};
    ControlKind kind = ControlKind::Button;
    std::string parent{};                         // empty: the window's client area; otherwise a group box's name
    int left = 0, top = 0, width = 0, height = 0; // pixels, relative to the parent
    std::string text{};                           // caption or initial content
    bool visible = true;
    FontStyle font{};
    std::int32_t interval = 0;                     // timers only
    HorizontalAlign align = HorizontalAlign::Left; // labels
    bool verticalCentre = true;                    // labels: single line centred vertically
    bool wordWrap = false;                         // labels: wrap over several lines from the top
    int maxChars = 0;                              // edit boxes: typing limit in characters (0 = none)
    std::span<const std::uint8_t> jpeg{};          // picture boxes: the JPEG file's bytes
    std::vector<std::string> items{};              // drop-down lists: the items; `text` is the chosen one
};

// Click: a button or check box was clicked. Tick: a timer ticked. Change: the operator picked
// another item of a drop-down list (never sent for a change the program makes).
enum class ControlEvent { Click, Tick, Change };

struct EventBinding {
    std::string control;
    ControlEvent event = ControlEvent::Click;
    std::function<void()> handler;
};

struct WindowDescription {
    std::string title;
    int outerWidth = 0, outerHeight = 0;   // frame and title bar included; centred on screen
    std::string iconResource;              // resource name of the icon group (Win32)
    std::span<const std::uint8_t> iconPng; // the same icon as PNG bytes (other backends)
    bool escapeCloses = true;              // Esc without modifiers closes from any control
    // Asked on the UI thread when the operator closes the window (close box or Esc): false keeps
    // it open. Empty: it closes at once. Never asked for Controls::closeMainWindow().
    std::function<bool()> closeQuery;
    std::vector<ControlDescription> controls; // stacking order: earlier rows lie above later ones
    std::vector<std::string> focusOrder;      // Tab forward, Shift+Tab back, wrapping, hidden skipped
    std::vector<EventBinding> bindings;       // handlers run on the UI thread, one at a time
};

} // namespace vostrel::platform
