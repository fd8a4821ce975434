#include "platform/win32/dialog_template.h"

namespace vostrel::platform::win32 {
namespace {

// Where the control count lies in DLGTEMPLATE: after style and extended style.
constexpr std::size_t kCountWord = 4;

} // namespace

DialogTemplate::DialogTemplate(DWORD style, std::wstring_view caption, WORD fontPoints, std::wstring_view fontFace) {
    addDword(style | DS_SETFONT);
    addDword(0);                                     // extended style
    words_.push_back(0);                             // control count, raised by addControl
    for (int i = 0; i < 4; ++i) words_.push_back(0); // x, y, cx, cy: set when the dialog lays itself out
    words_.push_back(0);                             // no menu
    words_.push_back(0);                             // the system's dialog class
    addString(caption);
    words_.push_back(fontPoints);
    addString(fontFace);
}

void DialogTemplate::addControl(WORD classAtom, DWORD style, DWORD exStyle, WORD id, std::wstring_view text) {
    alignToDword();
    addDword(style | WS_CHILD | WS_VISIBLE);
    addDword(exStyle);
    for (int i = 0; i < 4; ++i) words_.push_back(0); // x, y, cx, cy
    words_.push_back(id);
    words_.push_back(0xFFFF); // a class atom follows
    words_.push_back(classAtom);
    addString(text);
    words_.push_back(0); // no creation data
    ++words_[kCountWord];
}

void DialogTemplate::addDword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
}

void DialogTemplate::addString(std::wstring_view text) {
    for (const wchar_t c : text) words_.push_back(static_cast<WORD>(c));
    words_.push_back(0);
}

void DialogTemplate::alignToDword() {
    if (words_.size() % 2 != 0) words_.push_back(0);
}

} // namespace vostrel::platform::win32
