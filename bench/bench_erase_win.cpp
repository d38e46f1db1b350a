// The Windows side of the erasure benchmark: runs one primitive on the real
// file system and prints its own time, the bytes it counted and the peak
// working set of the process. bench/run times this exe and the system's
// `cmd /c rd /s /q` on identical copies of each tree.
//
// usage: bench_erase_win files|empty FOLDER
//   files  DeleteAllFilesInTree(FOLDER)
//   empty  EmptyFolder(FOLDER)
#include <chrono>
#include <cstdio>
#include <string>

#include "clean/allerase.h"
#include "clean/path_guard.h"
#include "platform/win32/text_win.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

// After win.h: psapi.h needs the Windows types.
#include <psapi.h>

namespace {

double PeakWorkingSetMb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_erase_win files|empty FOLDER\n");
    return 2;
  }
  const std::wstring mode = argv[1];
  const std::string folder = cv::win32::Narrow(argv[2]);
  if (mode != L"files" && mode != L"empty") {
    std::fprintf(stderr, "unknown mode\n");
    return 2;
  }

  cv::win32::Win32Platform platform;
  cv::Platform view = platform.View();
  // The system's protected folders stay refused; the bench folder is not one of them.
  const cv::PathGuard guard = cv::PathGuard::ForSystem(platform.shell, view.files);
  if (!guard.AllowsFolder(folder)) {
    std::fprintf(stderr, "the path guard refuses %s\n", folder.c_str());
    return 3;
  }
  cv::allerase erase(view, guard, cv::EraseMode::Clean, nullptr, {});

  const auto start = std::chrono::steady_clock::now();
  const double bytes = mode == L"empty" ? erase.EmptyFolder(folder) : erase.DeleteAllFilesInTree(folder);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::printf("seconds=%.3f bytes=%.0f peak_ws_mb=%.1f\n", seconds, bytes, PeakWorkingSetMb());
  return bytes > 0 ? 0 : 1;
}
