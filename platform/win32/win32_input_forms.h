#pragma once
#include "platform/input_form.h"

namespace vostrel::platform::win32 {

class Win32Window;

// A modal dialog from an in-memory template, owned by the main window (disabled while the form
// is open). The dialog's own message loop dispatches every message of the thread, so the main
// window's timers tick and it repaints meanwhile.
class Win32InputForms final : public InputForms {
public:
    explicit Win32InputForms(const Win32Window& window) : window_(window) {}
    std::optional<std::vector<std::string>> askForm(std::string_view title, std::string_view explanation,
                                                    const std::vector<FormField>& fields) override;

private:
    const Win32Window& window_;
};

} // namespace vostrel::platform::win32
