#pragma once
// One search of the junk-file finder: a breadth-first walk from the start
// folder that reports every file whose name matches a pattern of the search
// string, with per-pattern counts and the total size. Folder links and
// junctions are never entered and linked files never listed, so no folder is
// searched twice and nothing outside the start folder's tree is reached.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "finder/found_files.h"
#include "finder/search_pattern.h"
#include "platform/filesystem.h"

namespace cv::finder {

struct SearchControl {
  // Asked as each folder is taken: whether to queue its sub-folders.
  std::function<bool()> includeSubFolders;
  // Set from another thread to end the search at the next entry.
  const std::atomic<bool>* stop = nullptr;
  // The folder about to be searched (for the status text); may be empty.
  std::function<void(const std::string&)> folderStarted;
};

struct PatternCount {
  std::string text;  // the pattern without its stars
  std::uint64_t count = 0;
};

struct SearchOutcome {
  bool completed = false;  // false when stopped (or nothing to search for)
  std::uint64_t lines = 0;
  std::uint64_t totalBytes = 0;
  std::vector<PatternCount> counts;
};

// "C:\a" -> "C:\a\"; a path already ending with "\" is returned as it is.
std::string AddBackslash(std::string_view path);

// Runs the search. An empty search string ends it at once, with nothing listed.
SearchOutcome FindFiles(FileSystem& files, std::string_view startFolder, std::string_view searchString,
                        FoundFileSink& sink, const SearchControl& control);

// "<lines>  Files Found      <text> - <count>...\r\nTotal size: <kb>kb", the
// size in thousands of bytes with the locale's decimal separator.
std::string SummaryText(const SearchOutcome& outcome, char decimalSeparator);

}  // namespace cv::finder
