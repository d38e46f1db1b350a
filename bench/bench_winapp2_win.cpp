// The Windows side of the community-database benchmark: reads the database
// through the real file system, or detects its entries against a profile,
// and prints its own time of the work. bench/run times this exe beside
// `cmd /c type` and `cmd /c dir /s /b`.
//
// usage: bench_winapp2_win load INI
//        bench_winapp2_win detect INI PROFILE PROGRAMFILES
#include <chrono>
#include <cstdio>
#include <string>

#include "clean/winapp2_items.h"
#include "clean/winapp2_paths.h"
#include "clean/winapp2_reader.h"
#include "platform/win32/text_win.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (!((mode == L"load" && argc == 3) || (mode == L"detect" && argc == 5))) {
    std::fprintf(stderr, "usage: bench_winapp2_win load INI | detect INI PROFILE PROGRAMFILES\n");
    return 2;
  }
  if (mode == L"detect") {
    // The programs' folders as the bench installed them.
    const std::wstring profile = argv[3];
    ::SetEnvironmentVariableW(L"USERPROFILE", profile.c_str());
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", (profile + L"\\AppData\\Local").c_str());
    ::SetEnvironmentVariableW(L"APPDATA", (profile + L"\\AppData\\Roaming").c_str());
    ::SetEnvironmentVariableW(L"ProgramFiles", argv[4]);
  }
  cv::win32::Win32Platform platform;
  cv::Platform view = platform.View();
  const auto start = std::chrono::steady_clock::now();
  std::string bytes;
  if (view.files.ReadFile(cv::win32::Narrow(argv[2]), bytes) != cv::kOk) {
    std::fprintf(stderr, "cannot read the database\n");
    return 1;
  }
  cv::Winapp2Database database;
  std::vector<std::string> taken;
  cv::ReadWinapp2(bytes, database, taken);
  std::size_t detected = 0;
  if (mode == L"detect") {
    const auto detecting = std::chrono::steady_clock::now();
    const cv::Winapp2Folders folders = cv::Winapp2Folders::ForSystem(view);
    for (const cv::Winapp2Entry& entry : database.entries) detected += cv::Winapp2Detected(entry, view, folders);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - detecting).count();
    std::printf("seconds=%.3f %zu entries detected\n", seconds, detected);
    return 0;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("seconds=%.3f %zu entries read, %zu rejected\n", seconds, database.entries.size(),
              database.rejected.size());
  return database.entries.empty() ? 1 : 0;
}
