#include "platform/jpeg/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "assets/embedded_assets.h"

namespace {

using vostrel::platform::jpeg::decodeJpeg;

struct Rgb {
    int r, g, b;
};

Rgb pixelAt(const vostrel::platform::jpeg::RgbImage& image, int x, int y) {
    const auto* p = image.rgb.data() + image.rowBytes() * y + static_cast<std::size_t>(x) * 3;
    return {p[0], p[1], p[2]};
}

bool near(Rgb actual, Rgb expected) {
    const int tolerance = 12; // JPEG is lossy
    return std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
           std::abs(actual.b - expected.b) <= tolerance;
}

TEST(JpegDecoder, DecodesTheProgressivePictureAtItsOwnSize) {
    const auto image = decodeJpeg(vostrel::assets::pictureJpeg());
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 437);
    EXPECT_EQ(image->height, 597);
    EXPECT_EQ(image->rgb.size(), 437u * 597u * 3u);
}

TEST(JpegDecoder, RowsRunTopToBottomInRgbOrder) {
    const auto image = decodeJpeg(vostrel::assets::pictureJpeg());
    ASSERT_TRUE(image.has_value());
    // The picture's background is a vertical gradient from light sky blue at the top to a darker
    // blue at the bottom; the clock face in the top-left corner is off-white.
    EXPECT_TRUE(near(pixelAt(*image, 420, 2), {0xdc, 0xef, 0xff}));
    EXPECT_TRUE(near(pixelAt(*image, 420, 594), {0x8f, 0xb8, 0xde}));
    EXPECT_TRUE(near(pixelAt(*image, 70, 120), {0xf6, 0xf3, 0xea}));
}

TEST(JpegDecoder, RefusesEmptyInput) { EXPECT_FALSE(decodeJpeg({}).has_value()); }

TEST(JpegDecoder, RefusesBytesThatAreNoJpeg) {
    const std::vector<std::uint8_t> text = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
    EXPECT_FALSE(decodeJpeg(text).has_value());
}

TEST(JpegDecoder, RefusesAFileCutOffInItsHeader) {
    const auto whole = vostrel::assets::pictureJpeg();
    EXPECT_FALSE(decodeJpeg(whole.first(100)).has_value());
}

TEST(JpegDecoder, SurvivesAFileCutOffInItsScans) {
    // libjpeg fills a truncated progressive scan with what it has; the point is that the process
    // neither ends nor reads past the buffer (checked under AddressSanitizer).
    const auto whole = vostrel::assets::pictureJpeg();
    const auto image = decodeJpeg(whole.first(whole.size() / 2));
    if (image) {
        EXPECT_EQ(image->width, 437);
        EXPECT_EQ(image->rgb.size(), 437u * 597u * 3u);
    }
}

TEST(JpegDecoder, RefusesAPictureWithAbsurdDimensions) {
    // A baseline header claiming 65000 × 65000 pixels: far beyond the limit, refused before any
    // pixel memory is allocated.
    std::vector<std::uint8_t> bytes(vostrel::assets::pictureJpeg().begin(), vostrel::assets::pictureJpeg().end());
    for (std::size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
            bytes[i + 5] = 0xFD;
            bytes[i + 6] = 0xE8; // height
            bytes[i + 7] = 0xFD;
            bytes[i + 8] = 0xE8; // width
            break;
        }
    }
    EXPECT_FALSE(decodeJpeg(bytes).has_value());
}

} // namespace
