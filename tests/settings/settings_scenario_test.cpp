// The settings behaviours played on the simulated platform: start-up with and without voice
// files and settings file, saves accepted and refused, the three seconds of "保存成功", a
// failed write, and auto-repair, each followed through restarts where it matters.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "schedule/subjects.h"
#include "tests/settings/settings_scenario.h"

namespace vostrel::settings_test {
namespace {

using platform::sim::MessageRecord;
using schedule::SubjectTimes;

constexpr const char* kTimeBoxes[] = {"语文时间", "数学时间", "综合时间", "英语时间"};
constexpr const char* kEndLabels[] = {"语文结束", "数学结束", "综合结束", "英语结束"};
constexpr const char* kInitialEnd = "保存自动获取结束时间";
constexpr const char* kFirstRun = "您是第一次使用，请先编辑好时间";

std::vector<std::string> boxTexts(SettingsRun& run) {
    std::vector<std::string> texts;
    for (const char* box : kTimeBoxes) texts.push_back(run.text(box));
    return texts;
}

std::vector<std::string> labelTexts(SettingsRun& run) {
    std::vector<std::string> texts;
    for (const char* label : kEndLabels) texts.push_back(run.text(label));
    return texts;
}

std::vector<std::string> messageTexts(SettingsRun& run) {
    std::vector<std::string> texts;
    for (const MessageRecord& m : run.sim().messageLog()) texts.push_back(m.text);
    return texts;
}

using Fields = std::vector<std::string>;

// startHour, startMinute, endHour, endMinute
Fields fields(const SubjectTimes& t) { return {t.startHour, t.startMinute, t.endHour, t.endMinute}; }
const Fields kEmptyTimes{"", "", "", ""};

class SettingsScenarioTest : public ::testing::Test, protected SettingsScenario {
protected:
    SettingsRun& startWithVoice() {
        addFirstVoiceFile();
        return startProgram();
    }
    void writeSettingsFileUtf8(std::string_view text) {
        TempFolder::writeBytes(settingsFile(), platform::utf8ToGbk(text));
    }
    std::string settingsFileUtf8() const { return platform::gbkToUtf8(TempFolder::readBytes(settingsFile())); }
};

// ---- start-up -----------------------------------------------------------------------------

TEST_F(SettingsScenarioTest, FirstRunShowsTheMessageAndKeepsTheInitialTexts) {
    SettingsRun& run = startWithVoice();
    ASSERT_EQ(run.sim().messageLog().size(), 1u);
    EXPECT_EQ(run.sim().messageLog()[0].text, kFirstRun);
    EXPECT_EQ(run.sim().messageLog()[0].flags, 0);
    EXPECT_EQ(run.sim().messageLog()[0].title, "Vostrel软件");
    EXPECT_EQ(boxTexts(run), (std::vector<std::string>{"09:00", "15:00", "09:00", "15:00"}));
    EXPECT_TRUE(run.sim().windowShown());
    EXPECT_FALSE(std::filesystem::exists(settingsFile())); // nothing is created before a save
}

TEST_F(SettingsScenarioTest, MissingVoiceFileSendsToTheHelpPageAndEndsTheProgram) {
    writeSettingsFileUtf8("[时间设置]\r\n语文时间=08:30\r\n");
    SettingsRun& run = startProgram();
    ASSERT_EQ(run.sim().messageLog().size(), 1u);
    const MessageRecord& message = run.sim().messageLog()[0];
    EXPECT_EQ(message.text, "子目录下没有语音文件，因此不能继续操作，请到网站上下载");
    EXPECT_EQ(message.flags, 16);
    EXPECT_EQ(message.title, "Vostrel软件");
    ASSERT_EQ(run.sim().shellOpens().size(), 1u);
    EXPECT_EQ(run.sim().shellOpens()[0], settings::downloadPageAddress(run.sim().files()));
    EXPECT_FALSE(run.sim().windowExists());
    EXPECT_FALSE(run.sim().windowShown());
    EXPECT_EQ(run.text("语文时间"), "09:00"); // the settings file was not read
}

TEST_F(SettingsScenarioTest, OpensThePageOnlyAfterTheMessageWasClosed) {
    std::size_t opensWhileBoxOpen = 99;
    bool windowAliveWhileBoxOpen = false;
    SettingsRun& run = startProgram([&](const MessageRecord&, platform::sim::SimPlatform& sim) {
        opensWhileBoxOpen = sim.shellOpens().size();
        windowAliveWhileBoxOpen = sim.windowExists();
    });
    EXPECT_EQ(opensWhileBoxOpen, 0u);
    EXPECT_TRUE(windowAliveWhileBoxOpen);
    EXPECT_EQ(run.sim().shellOpens().size(), 1u);
    run.sim().loop().run();
    EXPECT_FALSE(run.sim().runBudgetExhausted());
}

TEST_F(SettingsScenarioTest, AFolderNamedLikeTheVoiceFileCountsAsPresent) {
    std::filesystem::create_directories(folder() / "Vostrel" / "1speak.mp3");
    SettingsRun& run = startProgram();
    EXPECT_EQ(messageTexts(run), std::vector<std::string>{kFirstRun});
    EXPECT_TRUE(run.sim().windowExists());
}

TEST_F(SettingsScenarioTest, ASettingsFileInGbkLoadsIntoTheBoxesAsWritten) {
    std::filesystem::copy_file(VOSTREL_SETTINGS_FIXTURES "/vanto_gbk.ini", settingsFile());
    SettingsRun& run = startWithVoice();
    EXPECT_TRUE(run.sim().messageLog().empty());
    EXPECT_EQ(boxTexts(run), (std::vector<std::string>{"08:30", "14:00", "ab:cd", "15：10"}));
    EXPECT_EQ(labelTexts(run), std::vector<std::string>(4, kInitialEnd));
    EXPECT_EQ(fields(run.times()[0]), kEmptyTimes); // loading fills the boxes only
}

TEST_F(SettingsScenarioTest, AFileWithOnlyOneKeyEmptiesTheOtherBoxes) {
    writeSettingsFileUtf8("[时间设置]\r\n英语时间=14:30\r\n");
    SettingsRun& run = startWithVoice();
    EXPECT_TRUE(run.sim().messageLog().empty());
    EXPECT_EQ(boxTexts(run), (std::vector<std::string>{"", "", "", "14:30"}));
}

TEST_F(SettingsScenarioTest, AFolderNamedVantoIniCountsAsAFileThatHoldsNothing) {
    std::filesystem::create_directory(settingsFile());
    SettingsRun& run = startWithVoice();
    EXPECT_TRUE(run.sim().messageLog().empty());
    EXPECT_EQ(boxTexts(run), std::vector<std::string>(4, ""));
}

TEST_F(SettingsScenarioTest, AValueLongerThanTheReadBufferIsCut) {
    writeSettingsFileUtf8("[时间设置]\r\n语文时间=" + std::string(12000, '1') + "\r\n");
    SettingsRun& run = startWithVoice();
    EXPECT_EQ(run.text("语文时间"), std::string(10239, '1'));
}

// ---- saving -------------------------------------------------------------------------------

TEST_F(SettingsScenarioTest, SavingTheInitialTextsDerivesEndsAndWritesTheFile) {
    SettingsRun& run = startWithVoice();
    ASSERT_TRUE(run.sim().click("按钮1"));
    EXPECT_EQ(labelTexts(run),
              (std::vector<std::string>{"结束时间为11:30", "结束时间为17:00", "结束时间为11:30", "结束时间为17:00"}));
    EXPECT_EQ(fields(run.times()[0]), (Fields{"09", "00", "11", "30"}));
    EXPECT_EQ(fields(run.times()[1]), (Fields{"15", "00", "17", "00"}));
    EXPECT_EQ(fields(run.times()[3]), (Fields{"15", "00", "17", "00"}));
    EXPECT_EQ(settingsFileUtf8(),
              "[时间设置]\r\n语文时间=09:00\r\n文数/理数时间=15:00\r\n文综/理综时间=09:00\r\n英语时间=15:00\r\n");
    EXPECT_EQ(run.text("按钮1"), "保存设置");
    EXPECT_EQ(messageTexts(run), std::vector<std::string>{kFirstRun}); // no message for a save
}

TEST_F(SettingsScenarioTest, SaveShowsItsSuccessForThreeSecondsWhileTheWindowStaysAlive) {
    SettingsRun& run = startWithVoice();
    std::vector<std::pair<std::uint64_t, std::string>> seen;
    run.onProbe = [&] { seen.emplace_back(run.sim().nowMs(), run.text("按钮1")); };
    run.controls().setInterval(kProbeTimer, 1000);
    const std::uint64_t clickedAt = run.sim().nowMs();
    ASSERT_TRUE(run.sim().click("按钮1"));
    EXPECT_EQ(run.sim().nowMs() - clickedAt, 3001u); // returns just past its three seconds
    ASSERT_EQ(seen.size(), 3u);                      // ticks kept coming inside the wait
    for (const auto& [at, caption] : seen) EXPECT_EQ(caption, "保存成功") << at;
    EXPECT_EQ(run.text("按钮1"), "保存设置");
}

TEST_F(SettingsScenarioTest, ASaveClickedDuringTheSuccessCaptionRunsCompletely) {
    SettingsRun& run = startWithVoice();
    run.onProbe = [&] {
        run.controls().setInterval(kProbeTimer, 0);
        run.controls().setText("语文时间", "08:45");
        EXPECT_TRUE(run.sim().click("按钮1")); // nested: runs its own save and wait
        EXPECT_EQ(run.text("按钮1"), "保存设置");
        EXPECT_EQ(run.text("语文结束"), "结束时间为11:15");
    };
    run.controls().setInterval(kProbeTimer, 1000);
    const std::uint64_t clickedAt = run.sim().nowMs();
    ASSERT_TRUE(run.sim().click("按钮1"));
    EXPECT_EQ(run.sim().nowMs() - clickedAt, 4001u); // the inner wait ran to its own end
    EXPECT_EQ(fields(run.times()[0]), (Fields{"08", "45", "11", "15"}));
    EXPECT_NE(settingsFileUtf8().find("语文时间=08:45"), std::string::npos);
    EXPECT_EQ(run.text("按钮1"), "保存设置");
}

struct RefusedSave {
    const char* box;
    const char* typed;
    const char* message;
};

class RefusedSaveTest : public SettingsScenarioTest, public ::testing::WithParamInterface<RefusedSave> {};

const schedule::SubjectControls& rowOfBox(std::string_view box) {
    for (const schedule::SubjectControls& row : schedule::kSubjectControls)
        if (row.timeBox == box) return row;
    throw std::invalid_argument("no row has the box");
}

TEST_P(RefusedSaveTest, ReportsTheSubjectAndChangesNothing) {
    SettingsRun& run = startWithVoice();
    ASSERT_TRUE(run.sim().click("按钮1")); // a first accepted save sets times and file
    const schedule::SubjectTimesTable before = run.times();
    const std::string fileBefore = settingsFileUtf8();
    const std::uint64_t messagesBefore = run.sim().messageLog().size();

    ASSERT_TRUE(run.sim().clearAndType(GetParam().box, GetParam().typed));
    run.sim().tick(rowOfBox(GetParam().box).checkBox); // the row is held today; the focus leaves the box
    ASSERT_TRUE(run.sim().click("按钮1"));

    ASSERT_EQ(run.sim().messageLog().size(), messagesBefore + 1);
    const MessageRecord& message = run.sim().messageLog().back();
    EXPECT_EQ(message.text, GetParam().message);
    EXPECT_EQ(message.flags, 0);
    EXPECT_EQ(message.title, "Vostrel软件");
    EXPECT_EQ(run.controls().focusedControl(), GetParam().box);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(fields(run.times()[i]), fields(before[i])) << i;
    EXPECT_EQ(settingsFileUtf8(), fileBefore);
    EXPECT_EQ(run.text("按钮1"), "保存设置");
}

INSTANTIATE_TEST_SUITE_P(RangeAndShape, RefusedSaveTest,
                         ::testing::Values(RefusedSave{"语文时间", "24:00", "语文时间设置有错误"},
                                           RefusedSave{"英语时间", "12:60", "英语时间设置有错误"},
                                           RefusedSave{"数学时间", "", "文数/理数时间设置有错误"},
                                           RefusedSave{"综合时间", "930", "文综/理综时间设置有错误"},
                                           RefusedSave{"语文时间", "9:", "语文时间设置有错误"},
                                           RefusedSave{"英语时间", ":", "英语时间设置有错误"},
                                           RefusedSave{"数学时间", "9：30", "文数/理数时间设置有错误"}));

// A file that lacks a key (or holds a bad text) for a row not held today: the empty box never
// blocks a save; a bad text is named with the row's subject, and the row is shown so that the
// focus lands in a box the operator sees.
TEST_F(SettingsScenarioTest, AnUntickedRowNeverBlocksUnseen) {
    writeSettingsFileUtf8("[时间设置]\r\n语文时间=08:30\r\n英语时间=25:00\r\n");
    SettingsRun& run = startWithVoice();
    ASSERT_TRUE(run.sim().tick("语文"));
    run.controls().setText("英语时间", "14:00"); // only the empty boxes are left
    EXPECT_TRUE(run.sim().click("按钮1"));
    EXPECT_TRUE(messageTexts(run).empty()) << "empty boxes of unticked rows do not block";
    EXPECT_EQ(fields(run.times()[0]), (Fields{"08", "30", "11", "00"}));
    EXPECT_EQ(fields(run.times()[1]), kEmptyTimes) << "no exam in an unticked row left empty";

    run.controls().setText("英语时间", "25:00");
    run.sim().advance(3001);
    EXPECT_TRUE(run.sim().click("按钮1"));
    EXPECT_EQ(messageTexts(run), (std::vector<std::string>{"英语时间设置有错误"}));
    EXPECT_TRUE(run.controls().visible("英语时间"));
    EXPECT_EQ(run.controls().focusedControl(), "英语时间");
    EXPECT_TRUE(run.rows().shownForCorrection[3]);

    ASSERT_TRUE(run.sim().clearAndType("英语时间", "14:00"));
    EXPECT_TRUE(run.sim().click("按钮1"));
    EXPECT_FALSE(run.rows().shownForCorrection[3]);
    EXPECT_EQ(fields(run.times()[3]), (Fields{"14", "00", "16", "00"}));
}

TEST_F(SettingsScenarioTest, RefusedSaveLeavesTheLabelsOfValidSubjectsToo) {
    SettingsRun& run = startWithVoice();
    run.sim().clearAndType("英语时间", "12:60");
    run.sim().click("按钮1");
    EXPECT_EQ(labelTexts(run), std::vector<std::string>(4, kInitialEnd));
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
    for (const SubjectTimes& t : run.times()) EXPECT_EQ(fields(t), kEmptyTimes);
}

TEST_F(SettingsScenarioTest, OnlyTheFirstFaultySubjectIsReported) {
    SettingsRun& run = startWithVoice();
    run.sim().clearAndType("数学时间", "25:00");
    run.sim().clearAndType("英语时间", "12:60");
    run.sim().click("按钮1");
    EXPECT_EQ(messageTexts(run), (std::vector<std::string>{kFirstRun, "文数/理数时间设置有错误"}));
    EXPECT_EQ(run.controls().focusedControl(), "数学时间");
}

TEST_F(SettingsScenarioTest, AHiddenBoxIsValidatedAndStoredLikeAnyOther) {
    SettingsRun& run = startWithVoice();
    run.controls().setVisible("综合时间", false);
    run.controls().setText("综合时间", "7:5");
    run.sim().click("按钮1");
    EXPECT_EQ(run.text("综合结束"), "结束时间为09:35");
    EXPECT_NE(settingsFileUtf8().find("文综/理综时间=7:5\r\n"), std::string::npos);

    run.controls().setText("综合时间", "99:00");
    run.sim().click("按钮1");
    EXPECT_EQ(run.sim().messageLog().back().text, "文综/理综时间设置有错误");
}

TEST_F(SettingsScenarioTest, TypedTextsAreStoredWholeAndComeBackAfterARestart) {
    SettingsRun& first = startWithVoice();
    first.sim().clearAndType("语文时间", "08:30");
    first.sim().clearAndType("英语时间", "7:5");
    first.sim().click("按钮1");
    EXPECT_EQ(first.text("英语结束"), "结束时间为09:05");

    SettingsRun& second = startProgram();
    EXPECT_TRUE(second.sim().messageLog().empty());
    EXPECT_EQ(boxTexts(second), (std::vector<std::string>{"08:30", "15:00", "09:00", "7:5"}));
    EXPECT_EQ(labelTexts(second), std::vector<std::string>(4, kInitialEnd));
    for (const SubjectTimes& t : second.times()) EXPECT_EQ(fields(t), kEmptyTimes);
}

TEST_F(SettingsScenarioTest, AFileCutShortAfterALoneCrLosesNoKeyOverTwoSaves) {
    writeSettingsFileUtf8("[时间设置]\r\n文数/理数时间=15:00\r\n文综/理综时间=09:00\r\n英语时间=15:00\r");
    addFirstVoiceFile();
    for (const char* english : {"16:00", "16:30"}) {
        SettingsRun& run = startProgram();
        run.sim().clearAndType("语文时间", "08:30");
        run.sim().clearAndType("英语时间", english);
        run.sim().click("按钮1");
        EXPECT_TRUE(run.sim().messageLog().empty());
    }
    EXPECT_EQ(boxTexts(startProgram()), (std::vector<std::string>{"08:30", "15:00", "09:00", "16:30"}));
}

TEST_F(SettingsScenarioTest, AFailedWriteIsReportedButTheTimesApplyToThisRun) {
    std::filesystem::create_directory(settingsFile()); // nothing can be written under its name
    SettingsRun& run = startWithVoice();
    std::vector<std::string> captions;
    run.onProbe = [&] { captions.push_back(run.text("按钮1")); };
    run.controls().setInterval(kProbeTimer, 500);
    run.sim().clearAndType("语文时间", "09:00");
    run.sim().clearAndType("数学时间", "15:00");
    run.sim().clearAndType("综合时间", "09:00");
    run.sim().clearAndType("英语时间", "15:00");
    run.sim().setMessageResponder([](const MessageRecord&, platform::sim::SimPlatform& sim) { sim.advance(1000); });
    run.sim().click("按钮1");

    ASSERT_EQ(run.sim().messageLog().size(), 1u);
    const MessageRecord& message = run.sim().messageLog()[0];
    EXPECT_EQ(message.text, "保存失败：无法写入设置文件 vanto.ini");
    EXPECT_EQ(message.flags, 16);
    EXPECT_EQ(message.title, "Vostrel软件");
    EXPECT_EQ(run.text("语文结束"), "结束时间为11:30");
    EXPECT_EQ(fields(run.times()[0]), (Fields{"09", "00", "11", "30"}));
    for (const std::string& caption : captions) EXPECT_EQ(caption, "保存设置"); // never "保存成功"
    EXPECT_TRUE(std::filesystem::is_directory(settingsFile()));
}

// ---- auto-repair --------------------------------------------------------------------------

TEST_F(SettingsScenarioTest, RepairWithoutSettingsFileFailsAndTheProgramGoesOn) {
    SettingsRun& run = startWithVoice();
    run.sim().click("按钮4");
    ASSERT_EQ(run.sim().messageLog().size(), 2u);
    EXPECT_EQ(run.sim().messageLog()[1].text, "自动修复失败");
    EXPECT_EQ(run.sim().messageLog()[1].flags, 0);
    EXPECT_EQ(run.sim().messageLog()[1].title, platform::kDefaultMessageTitle);
    run.sim().advance(1000);
    EXPECT_TRUE(run.sim().windowExists());
}

TEST_F(SettingsScenarioTest, RepairOfAFolderNamedVantoIniFails) {
    std::filesystem::create_directory(settingsFile());
    SettingsRun& run = startWithVoice();
    run.sim().click("按钮4");
    EXPECT_EQ(run.sim().messageLog().back().text, "自动修复失败");
    EXPECT_TRUE(std::filesystem::is_directory(settingsFile()));
}

TEST_F(SettingsScenarioTest, RepairDeletesTheFileEndsTheProgramAndTheNextStartIsAFirstRun) {
    SettingsRun& run = startWithVoice();
    run.sim().clearAndType("语文时间", "08:30");
    run.sim().click("按钮1");
    ASSERT_TRUE(std::filesystem::exists(settingsFile()));

    bool windowAliveWhileBoxOpen = false;
    run.sim().setMessageResponder(
        [&](const MessageRecord&, platform::sim::SimPlatform& sim) { windowAliveWhileBoxOpen = sim.windowExists(); });
    run.sim().click("按钮4");
    EXPECT_EQ(run.sim().messageLog().back().text, "自动修复成功，重新打开程序即可");
    EXPECT_EQ(run.sim().messageLog().back().title, platform::kDefaultMessageTitle);
    EXPECT_TRUE(windowAliveWhileBoxOpen);
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
    run.sim().loop().run(); // takes the queued close and ends
    EXPECT_FALSE(run.sim().windowExists());
    EXPECT_FALSE(run.sim().runBudgetExhausted());

    SettingsRun& next = startProgram();
    EXPECT_EQ(messageTexts(next), std::vector<std::string>{kFirstRun});
    EXPECT_EQ(boxTexts(next), (std::vector<std::string>{"09:00", "15:00", "09:00", "15:00"}));
}

// ---- the help page --------------------------------------------------------------------------

TEST_F(SettingsScenarioTest, TheDownloadPageIsTheHelpPageBesideTheProgram) {
    SettingsRun& run = startWithVoice();
    const std::string address = settings::downloadPageAddress(run.sim().files());
    EXPECT_EQ(address, "file://" + folder().string() + "/help/voice-files.html");
}

class FixedFolder final : public platform::FileSystem {
public:
    explicit FixedFolder(std::string directory) : directory_(std::move(directory)) {}
    std::string programDirectory() const override { return directory_; }
    bool setCurrentDirectory(std::string_view) override { return true; }
    bool exists(std::string_view) const override { return false; }
    bool deleteFile(std::string_view) override { return false; }
    std::optional<std::string> readFile(std::string_view, std::size_t) const override { return std::nullopt; }

private:
    std::string directory_;
};

TEST(DownloadPage, FolderNamesAreEscapedInTheUrl) {
    EXPECT_EQ(settings::downloadPageAddress(FixedFolder("/opt/考试 工具")),
              "file:///opt/%E8%80%83%E8%AF%95%20%E5%B7%A5%E5%85%B7/help/voice-files.html");
    EXPECT_EQ(settings::downloadPageAddress(FixedFolder("/a%b#c")), "file:///a%25b%23c/help/voice-files.html");
}

} // namespace
} // namespace vostrel::settings_test
