#pragma once
// The picture and the icon compiled into the program, for the window description.
#include <cstdint>
#include <span>

namespace vostrel::assets {

// The picture box's picture: a progressive JPEG, 437 × 597 pixels, three colour components.
std::span<const std::uint8_t> pictureJpeg();

// The program icon: PNG, 128 × 128 pixels, 32-bit RGBA.
std::span<const std::uint8_t> iconPng();

} // namespace vostrel::assets
