#include "platform/qt/qt_single_instance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <optional>

namespace vostrel::platform::qt {

namespace {
constexpr const char* kLockFile = "/vostrel.lock";
constexpr const char* kRequestSocket = "/vostrel.socket";
constexpr int kWaitingRequests = 8;

std::optional<sockaddr_un> socketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return std::nullopt;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

UniqueFd streamSocket() { return UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)); }
} // namespace

QtSingleInstance::~QtSingleInstance() {
    requests_.reset();
    if (!socketPath_.empty()) ::unlink(socketPath_.c_str()); // still ours: the lock is held until after this
}

bool QtSingleInstance::claim() {
    const std::optional<std::string> folder = userRuntimeFolder();
    if (!folder) return true;
    lock_ = std::make_unique<InstanceLock>(*folder + kLockFile);
    switch (lock_->take()) {
    case InstanceLock::Outcome::HeldElsewhere: return false;
    case InstanceLock::Outcome::Unavailable: return true;
    case InstanceLock::Outcome::Taken: break;
    }
    listen(*folder + kRequestSocket);
    return true;
}

void QtSingleInstance::listen(const std::string& socketPath) {
    const std::optional<sockaddr_un> address = socketAddress(socketPath);
    UniqueFd server = streamSocket();
    if (!address || !server.valid()) return;
    // A socket file left by a copy that was killed; only the lock's holder ever removes it.
    ::unlink(socketPath.c_str());
    if (::bind(server.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) return;
    socketPath_ = socketPath;
    if (::listen(server.get(), kWaitingRequests) != 0) return;
    server_ = std::move(server);
    requests_ = std::make_unique<QSocketNotifier>(server_.get(), QSocketNotifier::Read);
    QObject::connect(requests_.get(), &QSocketNotifier::activated, requests_.get(), [this] { takeRequests(); });
}

void QtSingleInstance::takeRequests() {
    // The connection is the request: nothing is read, so a later copy never waits on this one.
    bool asked = false;
    while (true) {
        const UniqueFd request(::accept4(server_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!request.valid()) break;
        asked = true;
    }
    if (asked) bringToFront_();
}

void QtSingleInstance::activateFirstCopy() {
    const std::optional<std::string> folder = userRuntimeFolder();
    if (!folder) return;
    const std::optional<sockaddr_un> address = socketAddress(*folder + kRequestSocket);
    const UniqueFd client = streamSocket();
    if (!address || !client.valid()) return;
    // Non-blocking: a first copy whose queue is full is not waited for.
    (void)::connect(client.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address);
}

} // namespace vostrel::platform::qt
