// The logind sleep inhibitor against a stand-in logind on a private bus: the request it makes,
// that the inhibitor holds while the run wants the machine awake, and that it is released on
// keepAwake(false) and when the program ends. Run under dbus-run-session; the session bus of that
// run stands in for the system bus.
#include "platform/qt/logind_power.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace {

using vostrel::platform::qt::LogindPower;

// Answers Inhibit like logind: the caller gets the write end of a pipe; the inhibitor holds until
// every copy of that end is closed, which the read end kept here sees as a hang-up.
class FakeLogind final : public QDBusVirtualObject {
public:
    ~FakeLogind() override {
        for (int fd : readEnds_) ::close(fd);
    }
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("Inhibit")) return false;
        int ends[2];
        if (::pipe(ends) != 0) return false;
        {
            std::lock_guard lock(mutex_);
            calls_.push_back(message.arguments());
            readEnds_.push_back(ends[0]);
        }
        connection.send(message.createReply(QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]))));
        ::close(ends[1]); // the reply carries its own copy
        return true;
    }
    std::vector<QList<QVariant>> calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    // True once every holder of the last inhibitor has closed it.
    bool lastReleased() {
        std::lock_guard lock(mutex_);
        if (readEnds_.empty()) return false;
        pollfd fd{readEnds_.back(), POLLIN, 0};
        return ::poll(&fd, 1, 0) == 1 && (fd.revents & POLLHUP);
    }

private:
    std::mutex mutex_;
    std::vector<QList<QVariant>> calls_;
    std::vector<int> readEnds_;
};

// The stand-in serves from a thread of its own, as logind would from its process: the inhibitor's
// call blocks the test's thread until the answer comes.
class LogindPowerTest : public ::testing::Test {
protected:
    void SetUp() override {
        thread_.start();
        logind_.moveToThread(&thread_);
        service_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake-logind");
        ASSERT_TRUE(service_.isConnected());
        ASSERT_TRUE(service_.registerVirtualObject("/org/freedesktop/login1", &logind_));
        ASSERT_TRUE(service_.registerService("org.freedesktop.login1"));
    }
    void TearDown() override {
        service_.unregisterService("org.freedesktop.login1");
        service_.unregisterObject("/org/freedesktop/login1");
        QDBusConnection::disconnectFromBus("fake-logind");
        thread_.quit();
        thread_.wait();
    }
    // The release reaches the stand-in through the bus; the bound only keeps a broken build from
    // hanging.
    bool released() {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!logind_.lastReleased() && elapsed.elapsed() < 10000) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
        return logind_.lastReleased();
    }

    QThread thread_;
    FakeLogind logind_;
    QDBusConnection service_{QString()};
};

TEST_F(LogindPowerTest, KeepingAwakeTakesABlockingSleepInhibitor) {
    LogindPower power;
    power.keepAwake(true);
    ASSERT_EQ(logind_.calls().size(), 1u);
    const auto args = logind_.calls().front();
    ASSERT_EQ(args.size(), 4);
    EXPECT_EQ(args[0].toString(), "sleep");
    EXPECT_EQ(args[1].toString(), "Vostrel");
    EXPECT_FALSE(args[2].toString().isEmpty());
    EXPECT_EQ(args[3].toString(), "block");
    EXPECT_TRUE(power.holdsInhibitor());
    EXPECT_FALSE(logind_.lastReleased());
}

TEST_F(LogindPowerTest, RepeatingTheStateAsksNothingNew) {
    LogindPower power;
    power.keepAwake(true);
    power.keepAwake(true);
    EXPECT_EQ(logind_.calls().size(), 1u);
    power.keepAwake(false);
    power.keepAwake(false);
    EXPECT_EQ(logind_.calls().size(), 1u);
}

TEST_F(LogindPowerTest, PausingReleasesTheInhibitor) {
    LogindPower power;
    power.keepAwake(true);
    power.keepAwake(false);
    EXPECT_FALSE(power.holdsInhibitor());
    EXPECT_TRUE(released());
}

TEST_F(LogindPowerTest, EndingTheProgramReleasesTheInhibitor) {
    {
        LogindPower power;
        power.keepAwake(true);
    }
    EXPECT_TRUE(released());
}

TEST_F(LogindPowerTest, WithoutLogindNothingHappens) {
    service_.unregisterService("org.freedesktop.login1");
    LogindPower power;
    power.keepAwake(true);
    EXPECT_FALSE(power.holdsInhibitor());
    power.keepAwake(false);
}

} // namespace

int main(int argc, char** argv) {
    // The private session bus of dbus-run-session plays the system bus.
    if (const char* session = std::getenv("DBUS_SESSION_BUS_ADDRESS")) setenv("DBUS_SYSTEM_BUS_ADDRESS", session, 1);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
