// winmm wave-out: buffers come back in order, reset returns them all before it returns, a
// buffer the system refuses fails alone with the system's reason, and the bytes reach the sound
// system unchanged (scripts/test-windows compares the capture with the pattern file written here).
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win32/win32_files.h"
#include "platform/win32/win32_wave_out.h"
#include "platform/win32/wide_text.h"
#include "tests/win32/check.h"

namespace vostrel::win32_test {
namespace {

// The cookies of the buffers a device gave back, in the order they came.
struct Returned {
    std::mutex mutex;
    std::vector<std::uintptr_t> cookies;
    std::size_t count() {
        std::lock_guard lock(mutex);
        return cookies.size();
    }
    // The device's callback that records them here.
    auto recorder() {
        return [this](std::uintptr_t cookie) {
            std::lock_guard lock(mutex);
            cookies.push_back(cookie);
        };
    }
};

// One second of 44100 Hz stereo noise that no silence or simple tone can imitate.
std::vector<std::uint8_t> pattern() {
    std::vector<std::uint8_t> bytes(44100 * 4);
    std::uint32_t state = 12345;
    for (auto& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    return bytes;
}

template <class Condition>
bool waitUntil(Condition condition) {
    const DWORD start = GetTickCount();
    while (!condition() && GetTickCount() - start < 15000) Sleep(5);
    return condition();
}

} // namespace

void waveOutTests() {
    platform::win32::Win32WaveOutDriver driver;
    const std::vector<std::uint8_t> second = pattern();
    {
        platform::win32::Win32FileSystem files;
        std::ofstream out(platform::win32::toWide(files.programDirectory() + "\\wave-pattern.raw").c_str(),
                          std::ios::binary);
        out.write(reinterpret_cast<const char*>(second.data()), static_cast<std::streamsize>(second.size()));
    }

    Returned played;
    auto device = driver.open(platform::PcmWaveFormat{2, 44100, 16}, played.recorder());
    check(device != nullptr, "default device opens with 44100 Hz stereo");
    if (!device) return;
    const std::size_t quarter = second.size() / 4;
    for (std::uintptr_t i = 0; i < 4; ++i) {
        checkEqual(device->write(second.data() + i * quarter, quarter, i + 1), platform::WaveOutResult::Ok, "write");
    }
    check(waitUntil([&] { return played.count() == 4; }), "every buffer comes back");
    check(played.cookies == std::vector<std::uintptr_t>{1, 2, 3, 4}, "buffers come back in the order written");
    checkEqual(device->close(), platform::WaveOutResult::Ok, "close after playing out");

    Returned reset;
    auto second_device = driver.open(platform::PcmWaveFormat{1, 22050, 16}, reset.recorder());
    check(second_device != nullptr, "mono 22050 Hz opens");
    if (!second_device) return;
    std::vector<std::uint8_t> silence(22050 * 2 * 2);
    second_device->write(silence.data(), silence.size() / 2, 7);
    second_device->write(silence.data() + silence.size() / 2, silence.size() / 2, 8);
    second_device->pause();
    checkEqual(second_device->close(), platform::WaveOutResult::StillPlaying, "close refused while buffers are queued");
    second_device->reset();
    check(reset.cookies == std::vector<std::uintptr_t>{7, 8}, "reset returns every buffer before it returns");
    checkEqual(second_device->close(), platform::WaveOutResult::Ok, "close after reset");

    // Another format than the pattern's: each opening empties the capture file of its format.
    Returned refused;
    auto third_device = driver.open(platform::PcmWaveFormat{1, 11025, 16}, refused.recorder());
    check(third_device != nullptr, "mono 11025 Hz opens");
    if (!third_device) return;
    checkEqual(third_device->write(nullptr, 4096, 21), platform::WaveOutResult::Failed,
               "a buffer without memory behind it is refused");
    const std::string reason = third_device->lastError();
    std::printf("refused buffer: %s\n", reason.c_str());
    const std::size_t call = reason.find("（waveOut");
    check(call != std::string::npos && call > 0, "the refusal gives winmm's reason, then the call that failed");
    checkEqual(third_device->write(silence.data(), 4096, 22), platform::WaveOutResult::Ok,
               "the device takes the next buffer");
    check(waitUntil([&] { return refused.count() == 1; }) && refused.cookies == std::vector<std::uintptr_t>{22},
          "only the buffer the device took comes back");
    checkEqual(third_device->close(), platform::WaveOutResult::Ok, "close after a refused buffer");
}

} // namespace vostrel::win32_test
