#pragma once
// Test files made on the fly from the stored ones.
#include <cstddef>
#include <string>

namespace vostrel::audio::test {

// A temporary copy of cbr.mp3 behind an ID3v2 tag of the given version (2, 3 or 4) holding
// `pictureBytes` of picture data that looks like compressed data, full of false frame syncs.
// Returns its path; the caller removes the file.
std::string behindAnId3Tag(int version, std::size_t pictureBytes);

} // namespace vostrel::audio::test
