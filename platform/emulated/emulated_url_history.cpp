#include "platform/emulated/emulated_url_history.h"

#include <algorithm>

#include "platform/text.h"

namespace cv::emulated {
namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
// Days from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kDaysFrom1601To1970 = 134774;

// Days since 1970-01-01 of a civil date (proleptic Gregorian), and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

LocalTime CalendarFromFileTime(std::int64_t fileTime) {
  std::int64_t seconds = fileTime / kTicksPerSecond;
  if (fileTime < 0 && fileTime % kTicksPerSecond != 0) --seconds;
  std::int64_t days = seconds / 86400;
  std::int64_t secondOfDay = seconds % 86400;
  if (secondOfDay < 0) {
    secondOfDay += 86400;
    --days;
  }
  LocalTime time;
  CivilFromDays(days - kDaysFrom1601To1970, time.year, time.month, time.day);
  time.hour = static_cast<int>(secondOfDay / 3600);
  time.minute = static_cast<int>(secondOfDay / 60 % 60);
  time.second = static_cast<int>(secondOfDay % 60);
  // 1601-01-01 was a Monday.
  time.dayOfWeek = static_cast<int>(((days % 7) + 7 + 1) % 7);
  return time;
}

std::int64_t FileTimeFromCalendar(int year, int month, int day, int hour, int minute, int second) {
  const std::int64_t days =
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kDaysFrom1601To1970;
  return ((days * 24 + hour) * 60 + minute) * 60 * kTicksPerSecond + second * kTicksPerSecond;
}

Status EmulatedUrlHistory::AddUrl(std::string_view url, std::string_view title, std::uint32_t flags) {
  if (failWith != kOk) return failWith;
  auto it = std::find_if(entries.begin(), entries.end(), [&](const UrlHistoryEntry& e) { return e.url == url; });
  if (it == entries.end()) {
    entries.push_back({std::string(url), {}, now, now, now + 20LL * 86400 * kTicksPerSecond, 0});
    it = entries.end() - 1;
  }
  it->title = std::string(title);
  it->flags = flags;
  it->lastVisited = it->lastUpdated = now;
  return kOk;
}

Status EmulatedUrlHistory::DeleteUrl(std::string_view url, std::uint32_t) {
  if (failWith != kOk) return failWith;
  std::erase_if(entries, [&](const UrlHistoryEntry& e) { return e.url == url; });
  return kOk;
}

Status EmulatedUrlHistory::ClearHistory() {
  ++clearCalls;
  if (failWith != kOk) return failWith;
  entries.clear();
  return kOk;
}

// The filter compares the prefix without regard to case, as addresses'
// scheme and host parts are case-insensitive.
Status EmulatedUrlHistory::Enumerate(std::string_view prefix, std::uint32_t,
                                     const std::function<void(const UrlHistoryEntry&)>& visit) {
  if (failWith != kOk) return failWith;
  const std::vector<UrlHistoryEntry> snapshot = entries;  // the visitor may change the store
  for (const auto& entry : snapshot)
    if (StartsWithNoCase(entry.url, prefix)) visit(entry);
  return kOk;
}

LocalTime EmulatedUrlHistory::ToLocalTime(std::int64_t utcFileTime) {
  return CalendarFromFileTime(utcFileTime + static_cast<std::int64_t>(utcOffsetMinutes) * 60 * kTicksPerSecond);
}

}  // namespace cv::emulated
