#include "tests/audio/reference_decoder.h"

#include <cstdio>
#include <map>
#include <mutex>

namespace vostrel::audio::test {

namespace {

std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) out.append(chunk, got);
    pclose(pipe);
    return out;
}

std::vector<std::int16_t> samplesOf(const std::string& raw) {
    std::vector<std::int16_t> samples(raw.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto lo = static_cast<std::uint8_t>(raw[2 * i]);
        const auto hi = static_cast<std::uint8_t>(raw[2 * i + 1]);
        samples[i] = static_cast<std::int16_t>(lo | (hi << 8));
    }
    return samples;
}

ReferencePcm decode(const std::string& path) {
    ReferencePcm pcm;
    // skip_manual: the decoder keeps the encoder delay and padding that the demuxer would trim.
    std::string raw = run("ffmpeg -v quiet -flags2 +skip_manual -i '" + path +
                          "' -map 0:a:0 -f s16le -acodec pcm_s16le - 2>/dev/null");
    pcm.decoder = "ffmpeg";
    if (raw.empty()) {
        // ffmpeg cannot read free-format streams; mpg123 without gapless trimming keeps every
        // frame's samples as well (and skips a Xing/Info frame, as our decoder does).
        raw = run("mpg123 -q -s --no-gapless '" + path + "' 2>/dev/null");
        pcm.decoder = "mpg123";
    }
    pcm.samples = samplesOf(raw);
    pcm.ok = true;
    return pcm;
}

} // namespace

const ReferencePcm& referenceDecode(const std::string& path) {
    static std::mutex mutex;
    static std::map<std::string, ReferencePcm> cache;
    const std::lock_guard lock(mutex);
    auto it = cache.find(path);
    if (it == cache.end()) it = cache.emplace(path, decode(path)).first;
    return it->second;
}

std::size_t referencePcmBytes(const std::string& path) {
    return referenceDecode(path).samples.size() * sizeof(std::int16_t);
}

std::string testFile(const std::string& name) { return std::string(VOSTREL_TESTDATA_DIR) + "/mp3/" + name; }

} // namespace vostrel::audio::test
