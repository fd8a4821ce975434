#include "platform/jpeg/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace vostrel::platform::jpeg {
namespace {

// libjpeg reports fatal errors through error_exit, which by default ends the process. Ours jumps
// back into decodeInto() instead; only libjpeg's C frames lie in between, so no destructor is
// skipped.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf recovery;
};

[[noreturn]] void onFatalError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(errors->recovery, 1);
}

void ignoreMessage(j_common_ptr) {} // warnings of slightly damaged files are not reported

// Owns the decompressor; every object that lives across setjmp is outside this frame (the caller's
// image) or is libjpeg's own, so a longjmp leaves nothing half-destroyed.
bool decodeInto(std::span<const std::uint8_t> bytes, RgbImage& image) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onFatalError;
    errors.base.output_message = ignoreMessage;
    if (setjmp(errors.recovery) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB; // greyscale and YCbCr pictures alike come out as RGB
    const std::uint64_t pixels = static_cast<std::uint64_t>(info.image_width) * info.image_height;
    if (pixels == 0 || pixels > kMaxPixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.rgb.resize(image.rowBytes() * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.rgb.data() + image.rowBytes() * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

std::optional<RgbImage> decodeJpeg(std::span<const std::uint8_t> jpegBytes) {
    if (jpegBytes.empty()) return std::nullopt;
    RgbImage image;
    if (!decodeInto(jpegBytes, image)) return std::nullopt;
    return image;
}

} // namespace vostrel::platform::jpeg
