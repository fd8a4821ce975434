#include "platform/win32/win32_wave_out.h"

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <deque>
#include <memory>
#include <string>

#include "platform/win32/wide_text.h"

namespace vostrel::platform::win32 {
namespace {

// How long reset() waits for the device thread to hand back every buffer before giving up. A
// driver that keeps them longer has them reclaimed by close(), which refuses until then.
constexpr DWORD kResetDrainLimitMs = 2000;
// Between two attempts at closing a device that still holds buffers, when destroying it.
constexpr DWORD kCloseRetryMs = 100;
// For a code winmm has no text for.
constexpr char kUnknownErrorText[] = "声音设备出错";

// winmm's own words for a failed call, in the system's language, then the call and its code for
// whoever looks into the record later.
std::string errorText(const char* call, MMRESULT result) {
    const std::string which = std::string(call) + " " + std::to_string(result);
    wchar_t text[MAXERRORLENGTH] = {};
    if (waveOutGetErrorTextW(result, text, MAXERRORLENGTH) != MMSYSERR_NOERROR || text[0] == L'\0')
        return std::string(kUnknownErrorText) + "（" + which + "）";
    return toUtf8(text) + "（" + which + "）";
}

struct EventCloser {
    void operator()(HANDLE event) const { CloseHandle(event); }
};
using OwnedEvent = std::unique_ptr<void, EventCloser>;

class Win32WaveOutDevice final : public WaveOutDevice {
public:
    explicit Win32WaveOutDevice(WaveOutDriver::DoneCallback done)
        : done_(std::move(done)), bufferReturned_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

    // The one call that waits as long as the device needs: the device calls back into this
    // object until it is closed. Owners destroy devices on their teardown's thread.
    ~Win32WaveOutDevice() override {
        if (!device_) return;
        reset();
        while (close() == WaveOutResult::StillPlaying) Sleep(kCloseRetryMs);
    }

    // MMSYSERR_NOERROR when the device is open.
    MMRESULT open(const PcmWaveFormat& format) {
        if (!bufferReturned_) return MMSYSERR_NOMEM;
        WAVEFORMATEX wave{};
        wave.wFormatTag = WAVE_FORMAT_PCM;
        wave.nChannels = format.channels;
        wave.nSamplesPerSec = format.samplesPerSecond;
        wave.wBitsPerSample = format.bitsPerSample;
        wave.nBlockAlign = format.blockAlign();
        wave.nAvgBytesPerSec = format.averageBytesPerSecond();
        wave.cbSize = 0;
        const MMRESULT result = waveOutOpen(&device_, WAVE_MAPPER, &wave, reinterpret_cast<DWORD_PTR>(&onDeviceMessage),
                                            reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION | WAVE_ALLOWSYNC);
        if (result != MMSYSERR_NOERROR) device_ = nullptr;
        return result;
    }

    WaveOutResult write(const std::uint8_t* data, std::size_t bytes, std::uintptr_t cookie) override {
        if (!device_) return WaveOutResult::Failed;
        reclaimReturnedHeaders();
        WAVEHDR& header = headers_.emplace_back();
        header.lpData = reinterpret_cast<LPSTR>(const_cast<std::uint8_t*>(data));
        header.dwBufferLength = static_cast<DWORD>(bytes);
        header.dwUser = cookie;
        if (const MMRESULT prepared = waveOutPrepareHeader(device_, &header, sizeof(WAVEHDR));
            prepared != MMSYSERR_NOERROR) {
            headers_.pop_back();
            lastError_ = errorText("waveOutPrepareHeader", prepared);
            return WaveOutResult::Failed;
        }
        ++written_;
        if (const MMRESULT queued = waveOutWrite(device_, &header, sizeof(WAVEHDR)); queued != MMSYSERR_NOERROR) {
            // Never queued, so it will never come back through the callback.
            --written_;
            waveOutUnprepareHeader(device_, &header, sizeof(WAVEHDR));
            headers_.pop_back();
            lastError_ = errorText("waveOutWrite", queued);
            return WaveOutResult::Failed;
        }
        return WaveOutResult::Ok;
    }

    std::string lastError() const override { return lastError_; }

    void pause() override {
        if (device_) waveOutPause(device_);
    }

    void restart() override {
        if (device_) waveOutRestart(device_);
    }

    void reset() override {
        if (!device_) return;
        waveOutReset(device_);
        // The device marks the buffers done at once but may deliver the notices from its own
        // thread a moment later; the contract is that every notice has run when reset returns.
        // Each notice signals the event; the wait as a whole is bounded (DWORD ticks wrap
        // safely under subtraction).
        const DWORD start = GetTickCount();
        while (returned_.load(std::memory_order_acquire) != written_) {
            const DWORD waited = GetTickCount() - start;
            if (waited >= kResetDrainLimitMs) break;
            WaitForSingleObject(bufferReturned_.get(), kResetDrainLimitMs - waited);
        }
        reclaimReturnedHeaders();
    }

    WaveOutResult close() override {
        if (!device_) return WaveOutResult::Ok;
        reclaimReturnedHeaders();
        if (!headers_.empty()) return WaveOutResult::StillPlaying;
        const MMRESULT result = waveOutClose(device_);
        if (result == WAVERR_STILLPLAYING) return WaveOutResult::StillPlaying;
        device_ = nullptr;
        return result == MMSYSERR_NOERROR ? WaveOutResult::Ok : WaveOutResult::Failed;
    }

private:
    // Runs on the device's thread: only passes the notice on. No waveOut call is allowed here.
    static void CALLBACK onDeviceMessage(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR) {
        if (message != WOM_DONE) return;
        auto* self = reinterpret_cast<Win32WaveOutDevice*>(instance);
        const auto* wave = reinterpret_cast<const WAVEHDR*>(param1);
        if (self->done_) self->done_(static_cast<std::uintptr_t>(wave->dwUser));
        self->returned_.fetch_add(1, std::memory_order_release);
        SetEvent(self->bufferReturned_.get()); // one of the few calls a wave-out callback may make
    }

    // Owner thread: unprepares the buffers whose notice has run, oldest first. The done flag
    // alone is not enough: the device sets it before its thread has read the header.
    void reclaimReturnedHeaders() {
        const std::uint64_t returned = returned_.load(std::memory_order_acquire);
        while (!headers_.empty() && reclaimed_ < returned) {
            waveOutUnprepareHeader(device_, &headers_.front(), sizeof(WAVEHDR));
            headers_.pop_front();
            ++reclaimed_;
        }
    }

    WaveOutDriver::DoneCallback done_;
    OwnedEvent bufferReturned_; // auto-reset: set by every notice
    HWAVEOUT device_ = nullptr;
    // Stable addresses: the device keeps pointers to the headers while they are queued. Every
    // header here is prepared; one that fails to prepare is dropped at once.
    std::deque<WAVEHDR> headers_;
    std::uint64_t written_ = 0;
    std::uint64_t reclaimed_ = 0;
    std::atomic<std::uint64_t> returned_{0};
    std::string lastError_; // of the latest failed write
};

} // namespace

std::unique_ptr<WaveOutDevice> Win32WaveOutDriver::open(const PcmWaveFormat& format, DoneCallback done) {
    auto device = std::make_unique<Win32WaveOutDevice>(std::move(done));
    if (const MMRESULT result = device->open(format); result != MMSYSERR_NOERROR) {
        std::lock_guard lock(errorMutex_);
        lastOpenError_ = errorText("waveOutOpen", result);
        return nullptr;
    }
    return device;
}

std::string Win32WaveOutDriver::lastOpenError() const {
    std::lock_guard lock(errorMutex_);
    return lastOpenError_;
}

} // namespace vostrel::platform::win32
