// The private-profile store on real files: the byte layout a Windows installation reads and
// writes, lookups, in-place replacement, the read cap and refused writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/posix/ini_profile_store.h"
#include "platform/text_codec.h"
#include "tests/platform/temp_folder.h"

namespace vostrel::platform {
namespace {

using vostrel::platform_test::TempFolder;

constexpr std::size_t kBuffer = 10240;

class IniProfileStoreTest : public ::testing::Test {
protected:
    std::string read(std::string_view section, std::string_view key, std::size_t buffer = kBuffer) {
        return store.readString(section, key, path, buffer);
    }
    bool write(std::string_view section, std::string_view key, std::string_view value) {
        return store.writeString(section, key, value, path);
    }
    void givenFile(std::string_view utf8Text) { TempFolder::writeBytes(path, utf8ToGbk(utf8Text)); }
    std::string fileAsUtf8() const { return gbkToUtf8(TempFolder::readBytes(path)); }

    TempFolder folder;
    std::string path = folder.file("vanto.ini");
    IniProfileStore store;
};

TEST_F(IniProfileStoreTest, FirstWritesCreateFileSectionAndKeysInGbkWithCrLf) {
    EXPECT_TRUE(write("时间设置", "语文时间", "09:00"));
    EXPECT_TRUE(write("时间设置", "文数/理数时间", "15:00"));
    EXPECT_EQ(TempFolder::readBytes(path), "[\xCA\xB1\xBC\xE4\xC9\xE8\xD6\xC3]\r\n"
                                           "\xD3\xEF\xCE\xC4\xCA\xB1\xBC\xE4=09:00\r\n"
                                           "\xCE\xC4\xCA\xFD/\xC0\xED\xCA\xFD\xCA\xB1\xBC\xE4=15:00\r\n");
    EXPECT_EQ(read("时间设置", "语文时间"), "09:00");
    EXPECT_EQ(read("时间设置", "文数/理数时间"), "15:00");
}

TEST_F(IniProfileStoreTest, ReadsAFileWrittenInGbkBytes) {
    std::filesystem::copy_file(VOSTREL_SETTINGS_FIXTURES "/vanto_gbk.ini", path);
    EXPECT_EQ(read("时间设置", "语文时间"), "08:30");
    EXPECT_EQ(read("时间设置", "文数/理数时间"), "14:00");
    EXPECT_EQ(read("时间设置", "文综/理综时间"), "ab:cd");
    EXPECT_EQ(read("时间设置", "英语时间"), "15：10");
}

TEST_F(IniProfileStoreTest, MissingFileSectionOrKeyGivesEmptyText) {
    EXPECT_EQ(read("时间设置", "语文时间"), "");
    givenFile("[其他]\n语文时间=08:00\n[时间设置]\n英语时间=14:30\n");
    EXPECT_EQ(read("时间设置", "语文时间"), "");
    EXPECT_EQ(read("没有", "英语时间"), "");
    EXPECT_EQ(read("时间设置", "英语时间"), "14:30");
}

struct LookupCase {
    const char* file;
    const char* section;
    const char* key;
    const char* expected;
};

class IniLookup : public IniProfileStoreTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(IniLookup, FindsTheValue) {
    givenFile(GetParam().file);
    EXPECT_EQ(read(GetParam().section, GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, IniLookup,
                         ::testing::Values(LookupCase{"[Times]\r\nChinese=09:00\r\n", "TIMES", "chinese", "09:00"},
                                           LookupCase{"  [ 时间设置 ]  \nkey = 09:00 \n", "时间设置", "KEY", "09:00"},
                                           LookupCase{"[s]\nk=\"quoted value\"\n", "s", "k", "quoted value"},
                                           LookupCase{"[s]\nk='x'\n", "s", "k", "x"},
                                           LookupCase{"[s]\nk=\"half\n", "s", "k", "\"half"},
                                           LookupCase{"[s]\nk=a=b\n", "s", "k", "a=b"},
                                           LookupCase{"[s]\nk\n", "s", "k", ""},
                                           LookupCase{"[s]\nk=first\nk=second\n", "s", "k", "first"},
                                           LookupCase{"[s]\nk=1\n[s]\nk=2\nj=3\n", "s", "j", "3"},
                                           LookupCase{"k=global\n[s]\n", "s", "k", ""},
                                           LookupCase{"[s]\r\nk=no line end", "s", "k", "no line end"},
                                           LookupCase{"[s]\rk=1\rj=2\n", "s", "j", "2"}, // a lone CR ends a line too
                                           LookupCase{"[s]\nk=1\r\r\nj=2", "s", "k", "1"}));

TEST_F(IniProfileStoreTest, SecondBytesOfDoubleByteCharactersAreNotCaseFolded) {
    // 0x81 0x41 and 0x81 0x61 are two different characters whose second bytes are 'A' and 'a'.
    const std::string upper = gbkToUtf8("\x81\x41");
    const std::string lower = gbkToUtf8("\x81\x61");
    ASSERT_NE(upper, lower);
    ASSERT_TRUE(write("s", upper, "1"));
    EXPECT_EQ(read("s", upper), "1");
    EXPECT_EQ(read("s", lower), "");
}

TEST_F(IniProfileStoreTest, ASecondByteWithTheValueOfABracketDoesNotEndTheSectionName) {
    // 癩 is 0xB0 0x5D and 乚 is 0x81 0x5D in GBK: 0x5D is ']'.
    ASSERT_EQ(utf8ToGbk("癩乚"), "\xB0\x5D\x81\x5D");
    EXPECT_TRUE(write("癩乚", "k", "1"));
    EXPECT_TRUE(write("癩", "k", "2"));
    EXPECT_EQ(read("癩乚", "k"), "1");
    EXPECT_EQ(read("癩", "k"), "2");
    EXPECT_EQ(fileAsUtf8(), "[癩乚]\r\nk=1\r\n\r\n[癩]\r\nk=2\r\n");
}

TEST_F(IniProfileStoreTest, ReplacingAValueKeepsEveryOtherByte) {
    const std::string before =
        "; 考试时间\n[Other]\n语文时间=07:00\n\n[时间设置]\nA = 1\n语文时间 = 09:00\n英语时间=15:00\n";
    givenFile(before);
    EXPECT_TRUE(write("时间设置", "语文时间", "08:30"));
    EXPECT_EQ(fileAsUtf8(),
              "; 考试时间\n[Other]\n语文时间=07:00\n\n[时间设置]\nA = 1\n语文时间 =08:30\n英语时间=15:00\n");
}

TEST_F(IniProfileStoreTest, NewKeyGoesToTheEndOfItsSectionWithTheFilesLineEnd) {
    givenFile("[时间设置]\n语文时间=09:00\n\n[Other]\nx=1\n");
    EXPECT_TRUE(write("时间设置", "英语时间", "14:30"));
    EXPECT_EQ(fileAsUtf8(), "[时间设置]\n语文时间=09:00\n英语时间=14:30\n\n[Other]\nx=1\n");
}

TEST_F(IniProfileStoreTest, NewKeyAfterASectionThatEndsTheFileWithoutLineEnd) {
    givenFile("[时间设置]\r\n语文时间=09:00");
    EXPECT_TRUE(write("时间设置", "英语时间", "14:30"));
    EXPECT_EQ(fileAsUtf8(), "[时间设置]\r\n语文时间=09:00\r\n英语时间=14:30");
    EXPECT_EQ(read("时间设置", "英语时间"), "14:30");
}

TEST_F(IniProfileStoreTest, ANewKeyStartsALineOfItsOwnBehindALoneCr) {
    // As a cut-short file ends: the key goes behind the CR, ended like the line before it, and
    // a later write of the key before it changes that value alone.
    givenFile("[时间设置]\n英语时间=15:00\r");
    EXPECT_TRUE(write("时间设置", "语文时间", "09:00"));
    EXPECT_EQ(fileAsUtf8(), "[时间设置]\n英语时间=15:00\r语文时间=09:00\r");
    EXPECT_TRUE(write("时间设置", "英语时间", "15:30"));
    EXPECT_EQ(read("时间设置", "语文时间"), "09:00");
    EXPECT_EQ(read("时间设置", "英语时间"), "15:30");
}

TEST_F(IniProfileStoreTest, NewSectionGoesToTheEndOfTheFile) {
    givenFile("[Other]\r\nx=1");
    EXPECT_TRUE(write("时间设置", "语文时间", "09:00"));
    EXPECT_EQ(fileAsUtf8(), "[Other]\r\nx=1\r\n\r\n[时间设置]\r\n语文时间=09:00\r\n");
}

TEST_F(IniProfileStoreTest, ValuesThatReadingWouldChangeAreQuotedAndReadBackAsWritten) {
    for (const char* value : {" 9:00", "9:00\t", "'9:00'", "\"\"", "\" 9\""}) {
        ASSERT_TRUE(write("s", "k", value));
        EXPECT_EQ(read("s", "k"), value);
    }
    EXPECT_EQ(fileAsUtf8(), "[s]\r\nk=\"\" 9\"\"\r\n");
    ASSERT_TRUE(write("s", "k", "\"9:00")); // no pair of quotes: written as it is
    EXPECT_EQ(fileAsUtf8(), "[s]\r\nk=\"9:00\r\n");
}

TEST_F(IniProfileStoreTest, KeyWithoutEqualsSignGetsItsValue) {
    givenFile("[s]\nk\n");
    EXPECT_TRUE(write("s", "k", "v"));
    EXPECT_EQ(fileAsUtf8(), "[s]\nk=v\n");
}

TEST_F(IniProfileStoreTest, ValuesLongerThanTheBufferAreCutToItsSizeLessOne) {
    ASSERT_TRUE(write("时间设置", "语文时间", std::string(20000, '7')));
    EXPECT_EQ(read("时间设置", "语文时间").size(), 10239u);
    EXPECT_EQ(read("时间设置", "语文时间", 6), "77777");
    EXPECT_EQ(read("时间设置", "语文时间", 1), "");
    EXPECT_EQ(read("时间设置", "语文时间", 0), "");
}

TEST_F(IniProfileStoreTest, TheCapCountsGbkBytesAndDropsAHalfCharacter) {
    std::string value;
    for (int i = 0; i < 6000; ++i) value += "时"; // 2 bytes in GBK, 3 in UTF-8
    ASSERT_TRUE(write("s", "k", value));
    const std::string cut = read("s", "k");
    EXPECT_EQ(utf8ToGbk(cut).size(), 10238u);
    EXPECT_EQ(cut, value.substr(0, 5119 * 3));
    EXPECT_EQ(read("s", "k", 5), "时时");
}

TEST_F(IniProfileStoreTest, ADirectoryInPlaceOfTheFileReadsEmptyAndRefusesWrites) {
    std::filesystem::create_directory(path);
    EXPECT_EQ(read("时间设置", "语文时间"), "");
    EXPECT_FALSE(write("时间设置", "语文时间", "09:00"));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(IniProfileStoreTest, WriteFailsWhenTheFolderCannotHoldFiles) {
    // A regular file in place of the folder: refused even for root, unlike permission bits.
    const std::string notAFolder = folder.file("plain");
    TempFolder::writeBytes(notAFolder, "x");
    EXPECT_FALSE(store.writeString("时间设置", "语文时间", "09:00", notAFolder + "/vanto.ini"));
    EXPECT_EQ(store.readString("时间设置", "语文时间", notAFolder + "/vanto.ini", kBuffer), "");
}

TEST_F(IniProfileStoreTest, WritesThatWouldBreakTheFileAreRefused) {
    givenFile("[s]\nk=1\n");
    EXPECT_FALSE(write("s", "k", "two\nlines"));
    EXPECT_FALSE(write("s", "k=x", "1"));
    EXPECT_FALSE(write("s", "[k", "1"));
    EXPECT_FALSE(write("s]", "k", "1"));
    EXPECT_FALSE(write("", "k", "1"));
    EXPECT_FALSE(write("s", "", "1"));
    EXPECT_FALSE(store.writeString("s", "k", "1", ""));
    EXPECT_EQ(fileAsUtf8(), "[s]\nk=1\n");
}

TEST_F(IniProfileStoreTest, EmptyNamesAreNeverLookedUp) {
    givenFile("[s]\n=x\n");
    EXPECT_EQ(read("s", ""), "");
    EXPECT_EQ(store.readString("s", "k", "", kBuffer), "");
}

} // namespace
} // namespace vostrel::platform
