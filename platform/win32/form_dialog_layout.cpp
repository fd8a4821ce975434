#include "platform/win32/form_dialog_layout.h"

#include <algorithm>
#include <string>

#include "platform/win32/gdi_handles.h"
#include "platform/win32/window_text.h"

namespace vostrel::platform::win32 {
namespace {

// In dialog units, which follow the dialog's font: the usual margins, gaps and button size.
constexpr int kClientWidthUnits = 200;
constexpr int kMarginUnits = 7;
constexpr int kGapUnits = 4;
constexpr int kBoxHeightUnits = 14;
constexpr int kButtonWidthUnits = 50;
constexpr int kButtonHeightUnits = 14;

// Texts measured in the dialog's font.
class DialogText {
public:
    explicit DialogText(HWND dialog) : dc_(dialog) { GetTextMetricsW(dc_.get(), &metrics_); }

    int lineHeight() const { return metrics_.tmHeight; }
    // The control's text on one line.
    int width(HWND control) const { return dc_.width(windowText(control)); }
    // The control's text wrapped at word breaks within `width`.
    int wrappedHeight(HWND control, int width) const {
        const std::wstring text = windowText(control);
        RECT area{0, 0, width, 0};
        DrawTextW(dc_.get(), text.c_str(), static_cast<int>(text.size()), &area,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        return std::max(static_cast<int>(area.bottom), lineHeight());
    }

private:
    WindowFontDc dc_;
    TEXTMETRICW metrics_{};
};

// Dialog units to pixels, across and down.
struct Units {
    HWND dialog;
    int across(int units) const {
        RECT r{0, 0, units, 0};
        MapDialogRect(dialog, &r);
        return r.right;
    }
    int down(int units) const {
        RECT r{0, 0, 0, units};
        MapDialogRect(dialog, &r);
        return r.bottom;
    }
};

void place(HWND control, int left, int top, int width, int height) {
    SetWindowPos(control, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Lays out the rows of labels and boxes from `top`; returns the height they take.
int layOutFields(HWND dialog, int fieldCount, int top, const Units& units, const DialogText& text) {
    const int margin = units.across(kMarginUnits);
    const int gap = units.across(kGapUnits);
    int labelWidth = 0;
    for (int i = 0; i < fieldCount; ++i)
        labelWidth = std::max(labelWidth, text.width(GetDlgItem(dialog, kFormFirstLabelId + i)));
    const int boxLeft = margin + labelWidth + gap;
    const int boxWidth = units.across(kClientWidthUnits) - margin - boxLeft;
    const int boxHeight = std::max(units.down(kBoxHeightUnits), text.lineHeight() + 4 * GetSystemMetrics(SM_CYEDGE));
    const int rowStep = boxHeight + units.down(kGapUnits);
    for (int i = 0; i < fieldCount; ++i) {
        const int rowTop = top + i * rowStep;
        place(GetDlgItem(dialog, kFormFirstLabelId + i), margin, rowTop + (boxHeight - text.lineHeight()) / 2,
              labelWidth, text.lineHeight());
        place(GetDlgItem(dialog, kFormFirstBoxId + i), boxLeft, rowTop, boxWidth, boxHeight);
    }
    return fieldCount * rowStep;
}

// OK and Cancel side by side at the right from `top`; returns their height.
int layOutButtons(HWND dialog, int top, const Units& units, const DialogText& text) {
    HWND ok = GetDlgItem(dialog, IDOK);
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    const int padding = 2 * units.across(kGapUnits);
    const int width =
        std::max({units.across(kButtonWidthUnits), text.width(ok) + padding, text.width(cancel) + padding});
    const int height = std::max(units.down(kButtonHeightUnits), text.lineHeight() + 4 * GetSystemMetrics(SM_CYEDGE));
    const int right = units.across(kClientWidthUnits) - units.across(kMarginUnits);
    place(cancel, right - width, top, width, height);
    place(ok, right - 2 * width - units.across(kGapUnits), top, width, height);
    return height;
}

void sizeAndCentre(HWND dialog, int clientWidth, int clientHeight, HWND owner) {
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT around = monitor.rcWork;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
    const RECT& work = monitor.rcWork;
    // Centred on the owner, moved only as far as it takes to lie on the screen.
    const auto within = [](long centredStart, long low, long high) {
        return static_cast<int>(std::max(low, std::min(centredStart, high)));
    };
    const int left = within((around.left + around.right - width) / 2, work.left, work.right - width);
    const int top = within((around.top + around.bottom - height) / 2, work.top, work.bottom - height);
    SetWindowPos(dialog, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void layOutFormDialog(HWND dialog, int fieldCount, HWND owner) {
    const Units units{dialog};
    const DialogText text(dialog);
    const int margin = units.across(kMarginUnits);
    const int clientWidth = units.across(kClientWidthUnits);
    int top = units.down(kMarginUnits);
    HWND explanation = GetDlgItem(dialog, kFormExplanationId);
    const int explanationHeight = text.wrappedHeight(explanation, clientWidth - 2 * margin);
    place(explanation, margin, top, clientWidth - 2 * margin, explanationHeight);
    top += explanationHeight + 2 * units.down(kGapUnits);
    top += layOutFields(dialog, fieldCount, top, units, text);
    top += units.down(kGapUnits);
    top += layOutButtons(dialog, top, units, text);
    top += units.down(kMarginUnits);
    sizeAndCentre(dialog, clientWidth, top, owner);
}

} // namespace vostrel::platform::win32
