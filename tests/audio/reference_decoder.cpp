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

ReferencePcm decode(const std::string& path) {
    ReferencePcm pcm;
    // skip_manual: the decoder keeps the encoder delay and padding that the demuxer would trim.
    const std::string raw = run("ffmpeg -v quiet -flags2 +skip_manual -i '" + path +
                                "' -map 0:a:0 -f s16le -acodec pcm_s16le - 2>/dev/null");
    pcm.samples.resize(raw.size() / 2);
    for (std::size_t i = 0; i < pcm.samples.size(); ++i) {
        const auto lo = static_cast<std::uint8_t>(raw[2 * i]);
        const auto hi = static_cast<std::uint8_t>(raw[2 * i + 1]);
        pcm.samples[i] = static_cast<std::int16_t>(lo | (hi << 8));
    }
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

std::string testFile(const std::string& name) { return std::string(VOSTREL_TESTDATA_DIR) + "/mp3/" + name; }

} // namespace vostrel::audio::test
