#include "platform/qt/logind_power.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

namespace vostrel::platform::qt {

namespace {
// The reply is waited for on the UI thread, so a slow or missing logind must not stall it long.
constexpr int kCallTimeoutMs = 2000;

QDBusUnixFileDescriptor takeSleepInhibitor() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return {};
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("Vostrel") << QStringLiteral("正在按时播放考试语音提示")
         << QStringLiteral("block");
    const QDBusReply<QDBusUnixFileDescriptor> reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (!reply.isValid()) return {};
    return reply.value();
}
} // namespace

LogindPower::~LogindPower() { inhibitor_ = QDBusUnixFileDescriptor(); }

void LogindPower::keepAwake(bool awake) {
    if (awake == awake_) return;
    awake_ = awake;
    // QDBusUnixFileDescriptor owns a duplicate of the descriptor and closes it when released.
    inhibitor_ = awake ? takeSleepInhibitor() : QDBusUnixFileDescriptor();
}

} // namespace vostrel::platform::qt
