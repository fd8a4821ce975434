#pragma once
// A folder of this process's own under the temporary directory, for the fuzz targets that
// need files; removed when the process ends.
#include <filesystem>
#include <string>
#include <string_view>

namespace vostrel::fuzz {

// The path of `name` in the folder, which exists once this returns.
std::string scratchFile(std::string_view name);

// Replaces the file's content.
void writeScratchFile(const std::string& path, std::string_view bytes);
std::string readScratchFile(const std::string& path);

} // namespace vostrel::fuzz
