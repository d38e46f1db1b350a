#include "config/schedule_days.h"

namespace cv {

namespace {

// One character of the text at a 1-based position, empty beyond its end.
std::string CharacterAt(std::string_view text, size_t position) {
  return position >= 1 && position <= text.size() ? std::string(1, text[position - 1]) : std::string();
}

}  // namespace

ScheduleDays SplitScheduleDays(std::string_view cleanDays) {
  const std::string_view text = cleanDays.empty() ? std::string_view("0000000") : cleanDays;
  ScheduleDays days;
  for (size_t day = 0; day < 6; ++day) days[day] = CharacterAt(text, day + 1);
  days[6] = CharacterAt(text, text.size());
  return days;
}

}  // namespace cv
