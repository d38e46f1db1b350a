#pragma once
// An in-memory URL history store for the native tests: entries in insertion
// order, a settable time zone, and switches that make the store's calls fail.
#include <vector>

#include "platform/url_history.h"

namespace cv::emulated {

class EmulatedUrlHistory : public UrlHistoryStore {
 public:
  Status AddUrl(std::string_view url, std::string_view title, std::uint32_t flags) override;
  Status DeleteUrl(std::string_view url, std::uint32_t flags) override;
  Status ClearHistory() override;
  Status Enumerate(std::string_view prefix, std::uint32_t flags,
                   const std::function<void(const UrlHistoryEntry&)>& visit) override;
  LocalTime ToLocalTime(std::int64_t utcFileTime) override;

  // The status every call returns when set to a failure (E_FAIL and the like).
  Status failWith = kOk;
  // Local time = UTC + this many minutes.
  int utcOffsetMinutes = 0;
  // The FILETIME AddUrl stamps as last visited and last updated.
  std::int64_t now = 0;
  int clearCalls = 0;

  std::vector<UrlHistoryEntry> entries;
};

// A UTC FILETIME as a calendar time, without any time-zone shift.
LocalTime CalendarFromFileTime(std::int64_t fileTime);
// The FILETIME of a calendar time (seconds resolution).
std::int64_t FileTimeFromCalendar(int year, int month, int day, int hour, int minute, int second);

}  // namespace cv::emulated
