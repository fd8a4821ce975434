#include "platform/qt/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace vostrel::platform::qt {

namespace {
constexpr const char* kFallbackFolderPrefix = "/tmp/vostrel-";
constexpr mode_t kPrivateFolder = 0700;

// /tmp is shared: the folder must be a real folder of this user that nobody else may enter, or
// another user could hold the lock or listen in our place.
bool isPrivateFolderOfUser(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}
} // namespace

std::optional<std::string> userRuntimeFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) return std::string(runtime);
    const std::string fallback = kFallbackFolderPrefix + std::to_string(::getuid());
    if (::mkdir(fallback.c_str(), kPrivateFolder) != 0 && errno != EEXIST) return std::nullopt;
    if (!isPrivateFolderOfUser(fallback)) return std::nullopt;
    return fallback;
}

InstanceLock::Outcome InstanceLock::take() {
    if (file_.valid()) return Outcome::Taken;
    UniqueFd file(::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!file.valid()) return Outcome::Unavailable;
    // flock belongs to this open file: a second open, even in this process, is refused too.
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::Unavailable;
    }
    file_ = std::move(file);
    return Outcome::Taken;
}

} // namespace vostrel::platform::qt
