#pragma once
// The fuzz targets: each takes one input, runs a parser (or the whole engine) on it and checks
// the properties that must hold for every input. libFuzzer drives each through its own binary
// (see libfuzzer_entry.cpp.in); tests/fuzz replays the committed inputs through all of them.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vostrel::fuzz {

using FuzzFunction = int (*)(const std::uint8_t* data, std::size_t size);

// The file's bytes: the ID3v2 tag and the "TAG" trailer are skipped and the reader hands out
// exactly the bytes between them.
int id3Skipping(const std::uint8_t* data, std::size_t size);
// Four header bytes (and what follows, for a free-format frame's length).
int frameHeader(const std::uint8_t* data, std::size_t size);
// The bytes one attempt of the stream search looks at.
int streamSearch(const std::uint8_t* data, std::size_t size);
// A first frame that may carry a Xing header.
int xingHeader(const std::uint8_t* data, std::size_t size);
// An MP3 file played through the whole engine onto the simulated device.
int engine(const std::uint8_t* data, std::size_t size);
// A settings file and one write into it: section, key and value, each ended by a NUL byte,
// then the file's bytes.
int profileStore(const std::uint8_t* data, std::size_t size);
// A separator and a text, split at the first NUL byte.
int timeText(const std::uint8_t* data, std::size_t size);
// The settings file's text (UTF-8) with a prepared timetable in it.
int timetable(const std::uint8_t* data, std::size_t size);
// The day's record as a restart reads it back.
int record(const std::uint8_t* data, std::size_t size);

struct FuzzTarget {
    std::string_view name; // also names its binary, fuzz_<name>, and its folder under fuzz/corpus
    FuzzFunction run;
};

// Every target, in the order fuzz/CMakeLists.txt lists them (the table is generated there).
const std::vector<FuzzTarget>& fuzzTargets();

} // namespace vostrel::fuzz
