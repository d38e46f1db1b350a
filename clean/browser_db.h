#pragma once
// Row-level cleaning of browser databases through SQLite: the history of
// Firefox's "places.sqlite" without the bookmarks it shares the file with,
// cookies by host with the domain keep list, the download list and saved
// form entries. A database that is locked, damaged, not a database, of
// another schema, or has a pending rollback journal is left untouched and
// the result says why. Changes are made in one transaction with secure
// delete on (freed pages are zeroed), and the file is checked afterwards.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "clean/browser_model.h"
#include "clean/sqlite_db.h"
#include "keep/domain_keep_list.h"
#include "platform/filesystem.h"

namespace cv {

struct RemovedRows {
  std::string table;
  std::int64_t rows = 0;
};

struct DatabaseCleanResult {
  bool present = false;              // the file exists (nothing else is meaningful otherwise)
  std::string untouchedBecause;      // non-empty: the file was left as it was ("is locked")
  std::vector<RemovedRows> removed;  // per table; in preview what would go
  bool checkedAfter = true;          // clean: PRAGMA integrity_check answered "ok"
  std::uint64_t bytesFreed = 0;      // clean: the pages the removed rows gave back inside the file
};

// `action` is one of the row actions of the browser model (kCookieRows,
// kHistoryRows, kDownloadRows, kFormRows); `family` picks the schema.
// `tick` is called during long statements (may be empty).
DatabaseCleanResult CleanDatabaseRows(FileSystem& files, std::string_view path, BrowserFamily family,
                                      TraceAction action, const DomainKeepList& keep, bool preview,
                                      const std::function<void()>& tick);

}  // namespace cv
