#pragma once
// An independent decoder for comparing our PCM with: ffmpeg, run as a separate process,
// without its gapless trimming (so every frame's samples are there, as a frame decoder gives
// them). Results are cached per file.
#include <cstdint>
#include <string>
#include <vector>

namespace vostrel::audio::test {

struct ReferencePcm {
    bool ok = false;
    std::vector<std::int16_t> samples;  // interleaved
};

const ReferencePcm& referenceDecode(const std::string& path);

// The test MP3 files made by scripts/make-test-mp3.
std::string testFile(const std::string& name);

} // namespace vostrel::audio::test
