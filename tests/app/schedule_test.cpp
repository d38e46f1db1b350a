// The schedule check over a fake clock that steps through whole weeks in the
// timer's 30-second ticks.
#include "app/schedule.h"

#include <gtest/gtest.h>

#include <utility>

namespace cv {
namespace {

// 2026-12-06 is a Sunday.
LocalTime At(int dayOfWeek, int hour, int minute, int second) {
  return LocalTime{2026, 12, 6 + dayOfWeek, hour, minute, second, dayOfWeek};
}

// Ticks every 30 seconds through one week, starting `offset` seconds after
// Sunday midnight; returns the (day, hh:mm) of every run started.
std::vector<std::pair<int, TimeOfDay>> WeekOfTicks(const ScheduleDays& days, std::string_view time, int offset) {
  ScheduleCheck check;
  std::vector<std::pair<int, TimeOfDay>> starts;
  for (int seconds = offset; seconds < 7 * 24 * 3600; seconds += 30) {
    const LocalTime now = At(seconds / 86400, seconds / 3600 % 24, seconds / 60 % 60, seconds % 60);
    if (check.Tick(now, days, time, false)) starts.push_back({now.dayOfWeek, {now.hour, now.minute}});
  }
  return starts;
}

TEST(ScheduleCheck, AWeekOfTicksStartsOneRunPerMatchingMinute) {
  const ScheduleDays mondayOnly{"0", "1", "0", "0", "0", "0", "0"};
  for (int offset : {0, 1, 29}) {
    const auto starts = WeekOfTicks(mondayOnly, "9:30", offset);
    ASSERT_EQ(starts.size(), 1u) << "offset " << offset;
    EXPECT_EQ(starts[0].first, 1);
    EXPECT_EQ(starts[0].second, (TimeOfDay{9, 30}));
  }
  const ScheduleDays weekdays{"0", "1", "1", "1", "1", "1", "0"};
  EXPECT_EQ(WeekOfTicks(weekdays, "23:59", 0).size(), 5u);
  EXPECT_EQ(WeekOfTicks(ScheduleDays{"1", "1", "1", "1", "1", "1", "1"}, "0:00", 0).size(), 7u);

  // Nothing ever starts for these days and times.
  const std::pair<ScheduleDays, std::string_view> never[] = {
      {{"0", "0", "0", "0", "0", "0", "0"}, "9:30"},     // all days "0"
      {{"1", "1", "", "", "", "", ""}, "9:31x"},         // short "CleanDays", malformed time
      {{"2", "x", " ", "11", "-", "1.0", "y"}, "9:30"},  // day flags that are not "1"
      {mondayOnly, "9:30:15"},                           // seconds never match
      {mondayOnly, "9:30:00"},
      {mondayOnly, "25:99"},
      {mondayOnly, ""},
      {mondayOnly, "half past nine"},
  };
  for (const auto& [days, time] : never) EXPECT_TRUE(WeekOfTicks(days, time, 0).empty()) << time;
}

TEST(ScheduleCheck, ATickDuringARunIsDroppedAndALaterTickOfTheMinuteMayStart) {
  const ScheduleDays mondayOnly{"0", "1", "0", "0", "0", "0", "0"};
  ScheduleCheck check;
  EXPECT_FALSE(check.Tick(At(1, 9, 30, 5), mondayOnly, "9:30", true));
  EXPECT_TRUE(check.Tick(At(1, 9, 30, 35), mondayOnly, "9:30", false));
  // A run that ended within the minute is not followed by a second one.
  EXPECT_FALSE(check.Tick(At(1, 9, 30, 59), mondayOnly, "9:30", false));
  // The same minute a week later is a new minute.
  LocalTime nextWeek = At(1, 9, 30, 10);
  nextWeek.day += 7;
  EXPECT_TRUE(check.Tick(nextWeek, mondayOnly, "9:30", false));
}

TEST(ScheduleTime, AcceptsHoursAndMinutesOnly) {
  const std::pair<std::string_view, std::optional<TimeOfDay>> cases[] = {
      {"9:30", TimeOfDay{9, 30}}, {"09:30", TimeOfDay{9, 30}}, {" 23:59\t", TimeOfDay{23, 59}},
      {"0:00", TimeOfDay{0, 0}},  {"24:00", std::nullopt},     {"9:60", std::nullopt},
      {"9:3", std::nullopt},      {"930", std::nullopt},       {":30", std::nullopt},
      {"123:30", std::nullopt},   {"9:30 PM", std::nullopt},   {"-9:30", std::nullopt},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseScheduleTime(text), expected) << text;
}

}  // namespace
}  // namespace cv
