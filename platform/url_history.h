#pragma once
// Internet Explorer's URL history store (the database behind the History
// list). Optional: Platform::urlHistory is null where the store cannot be
// created, and the history items then erase nothing through it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/status.h"

namespace cv {

// One STATURL record. Times are FILETIMEs in UTC (100 ns units since 1601).
struct UrlHistoryEntry {
  std::string url;
  std::string title;
  std::int64_t lastVisited = 0;
  std::int64_t lastUpdated = 0;
  std::int64_t expires = 0;
  std::uint32_t flags = 0;
};

class UrlHistoryStore {
 public:
  virtual ~UrlHistoryStore() = default;
  // Operations return kOk, or the failing HRESULT of the store.

  // IUrlHistoryStg::AddUrl: adds the address or updates its title and flags.
  virtual Status AddUrl(std::string_view url, std::string_view title, std::uint32_t flags) = 0;
  // IUrlHistoryStg::DeleteUrl.
  virtual Status DeleteUrl(std::string_view url, std::uint32_t flags) = 0;
  // IUrlHistoryStg2::ClearHistory: every entry goes.
  virtual Status ClearHistory() = 0;
  // IUrlHistoryStg::EnumUrls with IEnumSTATURL::SetFilter(prefix, flags):
  // calls `visit` for each entry the filter passes, in the store's order.
  // An empty prefix passes every entry.
  virtual Status Enumerate(std::string_view prefix, std::uint32_t flags,
                           const std::function<void(const UrlHistoryEntry&)>& visit) = 0;
  // FileTimeToLocalFileTime + FileTimeToSystemTime of a UTC FILETIME.
  virtual LocalTime ToLocalTime(std::int64_t utcFileTime) = 0;
};

}  // namespace cv
