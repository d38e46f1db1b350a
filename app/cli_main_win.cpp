// clearvane-cli.exe: the console companion of clearvane.exe, so that output
// reaches cmd, PowerShell and pipes reliably.
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/console_cancel_win.h"
#include "platform/win32/text_win.h"
#include "platform/win32/win.h"
#include "platform/win32/volumes_win.h"
#include "platform/win32/win32_platform.h"
#include "shredder/shred_command_line.h"

int wmain(int argc, wchar_t** argv) {
  // No "No Disk" box when a run probes an empty drive.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  ::SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(cv::win32::Narrow(argv[i]));
  if (args.empty()) args.push_back("--help");
  cv::win32::Win32Platform platform;
  cv::Platform view = platform.View();
  const int code = [&] {
    if (!cv::IsShredCommandLine(args))
      return cv::RunCommandLine(args, view, std::cout, std::cerr, &cv::ui::StopOnConsoleCtrlC());
    cv::win32::Win32Volumes volumes;
    const auto seconds = [] { return static_cast<double>(::GetTickCount64()) / 1000.0; };
    return cv::RunShredCommandLine(args, view, volumes, seconds, std::cout, std::cerr, &cv::ui::StopOnConsoleCtrlC());
  }();
  std::cout.flush();
  return code;
}
