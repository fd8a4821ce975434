#pragma once
// Whether a voice file will play: present, readable, and holding an MPEG audio stream the
// decoder finds (the same search). Checked before the day starts, so that a prompt that would
// be silent is named while there is time to replace its file.
//
// Contract: any thread; reads the file through platform/file_reader.h (it may wait for the disk,
// so the program calls it off the UI thread).
#include <string_view>

namespace vostrel::audio {

enum class VoiceFileState { Playable, Missing, Unreadable, NoAudioStream };

VoiceFileState checkVoiceFile(std::string_view utf8Path);

} // namespace vostrel::audio
