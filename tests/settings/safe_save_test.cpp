// A write of the private-profile store never damages the file: a failure at any step of the
// write leaves the old file byte for byte (and no temporary file), a read-only file is refused
// although its folder would allow a rename, and the file keeps its permissions and links.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/ini_profile_store.h"
#include "platform/text_codec.h"
#include "tests/settings/failing_file_calls.h"
#include "tests/platform/temp_folder.h"

namespace vostrel::settings_test {
namespace {

using platform_test::TempFolder;

namespace fs = std::filesystem;

constexpr fs::perms kOwnerReadWriteGroupRead = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
const std::string kOldFile = platform::utf8ToGbk("; 考试\r\n[时间设置]\r\n语文时间=09:00\r\n英语时间=15:30\r\n");

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SafeSaveTest : public ::testing::Test {
protected:
    bool save(platform::FileCalls& calls, std::string_view key, std::string_view value) {
        platform::IniProfileStore store(calls);
        return store.writeString("时间设置", key, value, path);
    }
    void givenOldFile() {
        TempFolder::writeBytes(path, kOldFile);
        fs::permissions(path, kOwnerReadWriteGroupRead);
    }

    TempFolder folder;
    std::string path = folder.file("vanto.ini");
};

// Every call of a successful write, failed in turn: up to the rename the write is refused and
// the old file stays; after it (flushing the folder) the new file is already whole.
TEST_F(SafeSaveTest, AFailureAtAnyStepLeavesTheOldFileOrTheWholeNewOne) {
    for (const bool fileExists : {true, false}) {
        SCOPED_TRACE(fileExists ? "replacing a file" : "creating the file");
        const auto given = [&] {
            fs::remove(path);
            if (fileExists) givenOldFile();
        };
        const std::vector<std::string> onlyTheFile{"vanto.ini"};

        given();
        FailingFileCalls probe;
        probe.writeAtMost = 8; // several writes, each of which can fail
        ASSERT_TRUE(save(probe, "文综/理综时间", "14:00"));
        const std::string newFile = TempFolder::readBytes(path);
        const auto renamed = std::find(probe.made.begin(), probe.made.end(), "rename");
        ASSERT_NE(renamed, probe.made.end());
        const std::size_t renameCall = static_cast<std::size_t>(renamed - probe.made.begin()) + 1;
        ASSERT_GT(std::count(probe.made.begin(), probe.made.end(), "write"), 3);

        for (std::size_t call = 1; call <= probe.made.size(); ++call) {
            SCOPED_TRACE("call " + std::to_string(call) + ": " + probe.made[call - 1] + " fails");
            given();
            FailingFileCalls calls;
            calls.writeAtMost = probe.writeAtMost;
            calls.failCall = call;
            const bool saved = save(calls, "文综/理综时间", "14:00");
            EXPECT_EQ(saved, call > renameCall);
            if (saved || fileExists) {
                EXPECT_EQ(namesIn(folder.path()), onlyTheFile);
                EXPECT_EQ(TempFolder::readBytes(path), saved ? newFile : kOldFile);
            } else {
                EXPECT_TRUE(namesIn(folder.path()).empty());
            }
            if (saved && fileExists) {
                EXPECT_EQ(fs::status(path).permissions(), kOwnerReadWriteGroupRead);
            }
        }
    }
}

TEST_F(SafeSaveTest, AnUnchangedValueIsNotWrittenAgainYetAReadOnlyFileIsStillRefused) {
    givenOldFile();
    FailingFileCalls calls;
    EXPECT_TRUE(save(calls, "英语时间", "15:30"));
    EXPECT_EQ(calls.made, std::vector<std::string>{"accessForWriting"}); // nothing written or flushed

    calls.failEvery = "accessForWriting";
    calls.error = EACCES;
    EXPECT_FALSE(save(calls, "英语时间", "15:30"));
    EXPECT_EQ(TempFolder::readBytes(path), kOldFile);
}

TEST_F(SafeSaveTest, ANewFileGetsTheUsualPermissionsAndAReplacedOneKeepsItsOwn) {
    platform::FileCalls& system = platform::systemFileCalls();
    ASSERT_TRUE(save(system, "语文时间", "08:00"));
    const std::string plain = folder.file("plain");
    TempFolder::writeBytes(plain, ""); // created like any file of the program
    EXPECT_EQ(fs::status(path).permissions(), fs::status(plain).permissions());

    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(save(system, "语文时间", "08:30"));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SafeSaveTest, ALinkKeepsPointingAtTheFileThatGetsTheContent) {
    const std::string target = folder.file("shared.ini");
    TempFolder::writeBytes(target, kOldFile);
    fs::create_symlink(target, path);
    ASSERT_TRUE(save(platform::systemFileCalls(), "英语时间", "16:00"));
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_NE(TempFolder::readBytes(target).find("=16:00\r\n"), std::string::npos);
    EXPECT_EQ((namesIn(folder.path())), (std::vector<std::string>{"shared.ini", "vanto.ini"}));
}

TEST_F(SafeSaveTest, ATemporaryFileLeftByAPowerCutIsReplacedAndGone) {
    givenOldFile();
    TempFolder::writeBytes(path + "." + std::to_string(::getpid()) + ".tmp", "half");
    ASSERT_TRUE(save(platform::systemFileCalls(), "英语时间", "16:00"));
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"vanto.ini"});
}

// Root may write any file, so the test writes as an ordinary user then.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() {
        if (::geteuid() != 0) return;
        constexpr uid_t kNobody = 65534;
        switched_ = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
        failed_ = !switched_;
    }
    ~AsOrdinaryUser() {
        if (switched_ && ::seteuid(0) == 0) switched_ = ::setegid(0) != 0;
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
    bool failed() const { return failed_; }

private:
    bool switched_ = false;
    bool failed_ = false;
};

TEST_F(SafeSaveTest, AReadOnlyFileIsRefusedThoughItsFolderAllowsARename) {
    fs::permissions(folder.path(), fs::perms::all); // the writer may create and rename files here
    givenOldFile();
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    {
        AsOrdinaryUser user;
        if (user.failed()) GTEST_SKIP() << "cannot switch from root to an ordinary user";
        EXPECT_FALSE(save(platform::systemFileCalls(), "英语时间", "16:00"));
    }
    EXPECT_EQ(TempFolder::readBytes(path), kOldFile);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"vanto.ini"});

    fs::permissions(path, fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec));
    AsOrdinaryUser user;
    EXPECT_TRUE(save(platform::systemFileCalls(), "英语时间", "16:00")); // the same, writable
}

// A save killed after any of its file calls (a power cut, the process ended from outside): the
// file holds the four old times or the four new ones, never a mix, and the next start removes the
// temporary file the killed save left behind.
TEST_F(SafeSaveTest, ASaveKilledAfterAnyFileCallLeavesTheOldFourOrTheNewFour) {
    const std::vector<std::string> keys{"语文时间", "文数/理数时间", "文综/理综时间", "英语时间"};
    const std::vector<std::string> oldTimes{"09:00", "15:00", "09:00", "15:30"},
        newTimes{"08:30", "14:30", "08:00", "16:00"};
    const auto times = [&] {
        platform::IniProfileStore store;
        std::vector<std::string> read;
        for (const std::string& key : keys) read.push_back(store.readString("时间设置", key, path, 10240));
        return read;
    };
    std::vector<platform::ProfileEntry> entries;
    for (std::size_t i = 0; i < keys.size(); ++i) entries.push_back({keys[i], newTimes[i]});
    bool wroteAll = false;
    for (std::size_t killedAfter = 0; !wroteAll; ++killedAfter) {
        SCOPED_TRACE("killed after " + std::to_string(killedAfter) + " calls");
        TempFolder::writeBytes(path, platform::utf8ToGbk("[时间设置]\r\n语文时间=09:00\r\n文数/理数时间=15:00\r\n"
                                                         "文综/理综时间=09:00\r\n英语时间=15:30\r\n"));
        FailingFileCalls calls;
        calls.killAfter = killedAfter;
        try {
            wroteAll = platform::IniProfileStore(calls).writeStrings("时间设置", entries, path);
        } catch (const ProcessKilled&) {
        }
        const std::vector<std::string> now = times();
        EXPECT_TRUE(now == oldTimes || now == newTimes) << testing::PrintToString(now);
        platform::IniProfileStore().removeLeftovers(path);
        EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"vanto.ini"});
        ASSERT_LT(killedAfter, 100u);
    }
}

} // namespace
} // namespace vostrel::settings_test
