#pragma once
// One copy per user session on Linux: the copy that takes the instance lock (see
// instance_lock.h) listens on a Unix socket beside it, in the user's runtime folder, and brings
// its main window to the front for every connection a later copy makes. The later copy only
// connects, without blocking, and leaves: a first copy that hangs cannot hold it up.
// When the runtime folder or the lock cannot be had at all, claim() says yes: one copy too many
// is better than a program that does not start.
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>

#include "platform/qt/instance_lock.h"
#include "platform/qt/unique_fd.h"
#include "platform/single_instance.h"

namespace vostrel::platform::qt {

class QtSingleInstance final : public SingleInstance {
public:
    // bringToFront: what a later copy's request does in this copy.
    explicit QtSingleInstance(std::function<void()> bringToFront) : bringToFront_(std::move(bringToFront)) {}
    ~QtSingleInstance() override;
    QtSingleInstance(const QtSingleInstance&) = delete;
    QtSingleInstance& operator=(const QtSingleInstance&) = delete;

    bool claim() override;
    void activateFirstCopy() override;

private:
    void listen(const std::string& socketPath);
    void takeRequests();

    std::function<void()> bringToFront_;
    std::unique_ptr<InstanceLock> lock_;
    std::string socketPath_; // set while this copy listens
    UniqueFd server_;
    std::unique_ptr<QSocketNotifier> requests_;
};

} // namespace vostrel::platform::qt
