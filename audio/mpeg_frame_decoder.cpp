#include "audio/mpeg_frame_decoder.h"

#include <mpg123.h>

#include <cstring>

namespace vostrel::audio {

namespace {

bool libraryReady() {
    // mpg123_init is needed by library versions before 1.27 and harmless after.
    static const bool ready = [] { return mpg123_init() == MPG123_OK; }();
    return ready;
}

} // namespace

MpegFrameDecoder::~MpegFrameDecoder() {
    if (handle_) mpg123_delete(handle_);
}

bool MpegFrameDecoder::initialise(const FrameHeader& header, int frameLength) {
    if (header.layer == 1 || !libraryReady()) return false;
    info_ = Info{header.channels(), 16, header.sampleRate()};
    freeFormatLength_ = header.freeFormat() ? frameLength : 0;
    return restart();
}

bool MpegFrameDecoder::restart() {
    if (handle_) {
        mpg123_delete(handle_);
        handle_ = nullptr;
    }
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (!handle_) return false;
    // Setting the flags replaces the library's defaults: no gapless trimming, no resync (we
    // resynchronise ourselves), and no read-ahead, without which a frame's PCM would only come
    // once the next frame's header has been fed.
    const long flags = MPG123_QUIET | MPG123_NO_RESYNC | MPG123_NO_READAHEAD;
    if (mpg123_param(handle_, MPG123_FLAGS, flags, 0) != MPG123_OK ||
        mpg123_param(handle_, MPG123_RESYNC_LIMIT, 0, 0) != MPG123_OK) {
        return false;
    }
    // libmpg123 counts a free-format frame's length without its header.
    if (freeFormatLength_ > 0 &&
        mpg123_param(handle_, MPG123_FREEFORMAT_SIZE,
                     static_cast<long>(freeFormatLength_) - static_cast<long>(kFrameHeaderBytes), 0) != MPG123_OK) {
        return false;
    }
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i) {
        mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    return mpg123_open_feed(handle_) == MPG123_OK;
}

MpegFrameDecoder::Decoded MpegFrameDecoder::decode(const std::uint8_t* in, std::size_t frameBytes, std::uint8_t* out,
                                                   std::size_t outCapacity) {
    if (!handle_) return {};
    if (mpg123_feed(handle_, in, frameBytes) != MPG123_OK) {
        restart();
        return {};
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        off_t frameNumber = 0;
        unsigned char* audio = nullptr;
        size_t bytes = 0;
        const int status = mpg123_decode_frame(handle_, &frameNumber, &audio, &bytes);
        if (status == MPG123_NEW_FORMAT) continue; // the first frame announces the format
        if (status == MPG123_OK) {
            const std::size_t produced = bytes < outCapacity ? bytes : outCapacity;
            if (produced > 0) std::memcpy(out, audio, produced);
            return {frameBytes, produced};
        }
        if (status == MPG123_NEED_MORE) return {frameBytes, 0}; // e.g. the Xing frame: no audio
        break;
    }
    restart();
    return {};
}

} // namespace vostrel::audio
