#pragma once
// The program's own voice prompts, for tests that run the whole program on the real engine.
#include <string>

namespace vostrel::audio::test {

// The prompt file of a prompt row (1 to 8) among the program's assets.
std::string voiceAsset(int row);
// The file's bytes.
std::string readAll(const std::string& path);
// Where the program looks for that row's file, relative to its directory.
std::string voiceFilePlace(int row);

} // namespace vostrel::audio::test
