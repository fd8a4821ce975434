#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "schedule/full_width.h"
#include "schedule/to_integer.h"

namespace vostrel::schedule {
namespace {

struct IntegerCase {
    std::string text;
    std::int32_t expected;
};

class ToIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ToIntegerTest, ReadsTheLeadingInteger) {
    EXPECT_EQ(toInteger(GetParam().text), GetParam().expected) << "text: \"" << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    TypedTimes, ToIntegerTest,
    ::testing::Values(IntegerCase{"08", 8}, IntegerCase{" 8", 8}, IntegerCase{"８", 8}, IntegerCase{"8a", 8},
                      IntegerCase{"9.5", 9}, IntegerCase{"a8", 0}, IntegerCase{"", 0}, IntegerCase{"-5", -5},
                      IntegerCase{"+7", 7}, IntegerCase{"\t\n\v\f\r 12", 12}, IntegerCase{"+", 0}, IntegerCase{"-", 0},
                      IntegerCase{"- 5", 0}, IntegerCase{"+-5", 0}, IntegerCase{"00", 0}, IntegerCase{"23", 23},
                      // full-width digits, signs and the ideographic space fold to their half-width meaning
                      IntegerCase{"０９", 9}, IntegerCase{"１2", 12}, IntegerCase{"－５", -5}, IntegerCase{"＋３", 3},
                      IntegerCase{"\u3000"
                                  "7",
                                  7},
                      IntegerCase{"７：３０", 7}, IntegerCase{"９．５", 9},
                      // other characters stop the number or prevent it
                      IntegerCase{"语文9", 0}, IntegerCase{"9点", 9},
                      IntegerCase{"\u00a0"
                                  "9",
                                  0}));

INSTANTIATE_TEST_SUITE_P(BeyondThirtyTwoBits, ToIntegerTest,
                         ::testing::Values(IntegerCase{"2147483647", 2147483647}, IntegerCase{"2147483648", 2147483647},
                                           IntegerCase{"99999999999999999999999", 2147483647},
                                           IntegerCase{"-2147483648", INT32_MIN}, IntegerCase{"-2147483649", INT32_MIN},
                                           IntegerCase{"-99999999999999999999999", INT32_MIN},
                                           IntegerCase{"000000000000000000000042", 42}));

TEST(FoldFullWidth, FoldsTheWholeBlockAndTheIdeographicSpaceOnly) {
    EXPECT_EQ(foldFullWidth("！"), "!");       // U+FF01, first of the block
    EXPECT_EQ(foldFullWidth("～"), "~");       // U+FF5E, last of the block
    EXPECT_EQ(foldFullWidth("＿｀ａ"), "_`a"); // across the EF BC / EF BD boundary
    EXPECT_EQ(foldFullWidth("\u3000"), " ");
    EXPECT_EQ(foldFullWidth("\uFF00\uFF5F\uFFE3"), "\uFF00\uFF5F\uFFE3"); // just outside the block
    EXPECT_EQ(foldFullWidth("语文 ０９:００"), "语文 09:00");
}

TEST(FoldFullWidth, KeepsTruncatedAndMalformedBytes) {
    const std::string cutOff = std::string("\xEF\xBC", 2);     // ０ without its last byte
    const std::string broken = std::string("\xEF\x41\x90", 3); // lead byte without continuation
    EXPECT_EQ(foldFullWidth(cutOff), cutOff);
    EXPECT_EQ(foldFullWidth(broken), broken);
    EXPECT_EQ(toInteger(cutOff + "5"), 0);
}

} // namespace
} // namespace vostrel::schedule
