#pragma once
// What vostrel-voicecheck tells the operator, in plain Chinese: each file's stream and problems,
// the line before each file it plays, what the device did, and the verdict.
#include <string>

#include "tools/voicecheck/sound_check.h"
#include "tools/voicecheck/voice_check.h"

namespace vostrel::voicecheck {

std::string fileNameOf(const std::string& path);

// The check of one file: its path, its stream, then each problem or "正常".
std::string checkText(const FileReport& report);

// Before a file plays: "第3条  开考前15分钟  时长 12.4 秒  3speak.mp3" (number and moment
// only for the eight prompts).
std::string playHeading(const FileReport& report);

// What the device did with one file.
std::string devicePlayText(const DevicePlay& play);

struct Tally {
    int files = 0;
    int faulty = 0; // files with a problem in the check
    int played = 0; // files played on the device (sound check only)
    bool deviceRefused = false;
};

// The last line, without and with the sound check.
std::string checkVerdict(const Tally& tally);
std::string soundCheckVerdict(const Tally& tally);

} // namespace vostrel::voicecheck
