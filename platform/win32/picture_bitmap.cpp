#include "platform/win32/picture_bitmap.h"

#include "platform/jpeg/jpeg_decoder.h"

namespace vostrel::platform::win32 {

OwnedBitmap bitmapFromJpeg(std::span<const std::uint8_t> jpegBytes) {
    if (jpegBytes.empty()) return nullptr;
    const auto image = jpeg::decodeJpeg(jpegBytes);
    if (!image || image->width <= 0 || image->height <= 0) return nullptr;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image->width;
    info.bmiHeader.biHeight = -image->height; // rows from the top, like the decoder's
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return nullptr;

    // Each 32-bit pixel is blue, green, red, unused.
    auto* out = static_cast<std::uint8_t*>(bits);
    const std::uint8_t* in = image->rgb.data();
    const std::size_t pixels = static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
    for (std::size_t i = 0; i < pixels; ++i, in += 3, out += 4) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = 0;
    }
    GdiFlush();
    return bitmap;
}

} // namespace vostrel::platform::win32
