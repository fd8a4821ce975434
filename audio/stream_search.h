#pragma once
// Finding the MPEG audio stream in a stretch of bytes: a run of three consistent frame
// headers, Layer II or III, and the optional Xing header of the first frame.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "audio/frame_header.h"
#include "audio/xing_info.h"

namespace vostrel::audio {

struct StreamStart {
    FrameHeader header;        // the first of the three headers
    int frameLength = 0;       // its length without padding (free format: measured)
    std::size_t firstSync = 0; // offset of the first header in the bytes searched
    std::optional<XingInfo> xing;
};

// One attempt of the stream search over data[0, size): from the start, three headers in a row,
// each found by scanning forward from where the previous frame ends. The second and third
// must be Layer II or III and agree with the first in layer, version, sample rate and mode;
// any length a header announces is a valid frame (Layer II at 32 kHz and 384 kbit/s: 1728
// bytes). None when the attempt fails.
std::optional<StreamStart> findStreamStart(const std::uint8_t* data, std::size_t size);

// The stream search over a whole file's bytes, as the decoder makes it: past an ID3v2 tag (as
// streamStartAfterId3 says), at most kStreamSearchAttempts attempts, each moving on to the next
// sync. `at` gets the offset of the stream's first header. None when the file holds no stream.
std::optional<StreamStart> searchFileForStream(const std::uint8_t* data, std::size_t size, std::size_t& at);

// The offset of the first sync at positions from..size-2, or none.
std::optional<std::size_t> findSync(const std::uint8_t* data, std::size_t size, std::size_t from);

// The header of an ID3v2 tag, and the "TAG" trailer (ID3v1) that ends a file's data.
inline constexpr std::size_t kId3HeaderBytes = 10;
inline constexpr std::size_t kTagTrailerBytes = 128;

// Where the search for the stream begins, given a file's first kId3HeaderBytes: past an ID3v2 tag
// of versions 2.2 to 2.4 whole (with a 2.4 tag's footer), since searched through, the bytes
// of a large picture in one can use up every attempt of the stream search and the file would
// not be heard; past only the header of a tag of an unknown version, whose body the search
// then scans; 0 when the file does not begin with a tag.
std::uint64_t streamStartAfterId3(const std::uint8_t* first);

// The longest Layer III frame (320 kbit/s at 32 kHz, with padding).
inline constexpr std::size_t kLongestFrameBytes = 1441;
// What one attempt of the stream search reads: three of the longest frames, one per header.
inline constexpr std::size_t kStreamSearchBytes = 3 * kLongestFrameBytes;
// Attempts before a file counts as holding no stream; each failed one moves on to the next sync.
inline constexpr int kStreamSearchAttempts = 32;

} // namespace vostrel::audio
