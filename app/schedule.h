#pragma once
// The schedule check that Timer1 runs every 30 seconds: a weekday flag and a
// time of day at minute resolution.
#include <optional>
#include <string_view>

#include "app/main_model.h"
#include "platform/clock.h"

namespace cv {

struct TimeOfDay {
  int hour = 0;
  int minute = 0;
  bool operator==(const TimeOfDay&) const = default;
};

// "CleanTime" as a time of day: an hour 0 to 23 (a leading zero allowed), ":"
// and two-digit minutes, blanks around it ignored. Anything else, a time with
// seconds included, has no time of day and so never matches.
std::optional<TimeOfDay> ParseScheduleTime(std::string_view text);

// The day's flag (Sunday first) is "1" and the clock's minute is the time.
bool ScheduleMatches(const LocalTime& now, const ScheduleDays& days, std::string_view scheduleTime);

// The check with its one piece of memory: the minute of the last run it
// started. A matching minute starts one run, though it sees two ticks; a tick
// that comes while a run is under way is dropped (the run already cleans the
// ticked items), and a later tick of the same minute may still start one.
class ScheduleCheck {
 public:
  bool Tick(const LocalTime& now, const ScheduleDays& days, std::string_view scheduleTime, bool runUnderWay);

 private:
  std::optional<LocalTime> lastStart_;
};

}  // namespace cv
