#pragma once
// What the window tests share: keys as the event loop sees them, waiting on events with a bound,
// steps run inside a modal loop (a form or a message box), and a window of subject rows with
// drop-down lists in a group box, as the program's main window has them.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/event_loop.h"
#include "platform/input_form.h"
#include "platform/window_description.h"

namespace vostrel::win32_test {

// A key press in the control that holds the focus.
MSG keyDown(WPARAM key);

// Dispatches events until the condition holds; the bound only keeps a broken build from hanging.
bool pumpUntil(platform::EventLoop& loop, const std::function<bool()>& condition);

// A destroyed main window posts WM_QUIT for the program's loop. A test that goes on takes it,
// or the next message box or form would end at once.
void takeQuitMessage();

// Runs `step` every few milliseconds from the thread's message loop, whichever loop that is
// (a dialog's or a message box's), until it returns true or the bound passes.
void runWhileModal(std::function<bool()> step);

// The top-level window of this thread with that title, e.g. a form or a message box.
HWND threadWindow(const std::wstring& title);

// Keeps a window on the screen for a screenshot taken from outside: VOSTREL_TEST_HOLD_MS
// milliseconds, announced on stdout; does nothing without that variable.
void holdForScreenshot(const char* what);

// Counts Change events of the window's drop-down lists.
struct SubjectRowsCounters {
    int firstRowChanges = 0;
    int secondRowChanges = 0;
};

inline constexpr char kSubjectRowsTitle[] = "Vostrel科目行测试";
inline constexpr char kFirstRowList[] = "科目1";
inline constexpr char kSecondRowList[] = "科目2";
inline constexpr char kFirstRowTick[] = "勾选1";
inline constexpr char kFirstRowTime[] = "时间1";
inline constexpr char kAlertLabel[] = "状态标签";

// The standard subjects and the entry that asks for one of the operator's own.
const std::vector<std::string>& standardSubjects();

platform::WindowDescription subjectRowsWindow(SubjectRowsCounters& counters);

// The form that asks for a subject of the operator's own.
inline constexpr char kSubjectFormTitle[] = "自定义科目";
inline constexpr char kSubjectFormExplanation[] = "请输入科目名称（最多8个字）和考试时长（30至300分钟）。";
const std::vector<platform::FormField>& subjectFormFields();

} // namespace vostrel::win32_test
