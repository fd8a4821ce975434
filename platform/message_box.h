#pragma once
// The shared message box.
//
// Contract (UI thread only)
// - showMessage() shows a box without an owner window and returns when the operator has
//   closed it. While it is open the UI thread keeps processing window events: timer ticks,
//   repaints and clicks on the main window run nested inside this call.
// - flags: kMessageOk (0) one OK button, no icon; kMessageIconStop (16) adds the stop icon.
//   The box is task-modal unless kMessageSystemModal is among the flags.
// - An empty title shows kDefaultMessageTitle.
// - askYesNo() shows a question with the question icon and the buttons 是 and 否; 否 is the
//   default (Enter takes it, Esc and the close box answer it too). True only for 是. Task-modal,
//   nested event processing as for showMessage().
#include <string_view>

namespace vostrel::platform {

inline constexpr int kMessageOk = 0;
inline constexpr int kMessageIconStop = 16;
inline constexpr int kMessageSystemModal = 0x1000;
inline constexpr std::string_view kDefaultMessageTitle = "信息：";

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void showMessage(std::string_view text, int flags, std::string_view title) = 0;
    virtual bool askYesNo(std::string_view text, std::string_view title) = 0;
};

} // namespace vostrel::platform
