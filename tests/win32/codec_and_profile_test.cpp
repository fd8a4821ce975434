// GBK conversion and the private-profile store: the settings file must hold GBK bytes; a save
// of several keys replaces the file whole or not at all.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/text_codec.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/win32_files.h"
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

void writeFile(const std::string& utf8Path, const std::string& bytes) {
    std::ofstream(platform::win32::toWide(utf8Path).c_str(), std::ios::binary) << bytes;
}

bool missing(const std::string& utf8Path) {
    return GetFileAttributesW(platform::win32::toWide(utf8Path).c_str()) == INVALID_FILE_ATTRIBUTES;
}

void severalKeysAtOnce(platform::win32::Win32ProfileStore& store, const std::string& path) {
    using platform::ProfileEntry;
    const std::string before = platform::utf8ToGbk("[其他]\r\n保留=1\r\n[时间设置]\r\n语文时间=09:00\r\n");
    writeFile(path, before);
    const ProfileEntry save[] = {{"语文时间", "08:30"}, {"英语时间", "15:00"}, {"综合时间", std::nullopt}};
    SetFileAttributesW(platform::win32::toWide(path).c_str(), FILE_ATTRIBUTE_READONLY);
    check(!store.writeStrings("时间设置", save, path), "a read-only file is refused");
    SetFileAttributesW(platform::win32::toWide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    checkEqual(fileBytes(path), before, "a read-only file stays as it was");
    {
        const auto holder =
            platform::win32::ownFile(CreateFileW(platform::win32::toWide(path).c_str(), GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        check(holder != nullptr, "another program holds the settings file open alone");
        check(!store.writeStrings("时间设置", save, path), "a file held open elsewhere is refused");
    }
    checkEqual(fileBytes(path), before, "a refused save leaves the file as it was");

    writeFile(path, before + platform::utf8ToGbk("文综/理综时间=10:00\r\n"));
    const ProfileEntry all[] = {{"语文时间", "08:30"}, {"英语时间", "15:00"}, {"文综/理综时间", std::nullopt}};
    check(store.writeStrings("时间设置", all, path), "several keys saved at once");
    checkEqual(store.readString("时间设置", "语文时间", path, 100), "08:30"s, "an existing key takes its new value");
    checkEqual(store.readString("时间设置", "英语时间", path, 100), "15:00"s, "a new key is added");
    check(fileBytes(path).find("=10:00") == std::string::npos, "a key without a value is removed");
    checkEqual(store.readString("其他", "保留", path, 100), "1"s, "other sections stay");

    const std::string copy = path + ".4242.tmp";
    for (const std::string& stray : {copy, path + ".abc.tmp", path + ".7.tmp.bak", path + "x.9.tmp"})
        writeFile(stray, "x");
    store.removeLeftovers(path);
    check(missing(copy), "a copy a killed save left behind is removed");
    check(!missing(path + ".abc.tmp") && !missing(path + ".7.tmp.bak") && !missing(path + "x.9.tmp"),
          "files that only look alike stay");
    check(!missing(path), "the settings file itself stays");
    for (const std::string& stray : {path + ".abc.tmp", path + ".7.tmp.bak", path + "x.9.tmp"})
        DeleteFileW(platform::win32::toWide(stray).c_str());

    DeleteFileW(platform::win32::toWide(path).c_str());
    check(store.writeStrings("时间设置", all, path), "a save creates a missing file");
    checkEqual(store.readString("时间设置", "英语时间", path, 100), "15:00"s, "the created file holds the keys");
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
    severalKeysAtOnce(store, path);
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
