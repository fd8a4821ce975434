#include "audio/voice_file_check.h"

#include <algorithm>
#include <vector>

#include "audio/stream_search.h"
#include "platform/file_reader.h"

namespace vostrel::audio {
namespace {

// Voice files are short; a longer one is searched in its first part, where its stream begins.
constexpr std::uint64_t kSearchedBytes = 4 * 1024 * 1024;

} // namespace

VoiceFileState checkVoiceFile(std::string_view utf8Path) {
    platform::FileOpenError error = platform::FileOpenError::Other;
    const std::unique_ptr<platform::FileReader> file = platform::openFileForReading(utf8Path, error);
    if (!file) return error == platform::FileOpenError::NotFound ? VoiceFileState::Missing : VoiceFileState::Unreadable;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(file->size(), kSearchedBytes)));
    if (file->read(bytes.data(), bytes.size()) != bytes.size()) return VoiceFileState::Unreadable;
    std::size_t at = 0;
    return searchFileForStream(bytes.data(), bytes.size(), at) ? VoiceFileState::Playable
                                                               : VoiceFileState::NoAudioStream;
}

} // namespace vostrel::audio
