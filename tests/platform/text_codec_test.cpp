// The GBK codec against byte sequences of code page 936 written out by hand.
#include <gtest/gtest.h>

#include <string>

#include "platform/text_codec.h"

namespace vostrel::platform {
namespace {

struct CodecCase {
    const char* utf8;
    const char* gbk;
};

class CodecRoundTrip : public ::testing::TestWithParam<CodecCase> {};

TEST_P(CodecRoundTrip, ConvertsBothWays) {
    EXPECT_EQ(utf8ToGbk(GetParam().utf8), GetParam().gbk);
    EXPECT_EQ(gbkToUtf8(GetParam().gbk), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    CodePage936, CodecRoundTrip,
    ::testing::Values(CodecCase{"", ""}, CodecCase{"09:00", "09:00"},
                      CodecCase{"时间设置", "\xCA\xB1\xBC\xE4\xC9\xE8\xD6\xC3"},
                      CodecCase{"文数/理数时间", "\xCE\xC4\xCA\xFD/\xC0\xED\xCA\xFD\xCA\xB1\xBC\xE4"},
                      CodecCase{"０９：３０", "\xA3\xB0\xA3\xB9\xA3\xBA\xA3\xB3\xA3\xB0"},
                      CodecCase{"\u3000～☆★", "\xA1\xA1\xA1\xAB\xA1\xEE\xA1\xEF"}, CodecCase{"€", "\x80"}));

TEST(CodecFailures, UnconvertibleCharactersBecomeOneQuestionMarkEach) {
    EXPECT_EQ(utf8ToGbk("a😀b"), "a?b"); // outside code page 936
    EXPECT_EQ(utf8ToGbk("a\xFF"
                        "b"),
              "a?b");                            // not UTF-8 at all
    EXPECT_EQ(utf8ToGbk("a\xE6\x97"), "a?");     // cut short at the end
    EXPECT_EQ(gbkToUtf8("\xCA\xB1\xBC"), "时?"); // lead byte without its second byte
    EXPECT_EQ(gbkToUtf8("\xCA"
                        "1"),
              "?1"); // broken pair keeps the ASCII byte
}

} // namespace
} // namespace vostrel::platform
