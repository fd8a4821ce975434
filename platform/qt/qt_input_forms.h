#pragma once
// The small input form on a QDialog owned by the main window (so the window manager keeps it
// above the window, and Qt centres it there): the explanation, one label and edit box per field,
// OK and Cancel captioned 确定 and 取消 whatever the desktop's language. exec() runs a nested
// event loop, as a message box's does; the form is modal to the whole program. Sizes come from
// the CJK font and Qt's layouts in pixels at 100%, which Qt scales with the display.
#include "platform/input_form.h"
#include "platform/qt/qt_window_host.h"

namespace vostrel::platform::qt {

class QtInputForms final : public InputForms {
public:
    explicit QtInputForms(QtWindowHost& host) : host_(host) {}
    std::optional<std::vector<std::string>> askForm(std::string_view title, std::string_view explanation,
                                                    const std::vector<FormField>& fields) override;

private:
    QtWindowHost& host_;
};

} // namespace vostrel::platform::qt
