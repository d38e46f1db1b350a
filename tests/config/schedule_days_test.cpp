#include "config/schedule_days.h"

#include <gtest/gtest.h>

namespace cv {
namespace {

TEST(ScheduleDays, SplitsSundayFirstAndTakesSaturdayFromTheEnd) {
  EXPECT_EQ(SplitScheduleDays("1000001"), (ScheduleDays{"1", "0", "0", "0", "0", "0", "1"}));
  EXPECT_EQ(SplitScheduleDays(""), (ScheduleDays{"0", "0", "0", "0", "0", "0", "0"}));
  // A short text leaves the weekdays beyond its end empty; its last character is Saturday.
  EXPECT_EQ(SplitScheduleDays("101"), (ScheduleDays{"1", "0", "1", "", "", "", "1"}));
  // A long text: characters 7 onwards are ignored except the very last.
  EXPECT_EQ(SplitScheduleDays("01111100001"), (ScheduleDays{"0", "1", "1", "1", "1", "1", "1"}));
}

}  // namespace
}  // namespace cv
