#include "tests/audio/voice_assets.h"

#include <fstream>
#include <iterator>

namespace vostrel::audio::test {

std::string voiceAsset(int row) {
    return std::string(VOSTREL_SOURCE_DIR) + "/assets/" + std::to_string(row) + "speak.mp3";
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string voiceFilePlace(int row) { return "Vostrel/" + std::to_string(row) + "speak.mp3"; }

} // namespace vostrel::audio::test
