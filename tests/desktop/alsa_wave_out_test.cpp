// The ALSA wave-out device against the wave-out contract, on ALSA's own "null" and "file"
// devices (no sound card needed): buffers come back once each, in the order written; reset
// returns every queued buffer before it returns; close refuses while buffers are queued; a
// device that cannot be opened gives null; a device whose writes fail says why; a device stuck
// inside ALSA holds no caller for long.
#include "platform/alsa/alsa_wave_out.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using vostrel::platform::PcmWaveFormat;
using vostrel::platform::WaveOutResult;
using vostrel::platform::alsa::AlsaWaveOutDriver;

// Collects the cookies the device returns, from whatever thread it returns them on.
class Returns {
public:
    void operator()(std::uintptr_t cookie) {
        std::lock_guard lock(mutex_);
        cookies_.push_back(cookie);
        changed_.notify_all();
    }
    // Waits until count buffers have come back; the bound only keeps a broken build from hanging.
    bool waitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(20), [&] { return cookies_.size() >= count; });
    }
    std::vector<std::uintptr_t> cookies() {
        std::lock_guard lock(mutex_);
        return cookies_;
    }
    // Waits for buffers 1 to count, written with those cookies, and checks their order.
    ::testing::AssertionResult cameBackInOrder(std::size_t count);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::uintptr_t> cookies_;
};

std::vector<std::uint8_t> ramp(std::size_t bytes, std::uint8_t seed) {
    std::vector<std::uint8_t> data(bytes);
    for (std::size_t i = 0; i < bytes; ++i) data[i] = static_cast<std::uint8_t>(seed + i * 7);
    return data;
}

std::vector<std::uintptr_t> oneToN(std::size_t n) {
    std::vector<std::uintptr_t> v;
    for (std::size_t i = 1; i <= n; ++i) v.push_back(i);
    return v;
}

::testing::AssertionResult Returns::cameBackInOrder(std::size_t count) {
    if (!waitFor(count))
        return ::testing::AssertionFailure() << "only " << cookies().size() << " of " << count << " came back";
    if (cookies() != oneToN(count)) return ::testing::AssertionFailure() << "not in the order written";
    return ::testing::AssertionSuccess();
}

// True when one of this process's threads is inside write(2) at the moment.
bool aThreadIsWriting() {
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream syscall(task.path() / "syscall");
        long number = -1;
        if (syscall >> number && number == SYS_write) return true;
    }
    return false;
}

// A FIFO whose reading end the test holds without reading: once the pipe is full, the file
// plugin's next write blocks inside the device's worker, as a call into a sound server that has
// stopped answering does. drain() lets it go.
class UnreadFifo {
public:
    UnreadFifo() : path_(::testing::TempDir() + "alsa_wave_out_test.fifo") {
        std::remove(path_.c_str());
        if (::mkfifo(path_.c_str(), 0600) == 0) reader_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    }
    ~UnreadFifo() {
        stop_ = true;
        if (drainer_.joinable()) drainer_.join();
        if (reader_ >= 0) ::close(reader_);
        std::remove(path_.c_str());
    }
    UnreadFifo(const UnreadFifo&) = delete;
    UnreadFifo& operator=(const UnreadFifo&) = delete;

    bool valid() const { return reader_ >= 0; }
    const std::string& path() const { return path_; }
    // Waits until the writer is blocked: a thread is inside write(2) while the pipe holds data and
    // has taken none for a few milliseconds. The bound only keeps a broken build from hanging.
    bool waitUntilTheWriterBlocks() const {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        int before = -1;
        while (std::chrono::steady_clock::now() < giveUp) {
            int held = 0;
            if (::ioctl(reader_, FIONREAD, &held) != 0) return false;
            if (held > 0 && held == before && aThreadIsWriting()) return true;
            before = held;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
    // From now on everything written is read, until the writer closes the FIFO.
    void drain() {
        if (drainer_.joinable()) return;
        drainer_ = std::thread([this] {
            std::vector<char> bytes(65536);
            while (!stop_) {
                pollfd fd{reader_, POLLIN, 0};
                if (::poll(&fd, 1, 20) <= 0) continue;
                if (::read(reader_, bytes.data(), bytes.size()) == 0) return; // the writer has closed it
            }
        });
    }

private:
    std::string path_;
    int reader_ = -1;
    std::atomic<bool> stop_{false};
    std::thread drainer_;
};

TEST(AlsaWaveOut, ADeviceThatCannotBeOpenedGivesNull) {
    AlsaWaveOutDriver driver("hw:97,0");
    EXPECT_EQ(driver.open(PcmWaveFormat{}, [](std::uintptr_t) {}), nullptr);
}

TEST(AlsaWaveOut, AFormatOtherThan16BitIsRefused) {
    AlsaWaveOutDriver driver("null");
    PcmWaveFormat eightBit;
    eightBit.bitsPerSample = 8;
    EXPECT_EQ(driver.open(eightBit, [](std::uintptr_t) {}), nullptr);
}

TEST(AlsaWaveOut, EveryBufferComesBackOnceInTheOrderWritten) {
    AlsaWaveOutDriver driver("null");
    Returns returns;
    auto device = driver.open(PcmWaveFormat{}, std::ref(returns));
    ASSERT_NE(device, nullptr);
    std::vector<std::vector<std::uint8_t>> blocks;
    for (int i = 0; i < 40; ++i) blocks.push_back(ramp(4608, static_cast<std::uint8_t>(i)));
    for (std::size_t i = 0; i < blocks.size(); ++i)
        ASSERT_EQ(device->write(blocks[i].data(), blocks[i].size(), i + 1), WaveOutResult::Ok);
    ASSERT_TRUE(returns.cameBackInOrder(blocks.size()));
    EXPECT_EQ(device->close(), WaveOutResult::Ok);
}

TEST(AlsaWaveOut, APausedDeviceKeepsItsBuffersUntilRestarted) {
    AlsaWaveOutDriver driver("null");
    Returns returns;
    auto device = driver.open(PcmWaveFormat{1, 44100, 16}, std::ref(returns));
    ASSERT_NE(device, nullptr);
    device->pause();
    const auto block = ramp(2304, 3);
    for (std::uintptr_t i = 1; i <= 3; ++i) device->write(block.data(), block.size(), i);
    // Paused, nothing is played, so nothing can come back and close must refuse.
    EXPECT_EQ(device->close(), WaveOutResult::StillPlaying);
    device->restart();
    ASSERT_TRUE(returns.cameBackInOrder(3));
    EXPECT_EQ(device->close(), WaveOutResult::Ok);
}

TEST(AlsaWaveOut, ResetReturnsEveryQueuedBufferBeforeItReturns) {
    AlsaWaveOutDriver driver("null");
    Returns returns;
    auto device = driver.open(PcmWaveFormat{}, std::ref(returns));
    ASSERT_NE(device, nullptr);
    device->pause(); // keeps every buffer queued until the reset
    const auto block = ramp(4608, 9);
    for (std::uintptr_t i = 1; i <= 5; ++i) device->write(block.data(), block.size(), i);
    device->reset();
    EXPECT_EQ(returns.cookies(), oneToN(5));
    // After a reset the device is open and no longer paused.
    device->write(block.data(), block.size(), 6);
    ASSERT_TRUE(returns.cameBackInOrder(6));
    EXPECT_EQ(device->close(), WaveOutResult::Ok);
}

TEST(AlsaWaveOut, DestroyingAnOpenDeviceReturnsItsBuffersAndCloses) {
    AlsaWaveOutDriver driver("null");
    Returns returns;
    const auto block = ramp(4608, 1);
    {
        auto device = driver.open(PcmWaveFormat{}, std::ref(returns));
        ASSERT_NE(device, nullptr);
        device->pause();
        for (std::uintptr_t i = 1; i <= 4; ++i) device->write(block.data(), block.size(), i);
    }
    EXPECT_EQ(returns.cookies(), oneToN(4));
}

TEST(AlsaWaveOut, ThePcmReachesTheDeviceUnchangedAndInOrder) {
    const std::string path = ::testing::TempDir() + "alsa_wave_out_test.raw";
    std::remove(path.c_str());
    std::vector<std::uint8_t> expected;
    {
        AlsaWaveOutDriver driver("file:FILE=" + path + ",FORMAT=raw");
        Returns returns;
        auto device = driver.open(PcmWaveFormat{2, 44100, 16}, std::ref(returns));
        ASSERT_NE(device, nullptr);
        std::vector<std::vector<std::uint8_t>> blocks;
        for (int i = 0; i < 30; ++i) blocks.push_back(ramp(4608, static_cast<std::uint8_t>(i * 13)));
        // A pause and restart in the middle must neither lose nor repeat a frame.
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            if (i == 15) device->pause();
            device->write(blocks[i].data(), blocks[i].size(), i + 1);
            expected.insert(expected.end(), blocks[i].begin(), blocks[i].end());
        }
        device->restart();
        ASSERT_TRUE(returns.waitFor(blocks.size()));
        EXPECT_EQ(device->close(), WaveOutResult::Ok);
    }
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> captured{std::istreambuf_iterator<char>(file), {}};
    // The file plugin may pad its last period with silence; what was played comes first.
    ASSERT_GE(captured.size(), expected.size());
    const auto mismatch = std::mismatch(expected.begin(), expected.end(), captured.begin());
    EXPECT_EQ(mismatch.first, expected.end()) << "first difference at byte " << (mismatch.first - expected.begin())
                                              << " of " << expected.size() << ", captured " << captured.size();
}

// The file plugin writing into /dev/full: every write to the file fails with "no space", which
// ALSA's write passes on as an error that no recovery mends, as a sound card unplugged while
// playing does.
TEST(AlsaWaveOut, AFailingDeviceHandsEverythingBackAndSaysWhy) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    AlsaWaveOutDriver driver("file:FILE=/dev/full,FORMAT=raw");
    Returns returns;
    auto device = driver.open(PcmWaveFormat{}, std::ref(returns));
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->lastError(), "") << "a device that has not failed has no reason to give";
    constexpr std::size_t kBlocks = 40; // 1 s of audio: far more than ALSA takes before it writes the file
    const auto block = ramp(4608, 7);
    for (std::uintptr_t i = 1; i <= kBlocks; ++i)
        ASSERT_EQ(device->write(block.data(), block.size(), i), WaveOutResult::Ok);
    // None of them can be played to the end; they come back all the same, once each, in order.
    ASSERT_TRUE(returns.cameBackInOrder(kBlocks));
    EXPECT_EQ(device->write(block.data(), block.size(), kBlocks + 1), WaveOutResult::Failed);
    EXPECT_NE(device->lastError(), "");
    EXPECT_EQ(returns.cookies().size(), kBlocks) << "a refused buffer was handed back as well";
    EXPECT_EQ(device->close(), WaveOutResult::Ok);
}

TEST(AlsaWaveOut, AWorkerStuckInsideAlsaHoldsNoCallerAndCatchesUpWhenItLetsGo) {
    UnreadFifo fifo;
    ASSERT_TRUE(fifo.valid());
    AlsaWaveOutDriver driver("file:FILE=" + fifo.path() + ",FORMAT=raw");
    Returns returns;
    auto device = driver.open(PcmWaveFormat{}, std::ref(returns));
    ASSERT_NE(device, nullptr);
    // Whatever fails, the FIFO is drained before the device goes: destroying it waits for ALSA.
    const std::unique_ptr<UnreadFifo, void (*)(UnreadFifo*)> drainFirst(&fifo, [](UnreadFifo* f) { f->drain(); });
    constexpr std::size_t kBlocks = 60; // 1.6 s of audio, four times what the pipe holds
    const auto block = ramp(4608, 5);
    for (std::uintptr_t i = 1; i <= kBlocks; ++i)
        ASSERT_EQ(device->write(block.data(), block.size(), i), WaveOutResult::Ok);
    ASSERT_TRUE(fifo.waitUntilTheWriterBlocks());

    // Each call hands its request over and returns; the stuck worker has carried out none.
    device->pause();
    device->restart();
    device->reset();
    EXPECT_LT(returns.cookies().size(), kBlocks) << "the reset was carried out by a stuck worker";
    EXPECT_EQ(device->close(), WaveOutResult::StillPlaying);

    // Let go: the requests are carried out in order, every buffer comes back once, in order.
    fifo.drain();
    ASSERT_TRUE(returns.cameBackInOrder(kBlocks));
    WaveOutResult closed = WaveOutResult::StillPlaying;
    for (int attempt = 0; attempt < 200 && closed == WaveOutResult::StillPlaying; ++attempt) closed = device->close();
    EXPECT_EQ(closed, WaveOutResult::Ok);
}

} // namespace
