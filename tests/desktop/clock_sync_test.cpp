// The clock's time-server state from a stand-in timedated on a private bus: what it says, nothing
// when it is missing, says something else than true or false, or answers too late. Run under
// dbus-run-session, whose session bus stands in for the system bus; with --no-bus, against a
// system bus address where no bus listens.
#include "platform/qt/freedesktop_services.h"
#include "tests/desktop/stand_in_service.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

using namespace vostrel::platform::qt::testing;
using vostrel::platform::qt::TimedateClockSync;

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
    } else {
        if (!sessionBusAsSystemBus()) return 2;
        ::testing::GTEST_FLAG(filter) = "ClockSyncTest.*";
    }
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
