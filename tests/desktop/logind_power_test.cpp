// The logind sleep inhibitor against a stand-in logind on a private bus: the request it makes,
// that the inhibitor holds while the run wants the machine awake, and that it is released on
// keepAwake(false) and when the program ends. Run under dbus-run-session; the session bus of that
// run stands in for the system bus.
#include "platform/qt/freedesktop_services.h"
#include "tests/desktop/stand_in_service.h"

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

using namespace vostrel::platform::qt::testing;
using vostrel::platform::qt::LogindPower;

// Answers Inhibit like logind: the caller gets the write end of a pipe; the inhibitor holds until
// every copy of that end is closed, which the read end kept here sees as a hang-up.
class FakeLogind final : public StandInObject {
public:
    FakeLogind() : StandInObject(QStringLiteral("Inhibit")) {}
    ~FakeLogind() override {
        for (int fd : readEnds_) ::close(fd);
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

protected:
    bool respond(const QDBusMessage& message, const QDBusConnection& connection) override {
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

private:
    std::mutex mutex_;
    std::vector<QList<QVariant>> calls_;
    std::vector<int> readEnds_;
};

// The inhibitor's call blocks the test's thread until the stand-in answers.
class LogindPowerTest : public ::testing::Test {
protected:
    void SetUp() override { service_.start(); }
    void TearDown() override { service_.stop(); }
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

    FakeLogind logind_;
    StandInService service_{logind_, "org.freedesktop.login1", "/org/freedesktop/login1"};
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
    service_.withdraw();
    LogindPower power;
    power.keepAwake(true);
    EXPECT_FALSE(power.holdsInhibitor());
    power.keepAwake(false);
}

} // namespace

int main(int argc, char** argv) {
    sessionBusAsSystemBus();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
