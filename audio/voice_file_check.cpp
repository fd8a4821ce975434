#include "audio/voice_file_check.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/stream_search.h"
#include "platform/utf8_path.h"

namespace vostrel::audio {
namespace {

// Voice files are short; a longer one is searched in its first part, where its stream begins.
constexpr std::size_t kSearchedBytes = 4 * 1024 * 1024;

} // namespace

VoiceFileState checkVoiceFile(std::string_view utf8Path) {
    const std::filesystem::path path = platform::pathFromUtf8(utf8Path);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return VoiceFileState::Missing;
    if (std::filesystem::is_directory(path, ec)) return VoiceFileState::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return VoiceFileState::Unreadable;
    std::vector<std::uint8_t> bytes(kSearchedBytes);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return VoiceFileState::Unreadable;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    std::size_t at = 0;
    return searchFileForStream(bytes.data(), bytes.size(), at) ? VoiceFileState::Playable
                                                               : VoiceFileState::NoAudioStream;
}

} // namespace vostrel::audio
