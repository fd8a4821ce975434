#pragma once
// Message boxes on QMessageBox: no owner window, the given title (or the default), the stop icon
// when asked, one OK button; a question has the question icon and the buttons 是 and 否 in
// Chinese whatever the desktop's language, since the answer depends on reading them. exec() runs
// a nested event loop, so the window's timers and repaints go on while the box is open; the box
// is modal to the whole program.
#include <QString>

#include "platform/message_box.h"

namespace vostrel::platform::qt {

class QtMessageBoxes final : public MessageBoxes {
public:
    void showMessage(std::string_view text, int flags, std::string_view title) override;
    bool askYesNo(std::string_view text, std::string_view title) override;
};

// The client width a window needs for the window manager to show its whole title: the title in
// the title bar's font, in bold as window managers commonly draw the active window's title,
// beside the window icon and the minimise, maximise and close buttons.
int titleBarWidth(const QString& title);

} // namespace vostrel::platform::qt
