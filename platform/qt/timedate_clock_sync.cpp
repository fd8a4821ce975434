#include "platform/qt/timedate_clock_sync.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

namespace vostrel::platform::qt {

namespace {
constexpr int kAnswerTimeoutMs = 1000;
} // namespace

std::optional<bool> TimedateClockSync::synchronised() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return std::nullopt;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << QStringLiteral("org.freedesktop.timedate1") << QStringLiteral("NTPSynchronized");
    const QDBusReply<QDBusVariant> reply = bus.call(call, QDBus::Block, kAnswerTimeoutMs);
    if (!reply.isValid()) return std::nullopt;
    const QVariant value = reply.value().variant();
    if (value.userType() != QMetaType::Bool) return std::nullopt;
    return value.toBool();
}

} // namespace vostrel::platform::qt
