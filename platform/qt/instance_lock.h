#pragma once
// The lock that marks the one running copy in a user's session: an exclusive flock on a file in
// the user's runtime folder. The kernel drops it when the process ends, however it ends, so a
// crashed copy never keeps a new one from starting; the descriptor is not inherited by programs
// the copy starts (a browser outliving it must not hold the lock). No Qt here: a test takes the
// lock in a forked child.
#include <optional>
#include <string>

#include "platform/qt/unique_fd.h"

namespace vostrel::platform::qt {

// $XDG_RUNTIME_DIR when it is set, otherwise /tmp/vostrel-<uid>, made private to the user;
// nothing when that folder cannot be made or is not the user's alone.
std::optional<std::string> userRuntimeFolder();

class InstanceLock final {
public:
    explicit InstanceLock(std::string path) : path_(std::move(path)) {}

    enum class Outcome { Taken, HeldElsewhere, Unavailable };
    // Taken also when this lock holds it already. Unavailable: the file cannot be opened or locked.
    Outcome take();

private:
    std::string path_;
    UniqueFd file_;
};

} // namespace vostrel::platform::qt
