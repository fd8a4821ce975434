#include "platform/posix/file_replacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>

namespace vostrel::platform {
namespace {

constexpr mode_t kPermissionBits = 07777;
constexpr int kTemporaryFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC; // O_EXCL: never through a link
constexpr std::string_view kTemporarySuffix = ".tmp";

// "<name>.<digits>.tmp" for the file named `name`.
bool isTemporaryCopyOf(std::string_view candidate, std::string_view name) {
    if (candidate.size() <= name.size() + 1 + kTemporarySuffix.size()) return false;
    if (!candidate.starts_with(name) || candidate[name.size()] != '.' || !candidate.ends_with(kTemporarySuffix))
        return false;
    const std::string_view digits =
        candidate.substr(name.size() + 1, candidate.size() - name.size() - 1 - kTemporarySuffix.size());
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The file that gets the content: a symbolic link's target, so that the link stays.
std::optional<std::string> replacedFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) return path;
    const std::filesystem::path target = std::filesystem::canonical(path, ec);
    if (ec) return std::nullopt;
    return target.string();
}

std::string folderOf(const std::string& file) {
    const std::size_t slash = file.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : file.substr(0, slash);
}

struct Target {
    bool mayReplace = false;
    std::optional<mode_t> permissions; // of the existing file; none for a new one
};

Target inspect(FileCalls& calls, const std::string& file) {
    struct ::stat info {};
    if (calls.stat(file, info) != 0) return {errno == ENOENT, std::nullopt};
    if (!S_ISREG(info.st_mode) || calls.accessForWriting(file) != 0) return {};
    return {true, info.st_mode & kPermissionBits};
}

// The process id makes the name unique among running programs, so a file already there is
// left over from a power cut during an earlier save and may go.
int createTemporary(FileCalls& calls, const std::string& temporary) {
    int fd = calls.open(temporary, kTemporaryFlags, kNewFileMode);
    if (fd < 0 && errno == EEXIST && calls.unlink(temporary) == 0) {
        fd = calls.open(temporary, kTemporaryFlags, kNewFileMode);
    }
    return fd;
}

// Writes the whole content, gives the permissions and flushes to disk; closes the file in
// every case (a failed close can mean lost bytes, so it counts too).
bool fillTemporary(FileCalls& calls, int fd, std::string_view bytes, std::optional<mode_t> permissions) {
    const bool filled =
        writeAll(calls, fd, bytes) && (!permissions || calls.fchmod(fd, *permissions) == 0) && calls.fsync(fd) == 0;
    const bool closed = calls.close(fd) == 0;
    return filled && closed;
}

// Makes the rename itself last. Its failure is not reported: the file already holds the new
// content, and a power cut can only bring back the old content, whole.
void syncFolder(FileCalls& calls, const std::string& folder) {
    const int fd = calls.open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return;
    calls.fsync(fd);
    calls.close(fd);
}

} // namespace

bool writeAll(FileCalls& calls, int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = calls.write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool replaceFileContent(FileCalls& calls, const std::string& path, std::string_view bytes) {
    const std::optional<std::string> file = replacedFile(path);
    if (!file) return false;
    const Target target = inspect(calls, *file);
    if (!target.mayReplace) return false;

    const std::string temporary = *file + "." + std::to_string(::getpid()) + std::string(kTemporarySuffix);
    const int fd = createTemporary(calls, temporary);
    if (fd < 0) return false;
    if (!fillTemporary(calls, fd, bytes, target.permissions) || calls.rename(temporary, *file) != 0) {
        calls.unlink(temporary);
        return false;
    }
    syncFolder(calls, folderOf(*file));
    return true;
}

void removeTemporaryCopies(FileCalls& calls, const std::string& path) {
    const std::optional<std::string> file = replacedFile(path);
    if (!file) return;
    const std::string name = std::filesystem::path(*file).filename().string();
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folderOf(*file), ec), end; !ec && it != end; it.increment(ec)) {
        if (isTemporaryCopyOf(it->path().filename().string(), name)) calls.unlink(it->path().string());
    }
}

} // namespace vostrel::platform
