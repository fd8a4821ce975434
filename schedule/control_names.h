#pragma once
// The main window's controls that are not a subject's (subjects.h names those), and the texts
// more than one layer shows: the window's description, its behaviours and the settings and run
// handlers address controls only through these names.
#include <string_view>

namespace vostrel::schedule {

inline constexpr std::string_view kSaveButton = "按钮1";
inline constexpr std::string_view kStartPauseButton = "按钮2";
inline constexpr std::string_view kKeepOnTopButton = "按钮3";
inline constexpr std::string_view kAutoRepairButton = "按钮4";
inline constexpr std::string_view kPictureButton = "按钮5";
inline constexpr std::string_view kDownloadButton = "按钮6";
inline constexpr std::string_view kPlanButton = "按钮7"; // opens the invigilators' plan page
inline constexpr std::string_view kSubjectGroup = "分组框1";
inline constexpr std::string_view kPicture = "图片框1";
inline constexpr std::string_view kHeadingLabel = "透明标签1";
inline constexpr std::string_view kClockLabel = "透明标签2";
inline constexpr std::string_view kInformationLabel = "透明标签3";
inline constexpr std::string_view kNextPromptLabel = "透明标签4"; // the status line: what comes next
inline constexpr std::string_view kAttentionLabel = "透明标签5";  // the last prompt, or what needs looking at
inline constexpr std::string_view kRowSyncTimer = "时钟1";        // shows a ticked subject's row
inline constexpr std::string_view kClockTimer = "时钟2";          // refreshes the clock label

inline constexpr std::string_view kSaveCaption = "保存设置";
// 按钮2's caption is the run state.
inline constexpr std::string_view kCaptionNotStarted = "开始运行";
inline constexpr std::string_view kCaptionRunning = "工作中...";
inline constexpr std::string_view kCaptionPaused = "已暂停";
inline constexpr std::string_view kKeepOnTopCaption = "窗口前置";
inline constexpr std::string_view kPlanCaption = "提示安排";

// Title of the program's own message boxes.
inline constexpr std::string_view kProgramTitle = "Vostrel软件";

} // namespace vostrel::schedule
