#include "tests/win32/measuring.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/win32/gdi_handles.h"

namespace vostrel::win32_test {

using platform::win32::WindowFontDc;

bool withinAPixel(long actual, int expected) { return std::labs(actual - expected) <= 1; }

RECT placeInParent(HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

TEXTMETRICW fontMetrics(HWND control) {
    const WindowFontDc dc(control);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return metrics;
}

int captionWidth(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    const WindowFontDc dc(control);
    int widest = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        widest = std::max(widest, dc.width(std::wstring_view(text).substr(start, end - start)));
        start = end + 2;
    }
    return widest;
}

} // namespace vostrel::win32_test
