// A save whose write fails, played on the simulated platform: the operator is told, and the
// settings file stays exactly as it was, so the next start loads the times saved before. Once
// the fault is gone the next save goes through. The disk is made to fail by an injected fault
// and, when the test may mount file systems (as root, as on CI), by a really full disk.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/posix/ini_profile_store.h"
#include "platform/text_codec.h"
#include "tests/settings/failing_file_calls.h"
#include "tests/settings/settings_scenario.h"

namespace vostrel::settings_test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTimeBoxes[] = {"语文时间", "数学时间", "综合时间", "英语时间"};
const std::string kSavedBefore = platform::utf8ToGbk(
    "[时间设置]\r\n语文时间=09:00\r\n文数/理数时间=15:00\r\n文综/理综时间=09:00\r\n英语时间=15:30\r\n");

// A tmpfs of the given size mounted over a folder for the life of the object.
class SmallDisk {
public:
    SmallDisk(const fs::path& folder, std::size_t bytes) : folder_(folder) {
        const std::string options = "size=" + std::to_string(bytes);
        mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
        if (!mounted_) error_ = std::strerror(errno);
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& error() const { return error_; }

private:
    fs::path folder_;
    bool mounted_ = false;
    std::string error_;
};

// Writes a file until the disk has no room left.
void fillDisk(const fs::path& file) {
    std::ofstream out(file, std::ios::binary);
    const std::string block(4096, 'x');
    while (out.write(block.data(), static_cast<std::streamsize>(block.size())).flush()) {
    }
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SaveFailureScenarioTest : public ::testing::Test, protected SettingsScenario {
protected:
    void givenSavedFile() {
        addFirstVoiceFile();
        TempFolder::writeBytes(settingsFile(), kSavedBefore);
    }
    // Types new times for all four subjects and saves.
    SettingsRun& saveNewTimes() {
        SettingsRun& run = startProgram();
        for (const char* box : kTimeBoxes) run.sim().clearAndType(box, "10:45");
        run.sim().click("按钮1");
        return run;
    }
    void expectRefusedAndUnchanged(SettingsRun& run, const std::vector<std::string>& folderNames) {
        ASSERT_FALSE(run.sim().messageLog().empty());
        EXPECT_EQ(run.sim().messageLog().back().text, "保存失败：无法写入设置文件 vanto.ini");
        EXPECT_EQ(run.text("按钮1"), "保存设置");
        EXPECT_EQ(TempFolder::readBytes(settingsFile()), kSavedBefore);
        EXPECT_EQ(namesIn(folder()), folderNames);
    }
    void expectSavedAfterRestart() {
        SettingsRun& next = startProgram();
        for (const char* box : kTimeBoxes) EXPECT_EQ(next.text(box), "10:45") << box;
    }
};

TEST_F(SaveFailureScenarioTest, AFileThatCannotBeFlushedToDiskIsReportedAndStaysAsItWas) {
    FailingFileCalls disk;
    disk.failEvery = "fsync";
    platform::IniProfileStore store(disk);
    useProfileStore(store);
    givenSavedFile();

    expectRefusedAndUnchanged(saveNewTimes(), {"Vostrel", "vanto.ini"});

    disk.failEvery.clear();
    EXPECT_TRUE(saveNewTimes().sim().messageLog().empty());
    expectSavedAfterRestart();
}

TEST_F(SaveFailureScenarioTest, OnAFullDiskTheSaveIsReportedAndTheFileStaysAsItWas) {
    if (::geteuid() != 0) GTEST_SKIP() << "skipped: mounting a small tmpfs as a full disk needs root";
    SmallDisk disk(folder(), 64 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "skipped: cannot mount a tmpfs here: " << disk.error();
    givenSavedFile();
    const fs::path filler = folder() / "filler";
    fillDisk(filler);

    expectRefusedAndUnchanged(saveNewTimes(), {"Vostrel", "filler", "vanto.ini"});

    fs::remove(filler);
    EXPECT_TRUE(saveNewTimes().sim().messageLog().empty());
    expectSavedAfterRestart();
}

} // namespace
} // namespace vostrel::settings_test
