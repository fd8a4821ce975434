#include "tests/audio/tagged_file.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "tests/audio/reference_decoder.h"

namespace vostrel::audio::test {

// The tag sizes are syncsafe in every version.
std::string behindAnId3Tag(int version, std::size_t pictureBytes) {
    std::ifstream in(testFile("cbr.mp3"), std::ios::binary);
    const std::string audio((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto syncsafe = [](std::size_t n) {
        return std::string{static_cast<char>((n >> 21) & 0x7F), static_cast<char>((n >> 14) & 0x7F),
                           static_cast<char>((n >> 7) & 0x7F), static_cast<char>(n & 0x7F)};
    };
    std::string picture(pictureBytes, '\0');
    std::uint32_t state = 12345;
    for (char& byte : picture) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    std::string frame;
    if (version == 2) {
        const std::string body = std::string("\0PNG\0\x03\0", 7) + picture;
        // Version 2.2 frames have a 3-byte id and a 3-byte plain size.
        frame = "PIC" +
                std::string{static_cast<char>((body.size() >> 16) & 0xFF), static_cast<char>((body.size() >> 8) & 0xFF),
                            static_cast<char>(body.size() & 0xFF)} +
                body;
    } else {
        const std::string body = std::string("\0image/png\0\x03\0", 14) + picture;
        frame = "APIC" + syncsafe(body.size()) + std::string(2, '\0') + body;
    }
    const std::string tag =
        "ID3" + std::string{static_cast<char>(version), '\0', '\0'} + syncsafe(frame.size()) + frame;
    const std::string path = (std::filesystem::temp_directory_path() /
                              // Named after the process too: test programs run side by side.
                              ("vostrel-id3v2" + std::to_string(version) + "-" + std::to_string(pictureBytes) + "-" +
                               std::to_string(::getpid()) + ".mp3"))
                                 .string();
    std::ofstream(path, std::ios::binary) << tag << audio;
    return path;
}

} // namespace vostrel::audio::test
