// Drop-down lists: the described items and choice, the program's changes (never a Change
// event), the operator's picks by mouse and keyboard (one Change each, none for the same item
// again, none while the list is still open), the focus order through them, and Esc, which
// closes an open list and only then the window.
#include <windows.h>

#include <string>

#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_window.h"
#include "tests/win32/check.h"
#include "tests/win32/window_driving.h"

namespace vostrel::win32_test {
namespace {

using namespace std::string_literals;

struct RowsWindow {
    SubjectRowsCounters counters;
    platform::win32::Win32Window host{GetModuleHandleW(nullptr)};
    platform::win32::Win32EventLoop loop{host};
    platform::Controls& controls = host.createMainWindow(subjectRowsWindow(counters));

    HWND list(const char* name) const { return host.controlWindow(name); }
    // Lets posted notifications arrive.
    void settle() {
        loop.processPendingEvents();
        loop.waitForEvents(30);
        loop.processPendingEvents();
    }
    // What the list sends its parent when the operator has picked with the mouse.
    void pickWithMouse(const char* name, int index) {
        HWND combo = list(name);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        const auto id = static_cast<WORD>(GetDlgCtrlID(combo));
        SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_CLOSEUP), reinterpret_cast<LPARAM>(combo));
        settle();
    }
    void press(WPARAM key) {
        const MSG message = keyDown(key);
        if (host.handleKey(message)) return;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
};

void itemsAndTheProgramsChoice(RowsWindow& w) {
    platform::Controls& controls = w.controls;
    checkEqual(controls.text(kFirstRowList), "语文"s, "the described item is chosen");
    checkEqual(static_cast<int>(SendMessageW(w.list(kFirstRowList), CB_GETCOUNT, 0, 0)),
               static_cast<int>(standardSubjects().size()), "every described item is listed");
    controls.setText(kFirstRowList, "文数/理数");
    checkEqual(controls.text(kFirstRowList), "文数/理数"s, "setText chooses the item with that text");
    controls.setText(kSecondRowList, "abc");
    checkEqual(controls.text(kSecondRowList), ""s, "an item differing only in case is not chosen");
    controls.setText(kSecondRowList, "ABC");
    checkEqual(controls.text(kSecondRowList), "ABC"s, "the item with exactly that text is chosen");
    controls.setText(kFirstRowList, "语");
    checkEqual(controls.text(kFirstRowList), ""s, "text of no item chooses none");

    controls.setText(kSecondRowList, "自定义…");
    controls.setItems(kSecondRowList, {"生物", "自定义…", "化学"});
    checkEqual(controls.text(kSecondRowList), "自定义…"s, "new items keep the choice that is still among them");
    controls.setItems(kSecondRowList, {"地理", "物理"});
    checkEqual(controls.text(kSecondRowList), ""s, "new items without the chosen one choose none");
    controls.setItems(kSecondRowList, {"文综/理综", "ABC", "自定义…"});
    controls.setText(kFirstRowList, "语文");
    controls.setText(kSecondRowList, "文综/理综");
    w.settle();
    check(w.counters.firstRowChanges == 0 && w.counters.secondRowChanges == 0, "the program's changes send no Change");
}

void theOperatorsPicks(RowsWindow& w) {
    platform::Controls& controls = w.controls;
    w.pickWithMouse(kFirstRowList, 3);
    checkEqual(w.counters.firstRowChanges, 1, "a pick with the mouse sends Change");
    checkEqual(controls.text(kFirstRowList), standardSubjects()[3], "the picked item is chosen");
    w.pickWithMouse(kFirstRowList, 3);
    checkEqual(w.counters.firstRowChanges, 1, "picking the chosen item again is no change");
    checkEqual(w.counters.secondRowChanges, 0, "only the list picked from sends Change");

    controls.giveFocus(kFirstRowList);
    w.press(VK_DOWN);
    w.settle();
    checkEqual(w.counters.firstRowChanges, 2, "the next item by the arrow key sends Change");
    checkEqual(controls.text(kFirstRowList), standardSubjects()[4], "the arrow key chose the next item");

    // Looking through the open list with the arrow keys is no pick yet; Enter picks.
    SendMessageW(w.list(kFirstRowList), CB_SHOWDROPDOWN, TRUE, 0);
    w.press(VK_DOWN);
    w.press(VK_DOWN);
    w.settle();
    checkEqual(w.counters.firstRowChanges, 2, "no Change while the list is open");
    w.press(VK_RETURN);
    w.settle();
    check(!SendMessageW(w.list(kFirstRowList), CB_GETDROPPEDSTATE, 0, 0), "Enter closes the list");
    checkEqual(w.counters.firstRowChanges, 3, "one Change when the list closes on another item");
    checkEqual(controls.text(kFirstRowList), standardSubjects()[6], "the item reached in the open list is chosen");
}

void focusOrderAndEscape(RowsWindow& w) {
    platform::Controls& controls = w.controls;
    controls.giveFocus(kFirstRowTick);
    check(w.host.handleKey(keyDown(VK_TAB)), "Tab consumed");
    checkEqual(controls.focusedControl(), std::string(kFirstRowList), "Tab reaches the drop-down list");
    w.press(VK_TAB);
    checkEqual(controls.focusedControl(), std::string(kFirstRowTime), "Tab leaves it for the next control");

    controls.giveFocus(kSecondRowList);
    SendMessageW(w.list(kSecondRowList), CB_SHOWDROPDOWN, TRUE, 0);
    check(SendMessageW(w.list(kSecondRowList), CB_GETDROPPEDSTATE, 0, 0) != 0, "the list is open");
    w.press(VK_ESCAPE);
    check(w.host.mainWindowExists(), "Esc on an open list keeps the window");
    check(!SendMessageW(w.list(kSecondRowList), CB_GETDROPPEDSTATE, 0, 0), "Esc closes the open list");
    w.settle();
    checkEqual(w.counters.secondRowChanges, 0, "closing the list with Esc picks nothing");
    w.press(VK_ESCAPE);
    check(!w.host.mainWindowExists(), "Esc with the list closed closes the window");
    takeQuitMessage();
}

} // namespace

void dropDownTests() {
    RowsWindow window;
    window.host.showMainWindow();
    itemsAndTheProgramsChoice(window);
    theOperatorsPicks(window);
    focusOrderAndEscape(window);
}

} // namespace vostrel::win32_test
