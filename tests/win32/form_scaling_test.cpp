// The input form at the display's scale (run once per DPI setting): its font is the window's
// default font at the system's DPI, every control lies inside the form apart from the others
// and holds its whole text, and the form lies on the screen, centred on the main window.
// Prints the measurements for the artifacts.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/form_dialog_layout.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_window.h"
#include "tests/win32/check.h"
#include "tests/win32/measuring.h"
#include "tests/win32/window_driving.h"

namespace vostrel::win32_test {
namespace {

BOOL CALLBACK addChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> childrenOf(HWND form) {
    std::vector<HWND> children;
    EnumChildWindows(form, addChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::wstring classOf(HWND window) {
    wchar_t name[64]{};
    GetClassNameW(window, name, 64);
    return name;
}

// Height the explanation's text takes, wrapped within the control's width.
long wrappedHeight(HWND label) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(label, text.data(), static_cast<int>(text.size()))));
    RECT area{};
    GetClientRect(label, &area);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return area.bottom;
}

// Whether the control holds its whole text; prints what was measured.
bool holdsItsText(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    const long line = fontMetrics(control).tmHeight;
    const int edge = GetSystemMetrics(SM_CXEDGE);
    const std::wstring kind = classOf(control);
    const int width = captionWidth(control);
    bool holds = false;
    if (GetDlgCtrlID(control) == platform::win32::kFormExplanationId) {
        holds = wrappedHeight(control) <= client.bottom;
    } else if (lstrcmpiW(kind.c_str(), L"Button") == 0) {
        holds = width + 4 * edge <= client.right && line <= client.bottom;
    } else {
        holds = width + (lstrcmpiW(kind.c_str(), L"Edit") == 0 ? 2 * edge : 0) <= client.right && line <= client.bottom;
    }
    const RECT place = placeInParent(control);
    std::printf("  %-7ls at (%ld,%ld) %ldx%ld: text %d wide, line %ld high%s\n", kind.c_str(), place.left, place.top,
                client.right, client.bottom, width, line, holds ? "" : "  CLIPPED");
    return holds;
}

void checkFormIsWhole(HWND form, HWND owner) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW stock{};
    GetTextMetricsW(screen, &stock);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const long formFont = fontMetrics(form).tmHeight;
    RECT outer{}, client{}, ownerOuter{};
    GetWindowRect(form, &outer);
    GetClientRect(form, &client);
    GetWindowRect(owner, &ownerOuter);
    std::printf("form %ldx%ld, font %ld px high (the window's default font: %ld px)\n", outer.right - outer.left,
                outer.bottom - outer.top, formFont, stock.tmHeight);
    check(std::labs(formFont - stock.tmHeight) <= 1, "the form's font is the window's default font at this DPI");

    const std::vector<HWND> children = childrenOf(form);
    for (std::size_t i = 0; i < children.size(); ++i) {
        const RECT place = placeInParent(children[i]);
        RECT inside{};
        check(IntersectRect(&inside, &place, &client) && EqualRect(&inside, &place),
              "every control lies inside the form");
        check(holdsItsText(children[i]), "every control holds its whole text");
        for (std::size_t j = i + 1; j < children.size(); ++j) {
            const RECT other = placeInParent(children[j]);
            check(!IntersectRect(&inside, &place, &other), "no control covers another");
        }
    }
    check(outer.left >= 0 && outer.top >= 0 && outer.right <= GetSystemMetrics(SM_CXSCREEN) &&
              outer.bottom <= GetSystemMetrics(SM_CYSCREEN),
          "the form lies on the screen");
    check(std::labs((outer.left + outer.right) - (ownerOuter.left + ownerOuter.right)) <= 2 &&
              std::labs((outer.top + outer.bottom) - (ownerOuter.top + ownerOuter.bottom)) <= 2,
          "the form is centred on the main window");
}

} // namespace

void formScalingTests() {
    SubjectRowsCounters counters;
    platform::win32::Win32Window host(GetModuleHandleW(nullptr));
    host.createMainWindow(subjectRowsWindow(counters));
    host.showMainWindow();
    platform::win32::Win32InputForms forms(host);
    bool measured = false;
    runWhileModal([&] {
        // Measured as the operator sees it: the dialog shows itself once its loop is idle.
        HWND form = threadWindow(platform::win32::toWide(kSubjectFormTitle));
        if (!form || !IsWindowVisible(form)) return false;
        checkFormIsWhole(form, host.mainWindow());
        measured = true;
        holdForScreenshot("form open");
        SendMessageW(GetDlgItem(form, IDCANCEL), BM_CLICK, 0, 0);
        return true;
    });
    forms.askForm(kSubjectFormTitle, kSubjectFormExplanation, subjectFormFields());
    check(measured, "the form was measured");
    DestroyWindow(host.mainWindow());
    takeQuitMessage();
}

} // namespace vostrel::win32_test
