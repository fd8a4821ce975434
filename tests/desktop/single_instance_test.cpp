// One copy per session on Linux: the claim against a second copy in another process and in this
// one, its end with a copy that is killed, a later copy's requests reaching the first without
// ever waiting on it, and the private folder in /tmp when the session has no runtime folder.
// The program runs itself as the other copy:
//   desktop_single_instance_tests --hold-claim    claims, says "taken" or "refused", and holds
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/qt/instance_lock.h"
#include "platform/qt/qt_single_instance.h"

namespace {

using vostrel::platform::qt::QtSingleInstance;
using vostrel::platform::qt::userRuntimeFolder;

constexpr const char* kHoldClaim = "--hold-claim";

// Another copy of the program in a process of its own.
class OtherCopy {
public:
    OtherCopy() {
        process_.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kHoldClaim)});
        process_.waitForReadyRead(10000); // the bound only keeps a broken build from hanging
        answer_ = QString::fromLatin1(process_.readLine()).trimmed();
    }
    ~OtherCopy() { kill(); }
    bool claimed() const { return answer_ == QLatin1String("taken"); }
    bool refused() const { return answer_ == QLatin1String("refused"); }
    // SIGKILL: the copy ends without any clean-up of its own.
    void kill() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished(10000);
    }

private:
    QProcess process_;
    QString answer_;
};

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runtime_.isValid());
        setenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit().constData(), 1);
    }
    void TearDown() override { unsetenv("XDG_RUNTIME_DIR"); }
    // Processes events until the condition holds; the bound only keeps a broken build from hanging.
    template <class Condition>
    static bool processUntil(Condition condition) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!condition() && elapsed.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        return condition();
    }

    QTemporaryDir runtime_;
};

TEST_F(SingleInstance, TheFirstClaimHoldsAgainstEveryLaterCopy) {
    int broughtToFront = 0;
    QtSingleInstance first([&] { ++broughtToFront; });
    ASSERT_TRUE(first.claim());
    OtherCopy other;
    EXPECT_TRUE(other.refused());
    QtSingleInstance sameProcess([] {});
    EXPECT_FALSE(sameProcess.claim());
    EXPECT_EQ(broughtToFront, 0); // a claim alone asks for nothing
}

TEST_F(SingleInstance, AClaimEndsWithItsCopyEvenWhenItIsKilled) {
    OtherCopy other;
    ASSERT_TRUE(other.claimed());
    EXPECT_FALSE(QtSingleInstance([] {}).claim());
    other.kill();
    int broughtToFront = 0;
    QtSingleInstance next([&] { ++broughtToFront; });
    ASSERT_TRUE(next.claim());
    // The killed copy's socket is left behind; the new first copy hears requests all the same.
    QtSingleInstance([] {}).activateFirstCopy();
    EXPECT_TRUE(processUntil([&] { return broughtToFront == 1; }));
}

TEST_F(SingleInstance, LaterCopiesNeverWaitOnTheFirst) {
    int broughtToFront = 0;
    QtSingleInstance first([&] { ++broughtToFront; });
    ASSERT_TRUE(first.claim());
    // The first copy takes no requests meanwhile (a busy or hung UI thread): far more requests
    // than it queues must each return at once.
    QtSingleInstance later([] {});
    for (int i = 0; i < 50; ++i) later.activateFirstCopy();
    EXPECT_EQ(broughtToFront, 0);
    EXPECT_TRUE(processUntil([&] { return broughtToFront > 0; }));
    // Requests waiting together bring the window to the front once; a later one does so again.
    QCoreApplication::processEvents();
    EXPECT_EQ(broughtToFront, 1);
    later.activateFirstCopy();
    EXPECT_TRUE(processUntil([&] { return broughtToFront == 2; }));
}

TEST_F(SingleInstance, ARequestWithoutAFirstCopyIsLost) {
    QtSingleInstance([] {}).activateFirstCopy(); // returns, reports nothing
    QtSingleInstance first([] {});
    EXPECT_TRUE(first.claim());
}

TEST_F(SingleInstance, WithoutARuntimeFolderTheClaimLivesInAFolderOfTheUsersOwnInTmp) {
    unsetenv("XDG_RUNTIME_DIR");
    const auto folder = userRuntimeFolder();
    ASSERT_TRUE(folder.has_value());
    struct stat info {};
    ASSERT_EQ(::lstat(folder->c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_uid, ::getuid());
    EXPECT_EQ(info.st_mode & 077, 0u) << "nobody else may enter it";
    EXPECT_EQ(folder->rfind("/tmp/", 0), 0u);
    {
        QtSingleInstance first([] {});
        ASSERT_TRUE(first.claim());
        OtherCopy other;
        EXPECT_TRUE(other.refused());
    }
    // A folder others may enter is not trusted: the program then starts unguarded rather than
    // not at all. The folder is the user's real one: it is made private again whatever happens.
    ASSERT_EQ(::chmod(folder->c_str(), 0755), 0);
    const std::unique_ptr<const std::string, void (*)(const std::string*)> makePrivateAgain(
        &*folder, [](const std::string* path) { ::chmod(path->c_str(), 0700); });
    EXPECT_FALSE(userRuntimeFolder().has_value());
    QtSingleInstance first([] {});
    QtSingleInstance second([] {});
    EXPECT_TRUE(first.claim());
    EXPECT_TRUE(second.claim());
}

// The other copy: claims, tells the test, and holds the claim until it is killed.
int holdClaim(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QtSingleInstance instance([] {});
    const bool taken = instance.claim();
    std::fputs(taken ? "taken\n" : "refused\n", stdout);
    std::fflush(stdout);
    return taken ? QCoreApplication::exec() : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], kHoldClaim) == 0) return holdClaim(argc, argv);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
