#include "platform/posix/posix_file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <fstream>
#include <string>

namespace vostrel::platform {
namespace {

std::string executableDirectory() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    std::string path(buffer, static_cast<std::size_t>(n));
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return ""; // the root: "" + "/name" still names the file
    return path.substr(0, slash);
}

} // namespace

PosixFileSystem::PosixFileSystem() : programDirectory_(executableDirectory()) {}

PosixFileSystem::PosixFileSystem(std::string programDirectory) : programDirectory_(std::move(programDirectory)) {
    while (programDirectory_.size() > 1 && programDirectory_.back() == '/') programDirectory_.pop_back();
}

bool PosixFileSystem::setCurrentDirectory(std::string_view directory) {
    return ::chdir(std::string(directory).c_str()) == 0;
}

bool PosixFileSystem::exists(std::string_view path) const {
    struct stat info {};
    return ::stat(std::string(path).c_str(), &info) == 0;
}

bool PosixFileSystem::deleteFile(std::string_view path) {
    const std::string p(path);
    struct stat info {};
    if (::lstat(p.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
    return ::unlink(p.c_str()) == 0;
}

std::optional<std::string> PosixFileSystem::readFile(std::string_view path, std::size_t maxBytes) const {
    std::ifstream in(std::string(path), std::ios::binary);
    struct stat info {};
    if (!in || ::stat(std::string(path).c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return std::nullopt;
    std::string bytes(maxBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(maxBytes));
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

} // namespace vostrel::platform
