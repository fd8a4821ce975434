#include "platform/qt/freedesktop_services.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDesktopServices>
#include <QUrl>
#include <QVariantList>

namespace vostrel::platform::qt {

namespace {
// The replies are waited for on the UI thread, so a slow or missing service must not stall it long.
constexpr int kInhibitTimeoutMs = 2000;
constexpr int kTimedateTimeoutMs = 1000;

// A method of a system service called on the system bus, its reply waited for at most timeoutMs;
// an error reply without a system bus.
template <class Value>
QDBusReply<Value> callSystemService(const QString& service, const QString& interface, const QString& method,
                                    const QVariantList& arguments, int timeoutMs) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return QDBusReply<Value>(QDBusError(QDBusError::Disconnected, QString()));
    const QString path = QLatin1Char('/') + QString(service).replace(QLatin1Char('.'), QLatin1Char('/'));
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, timeoutMs);
}
} // namespace

void XdgShell::openWebPage(std::string_view address) {
    // The address comes percent-encoded (file:// URLs of local pages included), so it is taken
    // as encoded bytes: a folder name in Chinese reaches the handler as the same folder.
    const QUrl url = QUrl::fromEncoded(QByteArray(address.data(), static_cast<int>(address.size())), QUrl::StrictMode);
    if (!url.isValid() || url.isEmpty()) return;
    QDesktopServices::openUrl(url);
}

void LogindPower::keepAwake(bool awake) {
    if (awake == awake_) return;
    awake_ = awake;
    if (!awake) {
        inhibitor_ = QDBusUnixFileDescriptor(); // closes the descriptor: the inhibitor ends
        return;
    }
    const QDBusReply<QDBusUnixFileDescriptor> reply = callSystemService<QDBusUnixFileDescriptor>(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("Inhibit"),
        {QStringLiteral("sleep"), QStringLiteral("Vostrel"), QStringLiteral("正在按时播放考试语音提示"),
         QStringLiteral("block")},
        kInhibitTimeoutMs);
    // QDBusUnixFileDescriptor owns a duplicate of the descriptor and closes it when released.
    inhibitor_ = reply.isValid() ? reply.value() : QDBusUnixFileDescriptor();
}

std::optional<bool> TimedateClockSync::synchronised() {
    const QDBusReply<QDBusVariant> reply = callSystemService<QDBusVariant>(
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"), {QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("NTPSynchronized")},
        kTimedateTimeoutMs);
    if (!reply.isValid()) return std::nullopt;
    const QVariant value = reply.value().variant();
    if (value.userType() != QMetaType::Bool) return std::nullopt;
    return value.toBool();
}

} // namespace vostrel::platform::qt
