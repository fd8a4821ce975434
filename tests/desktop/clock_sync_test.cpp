// The clock's time-server state from a stand-in timedated on a private bus: what it says, nothing
// when it is missing, says something else than true or false, or answers too late. Run under
// dbus-run-session, whose session bus stands in for the system bus; with --no-bus, against a
// system bus address where no bus listens.
#include "platform/qt/timedate_clock_sync.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

using vostrel::platform::qt::TimedateClockSync;

// Answers Properties.Get like timedated, with the value the test sets; a late answer comes
// after the caller has long given up.
class FakeTimedate final : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("Get")) return false;
        QVariant answer;
        bool late = false;
        {
            std::lock_guard lock(mutex_);
            asked_ = message.interface() + QLatin1Char(' ') + message.arguments().value(0).toString() +
                     QLatin1Char(' ') + message.arguments().value(1).toString();
            answer = answer_;
            late = late_;
        }
        const QDBusMessage reply = message.createReply(QVariant::fromValue(QDBusVariant(answer)));
        if (!late) return connection.send(reply);
        QTimer::singleShot(kLateMs, this, [connection, reply] { QDBusConnection(connection).send(reply); });
        return true;
    }
    void answer(QVariant value, bool late = false) {
        std::lock_guard lock(mutex_);
        answer_ = std::move(value);
        late_ = late;
    }
    QString asked() {
        std::lock_guard lock(mutex_);
        return asked_;
    }
    static constexpr int kLateMs = 3000; // well beyond the second the question may take

private:
    std::mutex mutex_;
    QVariant answer_;
    bool late_ = false;
    QString asked_;
};

// The stand-in serves from a thread of its own, as timedated would from its process.
class ClockSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        thread_.start();
        timedate_.moveToThread(&thread_);
        service_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake-timedate");
        ASSERT_TRUE(service_.isConnected());
        ASSERT_TRUE(service_.registerVirtualObject("/org/freedesktop/timedate1", &timedate_));
        ASSERT_TRUE(service_.registerService("org.freedesktop.timedate1"));
    }
    void TearDown() override {
        service_.unregisterService("org.freedesktop.timedate1");
        service_.unregisterObject("/org/freedesktop/timedate1");
        QDBusConnection::disconnectFromBus("fake-timedate");
        thread_.quit();
        thread_.wait();
    }

    QThread thread_;
    FakeTimedate timedate_;
    QDBusConnection service_{QString()};
};

TEST_F(ClockSyncTest, TheAnswerIsWhatTimedatedSaysOfTheTimeServer) {
    TimedateClockSync sync;
    timedate_.answer(true);
    EXPECT_EQ(sync.synchronised(), true);
    EXPECT_EQ(timedate_.asked(), "org.freedesktop.DBus.Properties org.freedesktop.timedate1 NTPSynchronized");
    timedate_.answer(false);
    EXPECT_EQ(sync.synchronised(), false);
}

TEST_F(ClockSyncTest, AnAnswerThatIsNoYesOrNoSaysNothing) {
    timedate_.answer(QStringLiteral("yes"));
    EXPECT_EQ(TimedateClockSync().synchronised(), std::nullopt);
}

TEST_F(ClockSyncTest, WithoutTimedatedNothingIsSaid) {
    service_.unregisterService("org.freedesktop.timedate1");
    EXPECT_EQ(TimedateClockSync().synchronised(), std::nullopt);
}

TEST_F(ClockSyncTest, ALateAnswerIsNotWaitedFor) {
    timedate_.answer(true, true);
    EXPECT_EQ(TimedateClockSync().synchronised(), std::nullopt);
}

TEST(ClockSyncWithoutABus, WithoutASystemBusNothingIsSaid) {
    EXPECT_EQ(TimedateClockSync().synchronised(), std::nullopt);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--no-bus") == 0) {
        setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/vostrel-no-bus", 1);
        ::testing::GTEST_FLAG(filter) = "ClockSyncWithoutABus.*";
    } else {
        // The private session bus of dbus-run-session plays the system bus.
        const char* session = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        if (!session) return 2;
        setenv("DBUS_SYSTEM_BUS_ADDRESS", session, 1);
        ::testing::GTEST_FLAG(filter) = "ClockSyncTest.*";
    }
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
