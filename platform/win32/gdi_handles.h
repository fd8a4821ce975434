#pragma once
// Ownership of GDI objects (fonts, bitmaps): deleted with their owner; and a window's device
// context for measuring texts in the window's font.
#include <windows.h>

#include <memory>
#include <string_view>
#include <type_traits>

namespace vostrel::platform::win32 {

struct GdiObjectDeleter {
    void operator()(void* object) const {
        if (object) DeleteObject(static_cast<HGDIOBJ>(object));
    }
};

template <class Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

using OwnedFont = GdiObject<HFONT>;
using OwnedBitmap = GdiObject<HBITMAP>;

// A device context of a window with the window's own font selected, so texts measure as the
// window draws them; released with its owner. get() is null when the system gave none.
class WindowFontDc {
public:
    explicit WindowFontDc(HWND window) : window_(window), dc_(GetDC(window)) {
        if (dc_) oldFont_ = SelectObject(dc_, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    }
    ~WindowFontDc() {
        if (!dc_) return;
        SelectObject(dc_, oldFont_);
        ReleaseDC(window_, dc_);
    }
    WindowFontDc(const WindowFontDc&) = delete;
    WindowFontDc& operator=(const WindowFontDc&) = delete;

    HDC get() const { return dc_; }
    // The text's width on one line.
    int width(std::wstring_view text) const {
        SIZE extent{};
        GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &extent);
        return static_cast<int>(extent.cx);
    }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ oldFont_ = nullptr;
};

} // namespace vostrel::platform::win32
