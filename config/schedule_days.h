#pragma once
// The schedule's weekdays as the selection file's "CleanDays" holds them.
#include <array>
#include <string>
#include <string_view>

namespace cv {

// The schedule's seven day flags, Sunday first.
using ScheduleDays = std::array<std::string, 7>;

// "CleanDays" split into day flags: character 1 is Sunday, characters 2 to 6
// Monday to Friday, the last character of the text Saturday. An empty text
// counts as "0000000"; characters beyond a short text are empty.
ScheduleDays SplitScheduleDays(std::string_view cleanDays);

}  // namespace cv
