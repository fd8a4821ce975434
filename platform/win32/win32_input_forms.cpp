#include "platform/win32/win32_dialogs.h"

#include <windows.h>

#include "platform/message_box.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/form_dialog_layout.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_window.h"
#include "platform/win32/window_text.h"

namespace vostrel::platform::win32 {
namespace {

constexpr wchar_t kOkCaption[] = L"确定";
constexpr wchar_t kCancelCaption[] = L"取消";
constexpr WORD kFallbackFontPoints = 9;

struct FormState {
    const std::vector<FormField>& fields;
    HWND owner = nullptr;
    std::vector<std::string> texts; // filled by OK
};

// The explanation, a label and a box per field, OK and Cancel. The dialog's font is the face and
// size of the stock GUI font the main window's controls use, so the form shows its characters as
// the window does; the dialog makes it at the system's DPI.
DialogTemplate formTemplate(std::string_view title, std::string_view explanation,
                            const std::vector<FormField>& fields) {
    LOGFONTW stock{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    const int points = MulDiv(stock.lfHeight < 0 ? -stock.lfHeight : stock.lfHeight, 72, dpi);
    const WORD fontPoints = points > 0 ? static_cast<WORD>(points) : kFallbackFontPoints;

    DialogTemplate dialog(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                          toWide(title.empty() ? kDefaultMessageTitle : title), fontPoints, stock.lfFaceName);
    dialog.addControl(kStaticClassAtom, SS_LEFT | SS_NOPREFIX, 0, kFormExplanationId, toWide(explanation));
    WORD index = 0;
    for (const FormField& field : fields) {
        dialog.addControl(kStaticClassAtom, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, kFormFirstLabelId + index,
                          toWide(field.label));
        const DWORD digits = field.digitsOnly ? ES_NUMBER : 0;
        dialog.addControl(kEditClassAtom, WS_TABSTOP | ES_AUTOHSCROLL | digits, WS_EX_CLIENTEDGE,
                          kFormFirstBoxId + index, toWide(field.text));
        ++index;
    }
    dialog.addControl(kButtonClassAtom, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK, kOkCaption);
    dialog.addControl(kButtonClassAtom, WS_TABSTOP | BS_PUSHBUTTON, 0, IDCANCEL, kCancelCaption);
    return dialog;
}

std::string boxText(HWND dialog, int index) { return toUtf8(windowText(GetDlgItem(dialog, kFormFirstBoxId + index))); }

INT_PTR initialise(HWND dialog, FormState& state) {
    const int count = static_cast<int>(state.fields.size());
    for (int i = 0; i < count; ++i) {
        const int limit = state.fields[static_cast<std::size_t>(i)].maxChars;
        // Limits typing only; the text the form opens with is shown whole.
        if (limit > 0) SendDlgItemMessageW(dialog, kFormFirstBoxId + i, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    }
    layOutFormDialog(dialog, count, state.owner);
    if (count == 0) return TRUE; // the system focuses the first button
    HWND first = GetDlgItem(dialog, kFormFirstBoxId);
    SetFocus(first);
    SendMessageW(first, EM_SETSEL, 0, -1);
    return FALSE; // the focus is set
}

INT_PTR CALLBACK formProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return initialise(dialog, *reinterpret_cast<FormState*>(lParam));
    }
    auto* state = reinterpret_cast<FormState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message != WM_COMMAND || !state) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: // the button or Enter
        state->texts.clear();
        for (std::size_t i = 0; i < state->fields.size(); ++i)
            state->texts.push_back(boxText(dialog, static_cast<int>(i)));
        EndDialog(dialog, IDOK);
        return TRUE;
    case IDCANCEL: // the button, Esc or the close box
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default: return FALSE;
    }
}

} // namespace

std::optional<std::vector<std::string>> Win32InputForms::askForm(std::string_view title, std::string_view explanation,
                                                                 const std::vector<FormField>& fields) {
    const DialogTemplate dialog = formTemplate(title, explanation, fields);
    HWND owner = window_.mainWindowExists() ? window_.mainWindow() : nullptr;
    FormState state{fields, owner, {}};
    const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner, formProc,
                                                   reinterpret_cast<LPARAM>(&state));
    if (answer != IDOK) return std::nullopt;
    return std::move(state.texts);
}

} // namespace vostrel::platform::win32
