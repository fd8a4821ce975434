// Each test file through the reader and the decoder, compared with an independent decoder
// (ffmpeg without gapless trimming, which keeps every frame's samples as a frame decoder does).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "audio/frame_header.h"

#include "tests/audio/pipeline_runner.h"
#include "tests/audio/reference_decoder.h"
#include "tests/audio/tagged_file.h"

namespace vostrel::audio::test {
namespace {

int maxDifference(const std::int16_t* a, const std::int16_t* b, std::size_t count) {
    int worst = 0;
    for (std::size_t i = 0; i < count; ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

// The last `count` samples of both, aligned at their ends.
int tailDifference(const std::vector<std::int16_t>& ours, const std::vector<std::int16_t>& reference,
                   std::size_t count) {
    count = std::min({count, ours.size(), reference.size()});
    return maxDifference(ours.data() + ours.size() - count, reference.data() + reference.size() - count, count);
}

struct Playable {
    const char* file;
    int channels;
    int sampleRate;
    int samplesPerFrame;
};

class PlayableFile : public ::testing::TestWithParam<Playable> {};

TEST_P(PlayableFile, DecodesEveryFrameLikeAnIndependentDecoder) {
    const Playable& p = GetParam();
    const DecodeRun run = decodeFile(testFile(p.file));
    const ReferencePcm& reference = referenceDecode(testFile(p.file));
    ASSERT_TRUE(reference.ok && !reference.samples.empty()) << reference.decoder << " could not decode " << p.file;

    EXPECT_EQ(run.openResult, Result::Ok);
    EXPECT_TRUE(run.events.empty()) << "a stage reported an error";
    ASSERT_TRUE(run.sawFormat);
    EXPECT_TRUE(run.sawEnd);
    EXPECT_EQ(run.format.bitsPerSample, 16);
    EXPECT_EQ(run.format.channels, p.channels);
    EXPECT_EQ(run.format.sampleRate, p.sampleRate);
    EXPECT_EQ(run.format.samplesPerFrame, p.samplesPerFrame);
    EXPECT_EQ(run.format.blockBytes, static_cast<std::uint32_t>(p.channels * 2 * p.samplesPerFrame));
    // The ring holds a whole number of blocks, as many as fit into 512 KiB.
    EXPECT_EQ(run.ringBytes, 524288 - 524288 % run.format.blockBytes);

    // Every frame, the last ones included, and sample values within 1 of each other.
    ASSERT_EQ(run.samples.size(), reference.samples.size());
    EXPECT_LE(maxDifference(run.samples.data(), reference.samples.data(), run.samples.size()), 1);
}

INSTANTIATE_TEST_SUITE_P(
    TestFiles, PlayableFile,
    ::testing::Values(Playable{"cbr.mp3", 2, 44100, 1152}, Playable{"vbr_xing.mp3", 2, 44100, 1152},
                      Playable{"mpeg2_22050_mono.mp3", 1, 22050, 576}, Playable{"mpeg25_11025_mono.mp3", 1, 11025, 576},
                      Playable{"layer2.mp3", 2, 44100, 1152}, Playable{"layer2_long_frames.mp3", 2, 32000, 1152},
                      Playable{"free_format.mp3", 2, 44100, 1152}, Playable{"id3v23_picture.mp3", 2, 44100, 1152},
                      Playable{"id3v24.mp3", 2, 44100, 1152}, Playable{"tag_trailer.mp3", 2, 44100, 1152},
                      Playable{"few_frames.mp3", 2, 44100, 1152}, Playable{"long.mp3", 2, 44100, 1152}),
    [](const auto& info) {
        std::string name = info.param.file;
        name.resize(name.size() - 4);
        return name;
    });

TEST(PipelineDecode, StereoLayerThreeAt44100HasBlocksOf4608AndARingOf113Blocks) {
    const DecodeRun run = decodeFile(testFile("cbr.mp3"));
    EXPECT_EQ(run.format.blockBytes, 4608u);
    EXPECT_EQ(run.ringBytes, 113u * 4608u);
}

TEST(PipelineDecode, TruncatedFileLosesOnlyItsIncompleteFinalFrame) {
    const DecodeRun run = decodeFile(testFile("truncated.mp3"));
    const ReferencePcm& reference = referenceDecode(testFile("truncated.mp3"));
    EXPECT_TRUE(run.events.empty());
    EXPECT_TRUE(run.sawEnd);
    // ffmpeg decodes the part of the last frame that is there; we drop that frame whole.
    ASSERT_EQ(run.samples.size() + 2 * 1152, reference.samples.size());
    EXPECT_LE(maxDifference(run.samples.data(), reference.samples.data(), run.samples.size()), 1);
}

TEST(PipelineDecode, JunkInTheMiddleIsSkippedAndDecodingResynchronises) {
    const DecodeRun run = decodeFile(testFile("junk_middle.mp3"));
    const DecodeRun clean = decodeFile(testFile("cbr.mp3"));
    EXPECT_TRUE(run.events.empty());
    EXPECT_TRUE(run.sawEnd);
    // Before the junk (inserted 40 % into the file) the PCM is the clean file's.
    const std::size_t head = clean.samples.size() * 35 / 100;
    EXPECT_EQ(maxDifference(run.samples.data(), clean.samples.data(), head), 0);
    // After it decoding found the frames again: the last half is the clean file's as well.
    EXPECT_LE(tailDifference(run.samples, clean.samples, clean.samples.size() / 2), 0);
    // At most the frame the junk was put into, and a frame garbled by it, differ in count.
    EXPECT_LE(std::abs(static_cast<long long>(run.samples.size()) - static_cast<long long>(clean.samples.size())),
              2 * 2 * 1152);
}

class RefusedFile : public ::testing::TestWithParam<const char*> {};

TEST_P(RefusedFile, EndsInStageErrorWithoutAnyPcm) {
    const DecodeRun run = decodeFile(testFile(GetParam()));
    EXPECT_EQ(run.openResult, Result::Ok);
    EXPECT_EQ(run.events, std::vector<PlayerEventCode>{PlayerEventCode::StageError});
    EXPECT_FALSE(run.sawFormat);
    EXPECT_TRUE(run.samples.empty());
}

INSTANTIATE_TEST_SUITE_P(TestFiles, RefusedFile, ::testing::Values("layer1.mp3", "not_mp3.mp3", "empty.mp3"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name.resize(name.size() - 4);
                             return name;
                         });

// The first `frames` frames of cbr.mp3 as a file of their own.
std::string cbrPrefix(int frames) {
    std::ifstream in(testFile("cbr.mp3"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t end = 0;
    for (int i = 0; i < frames; ++i) {
        const auto header = parseFrameHeader(reinterpret_cast<const std::uint8_t*>(bytes.data()) + end);
        if (!header) return {};
        end += static_cast<std::size_t>(header->frameLengthWithoutPadding() + header->paddingBytes());
    }
    const std::string path =
        (std::filesystem::temp_directory_path() / ("vostrel-cbr-" + std::to_string(frames) + ".mp3")).string();
    std::ofstream(path, std::ios::binary) << bytes.substr(0, end);
    return path;
}

TEST(PipelineDecode, AStreamOfThreeFramesPlaysAndOneOfTwoIsRefused) {
    const std::string three = cbrPrefix(3);
    const std::string two = cbrPrefix(2);
    const DecodeRun played = decodeFile(three);
    const DecodeRun refused = decodeFile(two);
    const DecodeRun whole = decodeFile(testFile("cbr.mp3"));
    std::filesystem::remove(three);
    std::filesystem::remove(two);

    // About 1250 bytes, far fewer than the search asks for: all three frames are heard.
    EXPECT_TRUE(played.events.empty());
    EXPECT_TRUE(played.sawEnd);
    ASSERT_EQ(played.samples.size(), 3u * 2 * 1152);
    EXPECT_EQ(maxDifference(played.samples.data(), whole.samples.data(), played.samples.size()), 0);

    EXPECT_EQ(refused.events, std::vector<PlayerEventCode>{PlayerEventCode::StageError});
    EXPECT_TRUE(refused.samples.empty());
}

TEST(PipelineDecode, AnId3TagOfAnyVersionWithALargePictureIsSkippedWhole) {
    const DecodeRun clean = decodeFile(testFile("cbr.mp3"));
    for (const int version : {2, 3, 4}) {
        const std::string file = behindAnId3Tag(version, 100000);
        const DecodeRun run = decodeFile(file);
        std::filesystem::remove(file);
        // Searched through, the picture's bytes would use up the stream search's attempts.
        EXPECT_TRUE(run.events.empty()) << "version " << version;
        EXPECT_TRUE(run.sawEnd) << "version " << version;
        EXPECT_EQ(run.samples, clean.samples) << "version " << version;
    }
}

TEST(PipelineDecode, MissingFileFailsTheOpenWithStageError) {
    const DecodeRun run = decodeFile(testFile("no_such_file.mp3"));
    EXPECT_EQ(run.openResult, Result::FileNotFound);
    EXPECT_EQ(run.events, std::vector<PlayerEventCode>{PlayerEventCode::StageError});
}

TEST(PipelineDecode, ProgressRisesFromZeroTo99) {
    const DecodeRun run = decodeFile(testFile("long.mp3"));
    ASSERT_FALSE(run.progress.empty());
    EXPECT_EQ(run.progress.front(), 0);
    EXPECT_EQ(run.progress.back(), 99);
    EXPECT_TRUE(std::is_sorted(run.progress.begin(), run.progress.end()));
    EXPECT_EQ(std::adjacent_find(run.progress.begin(), run.progress.end()), run.progress.end())
        << "a value was posted twice";
}

TEST(PipelineSeek, WithoutXingTheStartIsAShareOfTheDataInWholeFrames) {
    const DecodeRun whole = decodeFile(testFile("cbr.mp3"));
    const DecodeRun half = decodeFile(testFile("cbr.mp3"), 50);
    ASSERT_TRUE(half.sawEnd);
    // 128 kbit/s at 44.1 kHz: frames of 417 bytes (plus padding); 32600 bytes of data.
    // frames = 50 * 32600 / 417 / 100 = 39, offset 39 * 417 = 16263: a few bytes before frame
    // 39 (the padding bytes of the frames before it add up), where decoding resumes.
    const std::size_t frameSamples = 2 * 1152;
    EXPECT_EQ(half.samples.size(), whole.samples.size() - 39 * frameSamples);
    EXPECT_EQ(half.progress.front(), 50);
    // Apart from the first frames, which lack their bit reservoir and the synthesis filter's
    // history, it is the file's second half.
    EXPECT_LE(tailDifference(half.samples, whole.samples, half.samples.size() - 3 * frameSamples), 0);
}

TEST(PipelineSeek, WithAXingTableTheStartIsTheTablesEntry) {
    const DecodeRun whole = decodeFile(testFile("vbr_xing.mp3"));
    const DecodeRun half = decodeFile(testFile("vbr_xing.mp3"), 50);
    ASSERT_TRUE(half.sawEnd);
    const std::size_t frameSamples = 2 * 1152;
    const std::size_t totalFrames = whole.samples.size() / frameSamples;
    const std::size_t remaining = half.samples.size() / frameSamples;
    // The table places 50 % at the byte where half of the frames lie behind: within a few
    // frames of the middle, never at the start.
    EXPECT_NEAR(static_cast<double>(remaining), totalFrames / 2.0, 4.0);
    EXPECT_EQ(half.progress.front(), 50);
    EXPECT_LE(tailDifference(half.samples, whole.samples, half.samples.size() - 3 * frameSamples), 0);
}

} // namespace
} // namespace vostrel::audio::test
