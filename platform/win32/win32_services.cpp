#include "platform/win32/win32_services.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/win32/wide_text.h"

namespace vostrel::platform::win32 {
namespace {

constexpr wchar_t kServiceKey[] = L"SYSTEM\\CurrentControlSet\\Services\\W32Time";
constexpr wchar_t kParametersKey[] = L"SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters";
// The service's "Type": where it takes the time from; NoSync means from nowhere.
constexpr wchar_t kNoSync[] = L"NoSync";

class RegistryKey {
public:
    explicit RegistryKey(const wchar_t* path) {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~RegistryKey() {
        if (key_) RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    std::optional<std::wstring> text(const wchar_t* name) const {
        wchar_t value[64]{};
        DWORD type = 0;
        DWORD bytes = sizeof(value) - sizeof(wchar_t); // room for a terminator the value may lack
        if (!key_ ||
            RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes) != ERROR_SUCCESS)
            return std::nullopt;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
        return std::wstring(value);
    }
    std::optional<DWORD> number(const wchar_t* name) const {
        DWORD value = 0;
        DWORD type = 0;
        DWORD bytes = sizeof(value);
        if (!key_ ||
            RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) != ERROR_SUCCESS ||
            type != REG_DWORD)
            return std::nullopt;
        return value;
    }

private:
    HKEY key_ = nullptr;
};

} // namespace

LocalDateTime Win32Clock::localNow() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LocalDateTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

std::uint64_t Win32Clock::tickCountMs() const { return ticks_.extend(GetTickCount()); }

std::optional<bool> Win32ClockSync::synchronised() {
    const std::optional<DWORD> start = RegistryKey(kServiceKey).number(L"Start");
    const std::optional<std::wstring> source = RegistryKey(kParametersKey).text(L"Type");
    if (!start || !source) return std::nullopt;
    if (*start == SERVICE_DISABLED) return false;
    return lstrcmpiW(source->c_str(), kNoSync) != 0;
}

void Win32Shell::openWebPage(std::string_view address) {
    // The outcome is not examined: without a browser nothing happens and nothing is shown.
    ShellExecuteW(nullptr, L"open", toWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

Win32PowerRequests::~Win32PowerRequests() { keepAwake(false); }

void Win32PowerRequests::keepAwake(bool awake) {
    if (awake == awake_) return;
    const EXECUTION_STATE state = awake ? (ES_CONTINUOUS | ES_SYSTEM_REQUIRED) : ES_CONTINUOUS;
    if (SetThreadExecutionState(state) != 0) awake_ = awake;
}

} // namespace vostrel::platform::win32
