// The services the Linux program asks over the system bus, against stand-ins on a private bus
// (the session bus of dbus-run-session, which the tests make the system bus):
// - logind's sleep inhibitor: the request it makes, that it holds while the run wants the machine
//   awake, and that it is released on keepAwake(false) and when the program ends;
// - timedated's word on the clock's time server: what it says, nothing when it is missing, says
//   something else than true or false, or answers too late; with --no-bus, against a system bus
//   address where no bus listens (a process of its own: Qt keeps the first system bus it finds).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <poll.h>
#include <unistd.h>
#include <vector>

#include "platform/qt/freedesktop_services.h"
#include "tests/desktop/stand_in_service.h"

namespace {

using namespace vostrel::platform::qt::testing;
using vostrel::platform::qt::LogindPower;
using vostrel::platform::qt::TimedateClockSync;

// ---- logind

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

// ---- timedated

// Answers Properties.Get like timedated, with the value the test sets; a late answer comes
// after the caller has long given up.
class FakeTimedate final : public StandInObject {
public:
    FakeTimedate() : StandInObject(QStringLiteral("Get")) {}
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

protected:
    bool respond(const QDBusMessage& message, const QDBusConnection& connection) override {
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

private:
    std::mutex mutex_;
    QVariant answer_;
    bool late_ = false;
    QString asked_;
};

class ClockSyncTest : public ::testing::Test {
protected:
    void SetUp() override { service_.start(); }
    void TearDown() override { service_.stop(); }

    FakeTimedate timedate_;
    StandInService service_{timedate_, "org.freedesktop.timedate1", "/org/freedesktop/timedate1"};
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
    service_.withdraw();
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
    } else if (!sessionBusAsSystemBus()) {
        return 2;
    }
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
