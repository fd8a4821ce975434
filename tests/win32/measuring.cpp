#include "tests/win32/measuring.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace vostrel::win32_test {
namespace {

// A device context of the control with the control's font selected.
class ControlDc {
public:
    explicit ControlDc(HWND control) : control_(control), dc_(GetDC(control)) {
        old_ = SelectObject(dc_, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    }
    ~ControlDc() {
        SelectObject(dc_, old_);
        ReleaseDC(control_, dc_);
    }
    ControlDc(const ControlDc&) = delete;
    ControlDc& operator=(const ControlDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND control_;
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace

bool withinAPixel(long actual, int expected) { return std::labs(actual - expected) <= 1; }

RECT placeInParent(HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

TEXTMETRICW fontMetrics(HWND control) {
    const ControlDc dc(control);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return metrics;
}

int captionWidth(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    const ControlDc dc(control);
    int widest = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        SIZE extent{};
        GetTextExtentPoint32W(dc.get(), text.c_str() + start, static_cast<int>(end - start), &extent);
        widest = std::max(widest, static_cast<int>(extent.cx));
        start = end + 2;
    }
    return widest;
}

} // namespace vostrel::win32_test
