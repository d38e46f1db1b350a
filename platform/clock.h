#pragma once
// Local date and time, and the locale's formats for them and for numbers.
#include <string>

namespace cv {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  int dayOfWeek = 0;  // 0 = Sunday
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
  // The system's general date format: short date, a blank, long time.
  virtual std::string FormatGeneralDate(const LocalTime& time) = 0;
  // The locale's decimal separator.
  virtual char DecimalSeparator() = 0;
};

}  // namespace cv
