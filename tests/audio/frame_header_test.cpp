// Frame headers, the stream search's three-header rule, the Xing header and free format.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "audio/stream_search.h"

namespace vostrel::audio {
namespace {

using Bytes = std::vector<std::uint8_t>;

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, joint stereo, no CRC.
constexpr std::uint8_t kMpeg1L3[4] = {0xFF, 0xFB, 0x90, 0x40};
// The same with the padding bit.
constexpr std::uint8_t kMpeg1L3Padded[4] = {0xFF, 0xFB, 0x92, 0x40};

void appendFrame(Bytes& bytes, const std::uint8_t (&header)[4], std::size_t length) {
    const std::size_t at = bytes.size();
    bytes.resize(at + length, 0);
    std::memcpy(bytes.data() + at, header, 4);
}

TEST(FrameHeader, LengthsFollowLayerVersionBitrateAndPadding) {
    const auto plain = parseFrameHeader(kMpeg1L3);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->version(), MpegVersion::Mpeg1);
    EXPECT_EQ(plain->layer, 3);
    EXPECT_EQ(plain->sampleRate(), 44100);
    EXPECT_EQ(plain->frameLengthWithoutPadding(), 417);
    EXPECT_EQ(parseFrameHeader(kMpeg1L3Padded)->paddingBytes(), 1);

    const std::uint8_t mpeg2Mono[4] = {0xFF, 0xF3, 0x40, 0xC0}; // 32 kbit/s, 22050 Hz, mono
    const auto mono = parseFrameHeader(mpeg2Mono);
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono->version(), MpegVersion::Mpeg2);
    EXPECT_EQ(mono->sampleRate(), 22050);
    EXPECT_EQ(mono->channels(), 1);
    EXPECT_EQ(mono->samplesPerFrame(), 576);
    EXPECT_EQ(mono->frameLengthWithoutPadding(), 104);

    const std::uint8_t mpeg25[4] = {0xFF, 0xE3, 0x20, 0xC0}; // MPEG 2.5 sync, 16 kbit/s, 11025 Hz
    const auto low = parseFrameHeader(mpeg25);
    ASSERT_TRUE(low);
    EXPECT_EQ(low->version(), MpegVersion::Mpeg25);
    EXPECT_EQ(low->sampleRate(), 11025);

    const std::uint8_t layer2[4] = {0xFF, 0xFD, 0xA0, 0x00}; // Layer II, 192 kbit/s, 44.1 kHz
    EXPECT_EQ(parseFrameHeader(layer2)->frameLengthWithoutPadding(), 626);
}

TEST(FrameHeader, ReservedValuesAreNoHeader) {
    const std::uint8_t badRate[4] = {0xFF, 0xFB, 0x9C, 0x40};
    const std::uint8_t badBitrate[4] = {0xFF, 0xFB, 0xF0, 0x40};
    const std::uint8_t badLayer[4] = {0xFF, 0xF9, 0x90, 0x40};
    const std::uint8_t noSync[4] = {0xFF, 0x7B, 0x90, 0x40};
    EXPECT_FALSE(parseFrameHeader(badRate));
    EXPECT_FALSE(parseFrameHeader(badBitrate));
    EXPECT_FALSE(parseFrameHeader(badLayer));
    EXPECT_FALSE(parseFrameHeader(noSync));
}

TEST(StreamSearch, FindsThreeConsistentHeadersAfterLeadingJunk) {
    Bytes bytes(57, 0x11);
    appendFrame(bytes, kMpeg1L3Padded, 418);
    appendFrame(bytes, kMpeg1L3, 417);
    appendFrame(bytes, kMpeg1L3Padded, 418);
    const auto start = findStreamStart(bytes.data(), bytes.size());
    ASSERT_TRUE(start);
    EXPECT_EQ(start->firstSync, 57u);
    EXPECT_EQ(start->frameLength, 417);
    EXPECT_FALSE(start->xing);
}

TEST(StreamSearch, RefusesLayerOneAndHeadersThatDisagree) {
    Bytes layer1;
    const std::uint8_t header[4] = {0xFF, 0xFF, 0x44, 0xC0};
    for (int i = 0; i < 3; ++i) appendFrame(layer1, header, 128);
    EXPECT_FALSE(findStreamStart(layer1.data(), layer1.size()));

    Bytes mixedRates;
    const std::uint8_t at48k[4] = {0xFF, 0xFB, 0x94, 0x40};
    appendFrame(mixedRates, kMpeg1L3, 417);
    appendFrame(mixedRates, at48k, 384);
    appendFrame(mixedRates, kMpeg1L3, 417);
    EXPECT_FALSE(findStreamStart(mixedRates.data(), mixedRates.size()));

    Bytes twoFrames;
    appendFrame(twoFrames, kMpeg1L3, 417);
    appendFrame(twoFrames, kMpeg1L3, 417);
    EXPECT_FALSE(findStreamStart(twoFrames.data(), twoFrames.size()));
}

TEST(StreamSearch, ReadsTheXingHeaderOfTheFirstFrame) {
    Bytes bytes;
    appendFrame(bytes, kMpeg1L3, 417);
    appendFrame(bytes, kMpeg1L3, 417);
    appendFrame(bytes, kMpeg1L3, 417);
    std::uint8_t* tag = bytes.data() + 36; // MPEG-1, not mono
    std::memcpy(tag, "Xing", 4);
    tag[7] = XingInfo::HasFrames | XingInfo::HasToc | XingInfo::HasQuality;
    tag[8 + 2] = 0x01; // frame count 0x0000012C
    tag[8 + 3] = 0x2C;
    for (int i = 0; i < 100; ++i) tag[12 + i] = static_cast<std::uint8_t>(i * 2);
    tag[112 + 3] = 57; // quality
    const auto start = findStreamStart(bytes.data(), bytes.size());
    ASSERT_TRUE(start && start->xing);
    EXPECT_EQ(start->xing->frameCount, 300u);
    EXPECT_EQ(start->xing->byteCount, 0u);
    EXPECT_EQ(start->xing->toc[50], 100);
    EXPECT_EQ(start->xing->quality, 57);
}

TEST(StreamSearch, MeasuresFreeFormatFramesByTheirDistance) {
    const std::uint8_t freeHeader[4] = {0xFF, 0xFB, 0x00, 0x40};
    Bytes bytes;
    for (int i = 0; i < 4; ++i) appendFrame(bytes, freeHeader, 700);
    const auto start = findStreamStart(bytes.data(), bytes.size());
    ASSERT_TRUE(start);
    EXPECT_TRUE(start->header.freeFormat());
    EXPECT_EQ(start->frameLength, 700);
}

} // namespace
} // namespace vostrel::audio
