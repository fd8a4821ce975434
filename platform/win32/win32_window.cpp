#include "platform/win32/win32_window.h"

#include <cassert>

#include "platform/timer_rules.h"
#include "platform/win32/control_classes.h"
#include "platform/win32/drop_down_list.h"
#include "platform/win32/picture_bitmap.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/window_text.h"

namespace vostrel::platform::win32 {
namespace {

constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; // fixed border
constexpr int kFirstControlId = 100;
// Sent to a per-monitor DPI-aware window when its monitor's scale changes or it moves to a
// monitor of another scale (Windows 8.1 and later); older systems never send it.
constexpr UINT kDpiChangedMessage = 0x02E0; // WM_DPICHANGED
// Posted when a drop-down list's selection may have changed under the operator's hand.
constexpr UINT kDropDownPickedMessage = WM_APP + 2;

UINT labelDrawFlags(const ControlDescription& described) {
    UINT flags = DT_NOPREFIX; // ampersands are shown as they are
    if (described.wordWrap) return flags | DT_LEFT | DT_TOP | DT_WORDBREAK;
    flags |= DT_SINGLELINE;
    flags |= described.align == HorizontalAlign::Centre ? DT_CENTER : DT_LEFT;
    flags |= described.verticalCentre ? DT_VCENTER : DT_TOP;
    return flags;
}

bool styleVisible(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

bool contains(HWND outer, HWND inner) { return inner && (inner == outer || IsChild(outer, inner)); }

// The system's DPI, fixed for the session; the manifest makes the program DPI-aware, so this
// is the display's real scale rather than 96 (GetDeviceCaps works the same on Windows XP).
int systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kBaseDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi;
}

POINT centredOrigin(int width, int height) {
    return POINT{(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

struct WindowClassAndStyle {
    const wchar_t* windowClass = L"BUTTON";
    // Siblings never paint over each other; parents do not clip their children, so a parent
    // repaints what lies behind a transparent label.
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
};

WindowClassAndStyle windowClassAndStyle(ControlKind kind) {
    WindowClassAndStyle made;
    switch (kind) {
    case ControlKind::Button: made.style |= WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER; break;
    case ControlKind::CheckBox: made.style |= WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER; break;
    case ControlKind::GroupBox: made.style |= BS_GROUPBOX | BS_LEFT; break;
    case ControlKind::EditBox:
        made.windowClass = L"EDIT";
        made.style |= WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL;
        made.exStyle |= WS_EX_CLIENTEDGE;
        break;
    case ControlKind::TransparentLabel:
        made.windowClass = kLabelClass;
        made.exStyle |= WS_EX_TRANSPARENT;
        break;
    case ControlKind::PictureBox: made.windowClass = kPictureClass; break;
    case ControlKind::DropDownList:
        made.windowClass = L"COMBOBOX";
        made.style |= kDropDownListStyle;
        break;
    case ControlKind::Timer: break;
    }
    return made;
}

} // namespace

Win32Window::Win32Window(HINSTANCE instance) : instance_(instance) {}

Win32Window::~Win32Window() {
    if (main_) DestroyWindow(main_);
    if (largeIcon_) DestroyIcon(largeIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
}

bool Win32Window::registerMainClass() const {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Win32Window::windowProc;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1); // the dialog background
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

Controls& Win32Window::createMainWindow(const WindowDescription& description) {
    assert(!created_ && "the main window is created once");
    created_ = true;
    escapeCloses_ = description.escapeCloses;
    closeQuery_ = description.closeQuery;
    systemDpi_ = systemDpi();
    dpi_ = systemDpi_;
    scale_ = DisplayScale::fromDpi(dpi_);
    outerWidth_ = scale_.pixels(description.outerWidth);
    outerHeight_ = scale_.pixels(description.outerHeight);
    registerControlClasses(instance_);
    registerMainClass();

    const POINT origin = centredOrigin(outerWidth_, outerHeight_);
    CreateWindowExW(0, kMainWindowClass, toWide(description.title).c_str(), kMainStyle, origin.x, origin.y, outerWidth_,
                    outerHeight_, nullptr, nullptr, instance_, this);
    if (!main_) return *this;

    loadIcons(description.iconResource);
    addControls(description);
    createControlWindows();
    for (const std::string& name : description.focusOrder) {
        const Control* control = find(name);
        if (control && control->window) focusOrder_.push_back(control->window);
    }
    for (auto& control : controls_) {
        if (control->described.kind == ControlKind::Timer)
            setInterval(control->described.name, control->described.interval);
    }
    return *this;
}

void Win32Window::loadIcons(const std::string& iconResource) {
    if (iconResource.empty()) return;
    const std::wstring name = toWide(iconResource);
    largeIcon_ = static_cast<HICON>(LoadImageW(instance_, name.c_str(), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                               GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    smallIcon_ = static_cast<HICON>(LoadImageW(instance_, name.c_str(), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    if (largeIcon_) SendMessageW(main_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
    if (smallIcon_) SendMessageW(main_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

void Win32Window::addControls(const WindowDescription& description) {
    int nextId = kFirstControlId;
    for (const ControlDescription& described : description.controls) {
        auto control = std::make_unique<Control>();
        control->described = described;
        control->id = nextId++;
        byName_[described.name] = control.get();
        controls_.push_back(std::move(control));
    }
    for (const EventBinding& binding : description.bindings) {
        Control* control = find(binding.control);
        assert(control && "a binding names a control of the description");
        if (!control) continue;
        switch (binding.event) {
        case ControlEvent::Click: control->onClick = binding.handler; break;
        case ControlEvent::Tick: control->onTick = binding.handler; break;
        case ControlEvent::Change: control->onChange = binding.handler; break;
        }
    }
}

void Win32Window::createControlWindows() {
    // Parents before their children; the description lists the group box last.
    for (auto& control : controls_) {
        if (control->described.kind == ControlKind::GroupBox) createControl(*control);
    }
    for (auto& control : controls_) {
        if (control->described.kind != ControlKind::GroupBox && control->described.kind != ControlKind::Timer)
            createControl(*control);
    }
    // Stacking: each row goes below the rows before it among its siblings.
    for (auto& control : controls_) {
        if (control->window) {
            SetWindowPos(control->window, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
        }
    }
    for (auto& control : controls_) {
        if (control->window && control->described.visible) ShowWindow(control->window, SW_SHOWNA);
    }
}

void Win32Window::createControl(Control& control) {
    const ControlDescription& described = control.described;
    if (described.kind == ControlKind::Timer) return;
    const WindowClassAndStyle made = windowClassAndStyle(described.kind);
    const RECT place = scaledRect(described);
    control.window =
        CreateWindowExW(made.exStyle, made.windowClass, toWide(described.text).c_str(), made.style, place.left,
                        place.top, place.right - place.left, place.bottom - place.top, parentWindow(described),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance_, nullptr);
    if (!control.window) return;
    setUpControl(control);
    placeControl(control, SWP_NOREDRAW);
}

RECT Win32Window::scaledRect(const ControlDescription& described) const {
    const int left = scale_.pixels(described.left);
    const int top = scale_.pixels(described.top);
    return RECT{left, top, left + scale_.pixels(described.width), top + scale_.pixels(described.height)};
}

void Win32Window::placeControl(Control& control, UINT flags) {
    const ControlDescription& described = control.described;
    // The font first: a drop-down list's field and items are measured in it.
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(described.font)), FALSE);
    const RECT place = scaledRect(described);
    if (described.kind == ControlKind::DropDownList) {
        layOutDropDown(control.window, place);
        return;
    }
    SetWindowPos(control.window, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | flags);
}

HWND Win32Window::parentWindow(const ControlDescription& described) const {
    if (described.parent.empty()) return main_;
    const Control* owner = find(described.parent);
    assert(owner && owner->window && "a parent is a group box of the description");
    return owner && owner->window ? owner->window : main_;
}

void Win32Window::setUpControl(Control& control) {
    const ControlDescription& described = control.described;
    switch (described.kind) {
    case ControlKind::EditBox:
        // Limits typing only; texts set by the program are shown whole.
        if (described.maxChars > 0)
            SendMessageW(control.window, EM_LIMITTEXT, static_cast<WPARAM>(described.maxChars), 0);
        break;
    case ControlKind::TransparentLabel: setLabelDrawFlags(control.window, labelDrawFlags(described)); break;
    case ControlKind::PictureBox:
        if (OwnedBitmap bitmap = bitmapFromJpeg(described.jpeg)) {
            setPictureBitmap(control.window, bitmap.get());
            bitmaps_.push_back(std::move(bitmap));
        }
        break;
    case ControlKind::GroupBox: makeGroupBoxAParent(control.window); break;
    case ControlKind::DropDownList:
        fillDropDown(control.window, described.items);
        control.chosen = exactItemIndex(described.items, described.text);
        chooseDropDownItem(control.window, control.chosen);
        break;
    default: break;
    }
}

HFONT Win32Window::fontFor(const FontStyle& font) {
    const auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (font.heightPx <= 0) {
        // The stock font is made at the system's DPI; on a monitor of another scale it is
        // made afresh at that monitor's.
        if (dpi_ == systemDpi_) return stock;
        LOGFONTW defaultFont{};
        if (!GetObjectW(stock, sizeof(defaultFont), &defaultFont)) return stock;
        defaultFont.lfHeight = MulDiv(defaultFont.lfHeight, dpi_, systemDpi_);
        return keepFont(OwnedFont(CreateFontIndirectW(&defaultFont)), stock);
    }
    // A negative height asks for the character height; no face name lets the system pick the
    // default face of the character set.
    OwnedFont created(CreateFontW(-scale_.pixels(font.heightPx), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                  FALSE, font.gb2312 ? GB2312_CHARSET : DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L""));
    return keepFont(std::move(created), stock);
}

HFONT Win32Window::keepFont(OwnedFont font, HFONT fallback) {
    if (!font) return fallback;
    HFONT handle = font.get();
    fonts_.push_back(std::move(font));
    return handle;
}

void Win32Window::rescale(int dpi, const RECT& suggestedOuter) {
    dpi_ = dpi;
    scale_ = DisplayScale::fromDpi(dpi_);
    outerWidth_ = suggestedOuter.right - suggestedOuter.left;
    outerHeight_ = suggestedOuter.bottom - suggestedOuter.top;
    // The controls let go of the old fonts before they are deleted.
    std::vector<OwnedFont> oldFonts;
    oldFonts.swap(fonts_);
    for (auto& control : controls_) {
        if (control->window) placeControl(*control, SWP_NOREDRAW);
    }
    // Where Windows suggests, so the window stays under the pointer while it is dragged across.
    SetWindowPos(main_, nullptr, suggestedOuter.left, suggestedOuter.top, outerWidth_, outerHeight_,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32Window::showMainWindow() {
    if (!main_) return;
    const POINT origin = centredOrigin(outerWidth_, outerHeight_);
    SetWindowPos(main_, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(main_, SW_SHOWNORMAL);
    UpdateWindow(main_);
}

bool Win32Window::mainWindowExists() const { return main_ != nullptr && IsWindow(main_); }

LRESULT CALLBACK Win32Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->main_ = window;
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->main_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handleMessage(message, wParam, lParam);
}

LRESULT Win32Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: handleCommand(wParam); return 0;
    case kDropDownPickedMessage: noticeOperatorPick(static_cast<int>(wParam)); return 0;
    case WM_CLOSE:
        // The close box, Alt+F4 and Esc; closeMainWindow() destroys the window without asking.
        if (operatorMayClose() && main_) DestroyWindow(main_);
        return 0;
    case WM_TIMER: {
        Control* control = findById(static_cast<int>(wParam));
        if (control && control->interval > 0 && control->onTick) control->onTick();
        return 0;
    }
    case kCloseMainWindowMessage: DestroyWindow(main_); return 0;
    case kDpiChangedMessage: rescale(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_ACTIVATE:
        // Coming back to the window puts the focus back where the operator left it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            focusBeforeDeactivation_ = (focus && IsChild(main_, focus)) ? focus : nullptr;
        }
        break;
    case WM_SETFOCUS:
        if (focusBeforeDeactivation_ && IsWindow(focusBeforeDeactivation_) && canTakeFocus(focusBeforeDeactivation_)) {
            SetFocus(focusBeforeDeactivation_);
            return 0;
        }
        break;
    case WM_DESTROY:
        for (auto& control : controls_) {
            if (control->interval > 0) KillTimer(main_, static_cast<UINT_PTR>(control->id));
        }
        PostQuitMessage(0);
        return 0;
    default: break;
    }
    return DefWindowProcW(main_, message, wParam, lParam);
}

void Win32Window::handleCommand(WPARAM wParam) {
    const int id = LOWORD(wParam);
    Control* control = findById(id);
    if (!control) return;
    if (control->described.kind == ControlKind::DropDownList) {
        // Looked at once the notification is over, so that the handler (which may open a form)
        // runs after the list has finished closing.
        const WORD code = HIWORD(wParam);
        if (code == CBN_SELCHANGE || code == CBN_CLOSEUP) PostMessageW(main_, kDropDownPickedMessage, id, 0);
        return;
    }
    if (HIWORD(wParam) == BN_CLICKED && control->onClick) control->onClick();
}

void Win32Window::noticeOperatorPick(int id) {
    Control* control = findById(id);
    if (!control || !control->window || control->described.kind != ControlKind::DropDownList) return;
    // While the list is open the arrow keys move its selection as the operator looks through it;
    // the pick counts when it closes.
    if (dropDownOpen(control->window)) return;
    const int now = chosenDropDownItem(control->window);
    if (now == control->chosen) return;
    control->chosen = now;
    if (control->onChange) control->onChange();
}

bool Win32Window::operatorMayClose() {
    if (!closeQuery_) return true;
    // The query may show a message box, whose loop takes further close requests meanwhile.
    if (askingToClose_) return false;
    askingToClose_ = true;
    const bool agreed = closeQuery_();
    askingToClose_ = false;
    return agreed;
}

bool Win32Window::handleKey(const MSG& message) {
    if (!main_ || message.message != WM_KEYDOWN || !contains(main_, message.hwnd)) return false;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    if (message.wParam == VK_ESCAPE) {
        if (!escapeCloses_ || shift || ctrl || alt) return false;
        // An open list takes Esc itself and closes; the window stays.
        for (const auto& control : controls_) {
            if (control->described.kind == ControlKind::DropDownList && dropDownOpen(control->window)) return false;
        }
        // Exactly what the close box does.
        SendMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }
    if (message.wParam == VK_TAB && !ctrl && !alt) {
        moveFocus(GetFocus(), shift ? -1 : 1);
        return true;
    }
    return false;
}

bool Win32Window::canTakeFocus(HWND window) const { return IsWindowVisible(window) && IsWindowEnabled(window); }

void Win32Window::moveFocus(HWND from, int direction) {
    const int count = static_cast<int>(focusOrder_.size());
    if (count == 0) return;
    int current = direction > 0 ? -1 : count; // from outside the order: first or last
    for (int i = 0; i < count; ++i) {
        if (contains(focusOrder_[static_cast<std::size_t>(i)], from)) current = i;
    }
    for (int step = 1; step <= count; ++step) {
        const int index = ((current + direction * step) % count + count) % count;
        HWND candidate = focusOrder_[static_cast<std::size_t>(index)];
        if (!canTakeFocus(candidate)) continue;
        SetFocus(candidate);
        const Control* control = findByWindow(candidate);
        if (control && control->described.kind == ControlKind::EditBox) SendMessageW(candidate, EM_SETSEL, 0, -1);
        return;
    }
    SetFocus(main_);
}

Win32Window::Control* Win32Window::find(std::string_view name) {
    const auto it = byName_.find(name);
    assert(it != byName_.end() && "controls are named from the window description");
    return it == byName_.end() ? nullptr : it->second;
}

const Win32Window::Control* Win32Window::find(std::string_view name) const {
    const auto it = byName_.find(name);
    assert(it != byName_.end() && "controls are named from the window description");
    return it == byName_.end() ? nullptr : it->second;
}

Win32Window::Control* Win32Window::findById(int id) {
    const int index = id - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(controls_.size())) return nullptr;
    return controls_[static_cast<std::size_t>(index)].get();
}

Win32Window::Control* Win32Window::findByWindow(HWND window) {
    for (auto& control : controls_) {
        if (control->window && control->window == window) return control.get();
    }
    return nullptr;
}

HWND Win32Window::controlWindow(std::string_view name) const {
    const Control* control = find(name);
    return control ? control->window : nullptr;
}

std::string Win32Window::text(std::string_view name) const {
    const Control* control = find(name);
    if (!main_ || !control || !control->window) return {};
    if (control->described.kind == ControlKind::DropDownList) {
        const std::vector<std::string>& items = control->described.items;
        const int chosen = chosenDropDownItem(control->window);
        return chosen >= 0 && chosen < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(chosen)] : "";
    }
    return toUtf8(windowText(control->window));
}

void Win32Window::setText(std::string_view name, std::string_view text) {
    Control* control = find(name);
    if (!main_ || !control || !control->window) return;
    if (control->described.kind == ControlKind::DropDownList) {
        control->chosen = exactItemIndex(control->described.items, text);
        chooseDropDownItem(control->window, control->chosen);
        UpdateWindow(control->window);
        return;
    }
    // A label repaints what lies behind it as part of taking the text (see its class).
    SetWindowTextW(control->window, toWide(text).c_str());
    UpdateWindow(control->window);
}

void Win32Window::setItems(std::string_view name, const std::vector<std::string>& items) {
    Control* control = find(name);
    assert((!control || control->described.kind == ControlKind::DropDownList) && "items belong to drop-down lists");
    if (!main_ || !control || !control->window || control->described.kind != ControlKind::DropDownList) return;
    const std::string chosenText = text(name);
    control->described.items = items;
    fillDropDown(control->window, items);
    control->chosen = exactItemIndex(items, chosenText);
    chooseDropDownItem(control->window, control->chosen);
    // Another count or other widths: the dropped list is sized afresh.
    layOutDropDown(control->window, scaledRect(control->described));
    UpdateWindow(control->window);
}

void Win32Window::setAlert(std::string_view name, bool alert) {
    Control* control = find(name);
    assert((!control || control->described.kind == ControlKind::TransparentLabel) && "alerts belong to labels");
    if (!main_ || !control || !control->window || control->described.kind != ControlKind::TransparentLabel) return;
    setLabelAlert(control->window, alert);
}

bool Win32Window::ticked(std::string_view checkBox) const {
    const Control* control = find(checkBox);
    if (!main_ || !control || !control->window) return false;
    return SendMessageW(control->window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::setTicked(std::string_view checkBox, bool ticked) {
    Control* control = find(checkBox);
    if (!main_ || !control || !control->window || this->ticked(checkBox) == ticked) return;
    // The box's own message: no click reaches the window, so no Click handler runs.
    SendMessageW(control->window, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32Window::visible(std::string_view name) const {
    const Control* control = find(name);
    if (!main_ || !control || !control->window) return false;
    return styleVisible(control->window);
}

void Win32Window::setVisible(std::string_view name, bool visible) {
    Control* control = find(name);
    if (!main_ || !control || !control->window) return;
    if (styleVisible(control->window) == visible) return; // no repaint, no flicker
    if (visible) {
        ShowWindow(control->window, SW_SHOWNA);
        return;
    }
    const bool hadFocus = contains(control->window, GetFocus());
    ShowWindow(control->window, SW_HIDE);
    // Keys must not land in a control nobody can see (the system hands the focus to the
    // parent at best): the next control in the described order takes it.
    if (hadFocus) moveFocus(control->window, 1);
}

void Win32Window::setInterval(std::string_view timer, std::int32_t milliseconds) {
    Control* control = find(timer);
    if (!main_ || !control || control->described.kind != ControlKind::Timer) return;
    switch (timerChangeFor(control->interval, milliseconds)) {
    case TimerChange::None: return;
    case TimerChange::Stop:
        KillTimer(main_, static_cast<UINT_PTR>(control->id));
        control->interval = 0;
        return;
    case TimerChange::Restart:
        // Setting an existing timer id replaces it: the countdown starts afresh from now.
        control->interval = normaliseInterval(milliseconds);
        SetTimer(main_, static_cast<UINT_PTR>(control->id), static_cast<UINT>(control->interval), nullptr);
        return;
    }
}

std::int32_t Win32Window::interval(std::string_view timer) const {
    const Control* control = find(timer);
    return control ? control->interval : 0;
}

void Win32Window::setAlwaysOnTop(bool onTop) {
    if (!main_) return;
    SetWindowPos(main_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Win32Window::alwaysOnTop() const { return main_ && (GetWindowLongPtrW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void Win32Window::giveFocus(std::string_view name) {
    Control* control = find(name);
    if (main_ && control && control->window) SetFocus(control->window);
}

std::string Win32Window::focusedControl() const {
    HWND focus = GetFocus();
    if (!main_ || !focus) return {};
    for (const auto& control : controls_) {
        if (control->window && contains(control->window, focus) && control->described.kind != ControlKind::GroupBox) {
            return control->described.name;
        }
    }
    return {};
}

void Win32Window::closeMainWindow() {
    if (main_) PostMessageW(main_, kCloseMainWindowMessage, 0, 0);
}

} // namespace vostrel::platform::win32
