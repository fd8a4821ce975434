#pragma once
#include <cstdint>
#include <span>

#include "platform/win32/gdi_handles.h"

namespace vostrel::platform::win32 {

// The JPEG decoded into a bitmap that can be drawn on any display; null when the bytes are
// not a picture.
OwnedBitmap bitmapFromJpeg(std::span<const std::uint8_t> jpegBytes);

} // namespace vostrel::platform::win32
