#pragma once
// A stand-in for a system service (logind, timedated) on the private bus of dbus-run-session,
// whose session bus the tests make the system bus: the object answers under the service's name
// from a thread of its own, as the real service would from its process, so a blocking call of the
// code under test gets its answer.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QString>
#include <QThread>
#include <cstdlib>

namespace vostrel::platform::qt::testing {

// The object a stand-in serves: it answers calls of its one method and leaves the rest unhandled.
class StandInObject : public QDBusVirtualObject {
public:
    explicit StandInObject(QString method) : method_(std::move(method)) {}
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        return message.member() == method_ && respond(message, connection);
    }

protected:
    // On the stand-in's own thread; false when no answer could be sent.
    virtual bool respond(const QDBusMessage& call, const QDBusConnection& connection) = 0;

private:
    QString method_;
};

class StandInService {
public:
    // service: the bus name; path: the object's path.
    StandInService(StandInObject& object, QString service, QString path)
        : object_(object), service_(std::move(service)), path_(std::move(path)) {}

    // In a fixture's SetUp: the object served; a failure stops the test.
    void start() {
        thread_.start();
        object_.moveToThread(&thread_);
        connection_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName());
        ASSERT_TRUE(connection_.isConnected());
        ASSERT_TRUE(connection_.registerVirtualObject(path_, &object_));
        ASSERT_TRUE(connection_.registerService(service_));
    }
    // In TearDown.
    void stop() {
        withdraw();
        connection_.unregisterObject(path_);
        QDBusConnection::disconnectFromBus(connectionName());
        thread_.quit();
        thread_.wait();
    }
    // The service leaves the bus, as when it is not installed.
    void withdraw() { connection_.unregisterService(service_); }

private:
    QString connectionName() const { return QStringLiteral("stand-in ") + service_; }

    StandInObject& object_;
    QString service_;
    QString path_;
    QThread thread_;
    QDBusConnection connection_{QString()};
};

// In main(): the private session bus of dbus-run-session plays the system bus. False outside
// dbus-run-session.
inline bool sessionBusAsSystemBus() {
    const char* session = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (!session) return false;
    setenv("DBUS_SYSTEM_BUS_ADDRESS", session, 1);
    return true;
}

} // namespace vostrel::platform::qt::testing
