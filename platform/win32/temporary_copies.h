#pragma once
// The temporary copy a replacement writes before it renames the copy over the file:
// "<file>.<process id>.tmp" beside the file, so the rename stays on one volume and the copies
// that killed processes left behind are known by their name.
#include <string>
#include <string_view>

namespace vostrel::platform::win32 {

// UTF-8 in and out, like the paths of the seam.
std::string temporaryCopyPath(std::string_view file);

// Deletes every "<file>.<digits>.tmp" beside the file (the name compared without regard to case,
// as the file system does); nothing else.
void removeTemporaryCopies(std::string_view file);

} // namespace vostrel::platform::win32
