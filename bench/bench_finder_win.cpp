// The finder's search engine on the real file system, for bench/run-finder
// under Wine: searches FOLDER for SEARCH and prints its own time, the rows
// found and its peak working set.
//   bench_finder_win FOLDER SEARCH
#include <chrono>
#include <cstdio>

#include "finder/file_search.h"
#include "platform/win32/filesystem_win.h"
#include "platform/win32/text_win.h"
#include "platform/win32/win.h"

// After win.h: psapi.h needs the Windows types.
#include <psapi.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_finder_win FOLDER SEARCH\n");
    return 2;
  }
  cv::win32::Win32FileSystem files;
  cv::finder::FoundFiles found;
  const auto start = std::chrono::steady_clock::now();
  const cv::finder::SearchOutcome outcome =
      cv::finder::FindFiles(files, cv::win32::Narrow(argv[1]), cv::win32::Narrow(argv[2]), found, {});
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  std::printf("seconds=%.3f rows=%zu peak_ws_mb=%.1f\n", seconds, found.Count(),
              static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0));
  return outcome.completed ? 0 : 1;
}
