#pragma once
// The program's modal dialogs: message boxes and the input form. Each runs a modal loop that
// dispatches every message of the thread, so the main window's timers tick and it repaints while
// a dialog is open.
#include "platform/input_form.h"
#include "platform/message_box.h"

namespace vostrel::platform::win32 {

class Win32Window;

// A form from an in-memory dialog template, owned by the main window (disabled while the form is
// open).
class Win32InputForms final : public InputForms {
public:
    explicit Win32InputForms(const Win32Window& window) : window_(window) {}
    std::optional<std::vector<std::string>> askForm(std::string_view title, std::string_view explanation,
                                                    const std::vector<FormField>& fields) override;

private:
    const Win32Window& window_;
};

// MessageBoxW, owned by the thread's active window, if any.
class Win32MessageBoxes final : public MessageBoxes {
public:
    void showMessage(std::string_view text, int flags, std::string_view title) override;
    bool askYesNo(std::string_view text, std::string_view title) override;
};

} // namespace vostrel::platform::win32
