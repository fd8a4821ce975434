#pragma once
// The picture and the icon compiled into the program, for the window description.
#include <cstdint>
#include <span>
#include <string_view>

namespace vostrel::assets {

// The picture box's picture: a progressive JPEG, 437 × 597 pixels, three colour components.
std::span<const std::uint8_t> pictureJpeg();

// The program icon: PNG, 128 × 128 pixels, 32-bit RGBA.
std::span<const std::uint8_t> iconPng();

// assets/prompts.zh.txt: what each prompt says, a line "N text" per prompt (UTF-8).
std::string_view promptTexts();

} // namespace vostrel::assets
