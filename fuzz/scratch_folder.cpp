#include "fuzz/scratch_folder.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include <unistd.h>

namespace vostrel::fuzz {

namespace {

struct ScratchFolder {
    ScratchFolder() : path(std::filesystem::temp_directory_path() / ("vostrel-fuzz-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

} // namespace

std::string scratchFile(std::string_view name) {
    static const ScratchFolder folder;
    return (folder.path / name).string();
}

void writeScratchFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readScratchFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace vostrel::fuzz
