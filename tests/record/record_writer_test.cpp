// The record's writer keeps the UI thread off the disk: lines queued while the disk hangs never
// block, a full or read-only folder is reported once, the record stays within its size, and the
// program's end waits for the last lines only as long as it may.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/sim/sim_background_files.h"
#include "record/record_line.h"
#include "record/record_writer.h"

namespace vostrel::record {
namespace {

using namespace std::chrono_literals;

class RecordWriterTest : public ::testing::Test {
protected:
    ~RecordWriterTest() override { std::filesystem::remove_all(folder); }
    std::string text() const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vostrel-record-" + std::to_string(::getpid()));
    std::string path = (std::filesystem::create_directories(folder), (folder / "播放记录.txt").string());
    platform::sim::SimBackgroundFiles files;
};

TEST_F(RecordWriterTest, LinesForNotepadInTheOrderQueued) {
    RecordWriter writer(files, path);
    writer.appendLine("2026-12-08 07:50:00 | 程序启动");
    writer.appendLine("2026-12-08 08:00:00 | 开始运行");
    ASSERT_TRUE(writer.waitUntilIdle(20s));
    writer.appendLine("2026-12-08 08:35:00 | 开始播放");
    EXPECT_TRUE(writer.finish(20s));
    EXPECT_EQ(text(),
              "\xEF\xBB\xBF"
              "2026-12-08 07:50:00 | 程序启动\r\n2026-12-08 08:00:00 | 开始运行\r\n2026-12-08 08:35:00 | 开始播放\r\n");
    EXPECT_FALSE(writer.takeFailure());
}

TEST_F(RecordWriterTest, AFolderThatRefusesWritesIsReportedOnce) {
    files.failWrites("只读文件夹");
    RecordWriter writer(files, path);
    for (int i = 0; i < 3; ++i) writer.appendLine("一行");
    writer.replaceFile((folder / "page.html").string(), "<p>");
    ASSERT_TRUE(writer.waitUntilIdle(20s));
    EXPECT_EQ(writer.takeFailure(), "只读文件夹");
    EXPECT_FALSE(writer.takeFailure()) << "once";
    files.failWrites(std::nullopt);
    writer.appendLine("后来的一行");
    EXPECT_TRUE(writer.finish(20s));
    EXPECT_EQ(text(), "\xEF\xBB\xBF后来的一行\r\n");
}

// While the disk does not answer, queuing never waits, the queue stays bounded (the oldest
// lines go, and the record says how many once it can be written again), and the program's end
// gives up on the worker after its grace.
TEST_F(RecordWriterTest, AHungDiskNeverHoldsTheOwner) {
    RecordWriter::Limits limits;
    limits.maxQueued = 5;
    auto writer = std::make_unique<RecordWriter>(files, path, limits);
    files.hangWrites();
    writer->appendLine("第一行");
    ASSERT_TRUE(files.waitForWrites(0, 1s));
    for (int i = 0; i < 40 && files.hungWrites() == 0; ++i) std::this_thread::sleep_for(5ms);
    ASSERT_EQ(files.hungWrites(), 1);
    const auto before = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) writer->appendLine("行" + std::to_string(i));
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s) << "queuing never waits for the disk";
    EXPECT_FALSE(writer->finish(50ms)) << "the worker is stuck in the disk call";
    files.releaseHang();
    ASSERT_TRUE(files.waitForWrites(2, 20s));
    // The worker has let go and ended; what it wrote is the first line, then the note and the
    // newest five.
    for (int i = 0; i < 200 && text().find("行999") == std::string::npos; ++i) std::this_thread::sleep_for(10ms);
    const std::string written = text();
    EXPECT_NE(written.find("第一行\r\n（磁盘一时无法写入，这之前有 995 行记录没能写下）\r\n行995\r\n"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("行999\r\n"), std::string::npos);
    EXPECT_TRUE(writer->finish(20s)) << "once the disk answers, the worker ends";
}

TEST_F(RecordWriterTest, TheRecordKeepsItsNewestLinesWithinItsSize) {
    RecordWriter::Limits limits;
    limits.maxBytes = 2000;
    limits.keptBytes = 1000;
    RecordWriter writer(files, path, limits);
    for (int i = 0; i < 200; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "2026-12-08 08:%02d:%02d | 第%03d行", i / 60, i % 60, i);
        writer.appendLine(line);
        if (i % 20 == 0) {
            ASSERT_TRUE(writer.waitUntilIdle(20s));
        }
    }
    ASSERT_TRUE(writer.finish(20s));
    const std::string written = text();
    EXPECT_LE(written.size(), limits.maxBytes);
    EXPECT_TRUE(written.starts_with("\xEF\xBB\xBF"
                                    "2026-12-08 "))
        << "whole lines from the start, after the mark";
    EXPECT_TRUE(written.ends_with("第199行\r\n"));
    EXPECT_EQ(written.find("第000行"), std::string::npos) << "the oldest went first";
}

TEST(RecordLine, ReadsBackAsWrittenWhateverTheFieldsHold) {
    const RecordLine line{{2026, 12, 8, 8, 35, 7, 0}, "播放结束", {"语文", "原因：a | b\r\nc", ""}};
    const std::string text = formatRecordLine(line);
    EXPECT_EQ(text, "2026-12-08 08:35:07 | 播放结束 | 语文 | 原因：a ／ b  c | ");
    const std::optional<RecordLine> back = parseRecordLine("\xEF\xBB\xBF" + text + "\r");
    ASSERT_TRUE(back);
    EXPECT_EQ(timestampText(back->at), "2026-12-08 08:35:07");
    EXPECT_EQ(back->event, "播放结束");
    EXPECT_EQ(back->fields, (std::vector<std::string>{"语文", "原因：a ／ b  c", ""}));
    for (const char* notALine : {"", "2026-12-08 08:35:07", "2026-12-08 8:35:07 | x", "记录 | 开始"})
        EXPECT_FALSE(parseRecordLine(notALine)) << notALine;
}

} // namespace
} // namespace vostrel::record
