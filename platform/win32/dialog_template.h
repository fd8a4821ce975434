#pragma once
// A dialog template built in memory for DialogBoxIndirectParamW, so a dialog needs no resource
// file. Controls get their places when the dialog lays itself out (WM_INITDIALOG); the template
// only names them.
#include <windows.h>

#include <string_view>
#include <vector>

namespace vostrel::platform::win32 {

// The system's control classes by atom, as a template names them.
inline constexpr WORD kButtonClassAtom = 0x0080;
inline constexpr WORD kEditClassAtom = 0x0081;
inline constexpr WORD kStaticClassAtom = 0x0082;

class DialogTemplate {
public:
    // DS_SETFONT is added to `style`: the dialog's font, and with it every dialog unit, follows
    // the system's DPI.
    DialogTemplate(DWORD style, std::wstring_view caption, WORD fontPoints, std::wstring_view fontFace);
    // A visible child of a system class; WS_CHILD and WS_VISIBLE are added to `style`.
    void addControl(WORD classAtom, DWORD style, DWORD exStyle, WORD id, std::wstring_view text);
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void addDword(DWORD value);
    void addString(std::wstring_view text);
    void alignToDword();

    std::vector<WORD> words_; // WORD-aligned as the format wants; the allocation is DWORD-aligned
};

} // namespace vostrel::platform::win32
