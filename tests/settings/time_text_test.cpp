// The byte rules of the start-time text helpers, stated on code-page-936 characters.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "settings/time_text.h"

namespace vostrel::settings {
namespace {

struct SplitCase {
    const char* text;
    const char* separator;
    std::vector<std::string> pieces;
};

class SplitTextTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTextTest, GivesThePieces) {
    EXPECT_EQ(splitText(GetParam().text, GetParam().separator), GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Colon, SplitTextTest,
    ::testing::Values(SplitCase{"09:00", ":", {"09", "00"}}, SplitCase{"9:30:15", ":", {"9", "30", "15"}},
                      SplitCase{":30", ":", {"", "30"}}, SplitCase{"9:", ":", {"9"}}, SplitCase{":", ":", {""}},
                      SplitCase{"::", ":", {"", ""}}, SplitCase{"", ":", {}}, SplitCase{"930", ":", {"930"}},
                      SplitCase{"9：30", ":", {"9：30"}},          // the full-width colon is not ":"
                      SplitCase{" 9 : 30 ", ":", {" 9 ", " 30 "}}, // nothing is trimmed
                      SplitCase{"语文:时间", ":", {"语文", "时间"}}, SplitCase{"０９:３０", ":", {"０９", "３０"}}));

INSTANTIATE_TEST_SUITE_P(OtherSeparators, SplitTextTest,
                         ::testing::Values(SplitCase{"9：30", "：", {"9", "30"}}, SplitCase{"a--b--", "--", {"a", "b"}},
                                           SplitCase{"a-b", "", {"a-b"}},
                                           // 啊啊 is 0xB0 0xA1 0xB0 0xA1: the bytes of “ (0xA1 0xB0) stand across the
                                           // boundary of the two characters but are not a separator.
                                           SplitCase{"啊啊", "“", {"啊啊"}}, SplitCase{"啊“、", "“", {"啊", "、"}}));

struct NumberCase {
    const char* text;
    double value;
};

class ToNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ToNumberTest, ReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(toNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Ascii, ToNumberTest,
                         ::testing::Values(NumberCase{"09", 9}, NumberCase{"7a", 7}, NumberCase{"ab", 0},
                                           NumberCase{"", 0}, NumberCase{"-1", -1}, NumberCase{"+5", 5},
                                           NumberCase{"  \t\n12", 12}, NumberCase{"10.5", 10.5}, NumberCase{".5", 0.5},
                                           NumberCase{"5.", 5}, NumberCase{".", 0}, NumberCase{"-", 0},
                                           NumberCase{"--5", 0}, NumberCase{"+-5", 0}, NumberCase{"1e2", 100},
                                           NumberCase{"1E-1x", 0.1}, NumberCase{"1e", 1}, NumberCase{"1e+", 1},
                                           NumberCase{"2.5e1:00", 25}, NumberCase{"0x10", 0}, NumberCase{"inf", 0},
                                           NumberCase{"nan", 0}, NumberCase{"9 9", 9}, NumberCase{"1,5", 1},
                                           NumberCase{"1e-400", 0}));

INSTANTIATE_TEST_SUITE_P(FullWidth, ToNumberTest,
                         ::testing::Values(NumberCase{"０９", 9}, NumberCase{"１２．５", 12.5}, NumberCase{"－３", -3},
                                           NumberCase{"＋３", 3}, NumberCase{"\u3000８", 8}, // ideographic space
                                           NumberCase{"１ｅ２", 100}, NumberCase{"８ａ", 8}, NumberCase{"～8", 0},
                                           NumberCase{"☆8", 0}, NumberCase{"★8", 0}, NumberCase{"时8", 0},
                                           NumberCase{"8时", 8}));

TEST(ToNumberRange, MagnitudesBeyondADoubleGiveInfinityOrZero) {
    EXPECT_EQ(toNumber("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(toNumber("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(toNumber(std::string(400, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(toNumber("0." + std::string(400, '0') + "1"), 0.0);
}

struct FormatCase {
    double value;
    const char* text;
};

class NumberToTextTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(NumberToTextTest, FormatsLikePercentPoint13g) { EXPECT_EQ(numberToText(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Values, NumberToTextTest,
                         ::testing::Values(FormatCase{11, "11"}, FormatCase{5, "5"}, FormatCase{0, "0"},
                                           FormatCase{-1, "-1"}, FormatCase{10.5, "10.5"}, FormatCase{25.0, "25"},
                                           FormatCase{1.0 / 3, "0.3333333333333"}, FormatCase{1e13, "1e+13"},
                                           FormatCase{1234567890123.0, "1234567890123"}, FormatCase{0.0001, "0.0001"},
                                           FormatCase{0.00001, "1e-05"},
                                           FormatCase{std::numeric_limits<double>::infinity(), "inf"}));

} // namespace
} // namespace vostrel::settings
