// Acceptance of typed start times and the end times derived from them.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/end_time.h"

namespace vostrel::settings {
namespace {

struct EndCase {
    const char* typed;
    int examMinutes;
    const char* caption;
};

class EndTimeTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(EndTimeTest, GivesTheLabelCaption) {
    const std::optional<StartPieces> start = acceptStartTime(GetParam().typed);
    ASSERT_TRUE(start) << GetParam().typed;
    EXPECT_EQ(endLabelCaption(deriveEndTime(*start, GetParam().examMinutes)), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, EndTimeTest,
    ::testing::Values(EndCase{"09:00", 150, "结束时间为11:30"}, EndCase{"15:00", 120, "结束时间为17:00"},
                      EndCase{"08:30", 75, "结束时间为09:45"},  // a 3+1+2 second-choice subject
                      EndCase{"10:50", 90, "结束时间为12:20"},  // 90 minutes: the minute sum 80 carries
                      EndCase{"23:00", 300, "结束时间为28:00"}, // the longest exam, past midnight
                      EndCase{"8:45", 150, "结束时间为11:15"},  // the minute sum 75 carries
                      EndCase{"7:5", 120, "结束时间为09:05"}, EndCase{"23:59", 120, "结束时间为25:59"},
                      EndCase{"-1:00", 150, "结束时间为01:30"},     // no lower bound
                      EndCase{"9:3:1", 150, "结束时间为11:33"},     // third piece ignored
                      EndCase{":30", 150, "结束时间为03:00"},       // empty hour reads as 0
                      EndCase{"22:45", 150, "结束时间为25:15"},     // no wrap past midnight
                      EndCase{"05:05", 120, "结束时间为07:05"},     // minute zero-filled though 0 added
                      EndCase{"ab:cd", 120, "结束时间为02:00"},     // not a number: reads as 00:00
                      EndCase{"０９:３０", 150, "结束时间为12:00"}, // full-width digits
                      EndCase{"9:29.5", 150, "结束时间为12:0-0.5"}, // 59.5 carries
                      EndCase{"10:-5", 120, "结束时间为12:0-5"}));  // negative texts below 10 get the 0 too

TEST(EndTimePieces, StartPiecesAreKeptExactlyAsTyped) {
    const std::optional<StartPieces> start = acceptStartTime(" 09:00:99");
    ASSERT_TRUE(start);
    EXPECT_EQ(start->hour, " 09");
    EXPECT_EQ(start->minute, "00");
    const EndTexts end = deriveEndTime(*start, 120);
    EXPECT_EQ(end.hour, "11");
    EXPECT_EQ(end.minute, "00"); // "00" + 0 is rewritten as 0, then zero-filled
}

struct RefusedCase {
    const char* typed;
    const char* why;
};

class RefusedStartTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedStartTest, IsRefused) { EXPECT_FALSE(acceptStartTime(GetParam().typed)) << GetParam().why; }

INSTANTIATE_TEST_SUITE_P(Refused, RefusedStartTest,
                         ::testing::Values(RefusedCase{"24:00", "hour above 23"},
                                           RefusedCase{"12:60", "minute above 59"},
                                           RefusedCase{"23.5:00", "fraction above 23"},
                                           RefusedCase{"1e999:00", "infinite hour"}, RefusedCase{"", "empty"},
                                           RefusedCase{"930", "no colon"}, RefusedCase{"9:", "no minute piece"},
                                           RefusedCase{":", "a lone colon"}, RefusedCase{"9：30", "full-width colon"}));

TEST(AcceptedStart, BoundariesAndTolerance) {
    EXPECT_TRUE(acceptStartTime("23:59"));
    EXPECT_TRUE(acceptStartTime("23.00000001:59.00000001")); // within the 1e-7 margin
    EXPECT_FALSE(acceptStartTime("23.000001:00"));
    EXPECT_TRUE(acceptStartTime("::")); // two empty pieces read as 00:00
}

} // namespace
} // namespace vostrel::settings
