#pragma once
// Decoding a JPEG file's bytes into plain RGB pixels, over libjpeg. Toolkit-neutral so that every
// desktop backend draws the same pixels.
//
// Contract: any thread; no global state. Corrupt, truncated or absurdly large input gives
// std::nullopt (libjpeg's fatal errors are caught here and never end the process).
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vostrel::platform::jpeg {

struct RgbImage {
    int width = 0;
    int height = 0;
    // Rows from top to bottom, each `width` pixels of three bytes R, G, B, with no padding.
    std::vector<std::uint8_t> rgb;

    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * 3; }
};

// Pictures beyond this many pixels are refused rather than allocated.
inline constexpr std::uint64_t kMaxPixels = 64ull * 1024 * 1024;

std::optional<RgbImage> decodeJpeg(std::span<const std::uint8_t> jpegBytes);

} // namespace vostrel::platform::jpeg
