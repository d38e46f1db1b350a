#include "app/schedule.h"

#include "platform/text.h"

namespace cv {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool SameMinute(const LocalTime& a, const LocalTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute;
}

}  // namespace

std::optional<TimeOfDay> ParseScheduleTime(std::string_view text) {
  text = TrimBlanks(text);
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 2 || text.size() != colon + 3) return std::nullopt;
  for (size_t i = 0; i < text.size(); ++i)
    if (i != colon && !IsDigit(text[i])) return std::nullopt;
  TimeOfDay time;
  for (size_t i = 0; i < colon; ++i) time.hour = time.hour * 10 + (text[i] - '0');
  time.minute = (text[colon + 1] - '0') * 10 + (text[colon + 2] - '0');
  if (time.hour > 23 || time.minute > 59) return std::nullopt;
  return time;
}

bool ScheduleMatches(const LocalTime& now, const ScheduleDays& days, std::string_view scheduleTime) {
  if (now.dayOfWeek < 0 || now.dayOfWeek > 6 || days[static_cast<size_t>(now.dayOfWeek)] != "1") return false;
  const auto target = ParseScheduleTime(scheduleTime);
  return target && *target == TimeOfDay{now.hour, now.minute};
}

bool ScheduleCheck::Tick(const LocalTime& now, const ScheduleDays& days, std::string_view scheduleTime,
                         bool runUnderWay) {
  if (runUnderWay || !ScheduleMatches(now, days, scheduleTime)) return false;
  if (lastStart_ && SameMinute(*lastStart_, now)) return false;
  lastStart_ = now;
  return true;
}

}  // namespace cv
