#pragma once
// An independent decoder for comparing our PCM with: ffmpeg, run as a separate process,
// without its gapless trimming (so every frame's samples are there, as a frame decoder gives
// them); mpg123 in the same way for the streams ffmpeg cannot read (free format). Results are
// cached per file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vostrel::audio::test {

struct ReferencePcm {
    bool ok = false;
    const char* decoder = "";          // which program gave the samples
    std::vector<std::int16_t> samples; // interleaved
};

const ReferencePcm& referenceDecode(const std::string& path);

// How many bytes of 16-bit PCM the reference decode of a file gives: what a device should hear.
std::size_t referencePcmBytes(const std::string& path);

// The test MP3 files made by scripts/make-test-mp3.
std::string testFile(const std::string& name);

} // namespace vostrel::audio::test
