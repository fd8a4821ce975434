// GBK conversion and the private-profile store: the settings file must hold GBK bytes.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/text_codec.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_profile_store.h"
#include "platform/win32/wide_text.h"
#include "tests/win32/check.h"

namespace vostrel::win32_test {
namespace {

using namespace std::string_literals;
const std::string kSectionGbk = "\xCA\xB1\xBC\xE4\xC9\xE8\xD6\xC3";    // 时间设置
const std::string kChineseKeyGbk = "\xD3\xEF\xCE\xC4\xCA\xB1\xBC\xE4"; // 语文时间

std::string fileBytes(const std::string& utf8Path) {
    std::ifstream in(platform::win32::toWide(utf8Path).c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void codecTests() {
    checkEqual(platform::utf8ToGbk("时间设置"), kSectionGbk, "UTF-8 to GBK");
    checkEqual(platform::gbkToUtf8(kSectionGbk), "时间设置"s, "GBK to UTF-8");
    checkEqual(platform::utf8ToGbk("09:00"), "09:00"s, "ASCII stays ASCII");
    checkEqual(platform::gbkToUtf8("\xFF"), "?"s, "a byte outside GBK becomes ?");
    checkEqual(platform::gbkToUtf8("a\xD3"), "a?"s, "a lead byte without its trail becomes ?");
    checkEqual(platform::utf8ToGbk("\xF0\x9F\x98\x80"), "?"s, "a character GBK lacks becomes ?");
}

void profileTests(const std::string& directory) {
    platform::win32::Win32FileSystem files;
    platform::win32::Win32ProfileStore store;
    const std::string path = directory + "\\vanto.ini";
    files.deleteFile(path);

    checkEqual(store.readString("时间设置", "语文时间", path, 10240), ""s, "missing file reads empty");
    check(store.writeString("时间设置", "语文时间", "09:00", path), "write creates the file");
    check(store.writeString("时间设置", "文数/理数时间", "15:00", path), "a key with a slash");
    checkEqual(store.readString("时间设置", "语文时间", path, 10240), "09:00"s, "value read back");
    checkEqual(store.readString("时间设置", "文数/理数时间", path, 10240), "15:00"s, "slash key read back");
    checkEqual(store.readString("时间设置", "英语时间", path, 10240), ""s, "missing key reads empty");

    const std::string bytes = fileBytes(path);
    check(bytes.find("[" + kSectionGbk + "]") != std::string::npos, "section stored as GBK bytes");
    check(bytes.find(kChineseKeyGbk + "=09:00") != std::string::npos, "key stored as GBK bytes");

    check(store.writeString("时间设置", "语文时间", "08:30", path), "rewrite");
    checkEqual(store.readString("时间设置", "语文时间", path, 10240), "08:30"s, "value replaced in place");
    checkEqual(store.readString("时间设置", "文数/理数时间", path, 10240), "15:00"s, "other key kept");

    // The buffer limits the GBK bytes; a character cut in half is dropped.
    check(store.writeString("时间设置", "英语时间", "语文", path), "Chinese value");
    checkEqual(store.readString("时间设置", "英语时间", path, 10240), "语文"s, "Chinese value read back");
    const std::string cut = store.readString("时间设置", "英语时间", path, 4);
    checkEqual(cut, "语"s, "cut character dropped");
    checkEqual(store.readString("时间设置", "英语时间", path, 3), "语"s, "whole character kept");
    checkEqual(store.readString("时间设置", "英语时间", path, 1), ""s, "room for nothing");
    files.deleteFile(path);
}

} // namespace

void codecAndProfileTests() {
    codecTests();
    platform::win32::Win32FileSystem files;
    const std::string base = files.programDirectory();
    profileTests(base);
    // A directory name outside ASCII reaches the ANSI entry points intact.
    const std::string chinese = base + "\\设置测试";
    CreateDirectoryW(platform::win32::toWide(chinese).c_str(), nullptr);
    profileTests(chinese);
    RemoveDirectoryW(platform::win32::toWide(chinese).c_str());
}

} // namespace vostrel::win32_test
