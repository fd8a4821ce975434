#include "assets/embedded_assets.h"

#include <cstddef>

// Defined in the sources generated from the asset files at build time.
extern const std::uint8_t kEmbedded_picture_jpg[];
extern const std::size_t kEmbedded_picture_jpg_size;
extern const std::uint8_t kEmbedded_icon_png[];
extern const std::size_t kEmbedded_icon_png_size;
extern const std::uint8_t kEmbedded_prompts_zh_txt[];
extern const std::size_t kEmbedded_prompts_zh_txt_size;

namespace vostrel::assets {

std::span<const std::uint8_t> pictureJpeg() { return {kEmbedded_picture_jpg, kEmbedded_picture_jpg_size}; }

std::span<const std::uint8_t> iconPng() { return {kEmbedded_icon_png, kEmbedded_icon_png_size}; }

std::string_view promptTexts() {
    return {reinterpret_cast<const char*>(kEmbedded_prompts_zh_txt), kEmbedded_prompts_zh_txt_size};
}

} // namespace vostrel::assets
