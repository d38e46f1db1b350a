// Program entry of clearvane.exe: the command-line mode when asked for it,
// otherwise the splash, the main window (loaded while the splash shows) and
// the message loop.
#include "platform/win32/win.h"
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/console_cancel_win.h"
#include "platform/win32/win32_platform.h"
#include "app/main_window_win.h"
#include "app/splash_win.h"
#include "platform/win32/text_win.h"
#include "platform/win32/win.h"

namespace {

std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!argv) return args;
  for (int i = 1; i < count; ++i) args.push_back(cv::win32::Narrow(argv[i]));
  ::LocalFree(argv);
  return args;
}

bool HasUsableHandle(DWORD which) {
  HANDLE handle = ::GetStdHandle(which);
  return handle && handle != INVALID_HANDLE_VALUE;
}

// A GUI program has no console of its own: write to the one it was started
// from, unless its output already goes to a file or pipe.
void ConnectToParentConsole() {
  const bool hasOut = HasUsableHandle(STD_OUTPUT_HANDLE), hasErr = HasUsableHandle(STD_ERROR_HANDLE);
  if (hasOut && hasErr) return;
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
  ::SetConsoleOutputCP(CP_UTF8);
  if (!hasOut) std::freopen("CONOUT$", "w", stdout);
  if (!hasErr) std::freopen("CONOUT$", "w", stderr);
  std::ios::sync_with_stdio(true);
}

int RunCommandLineMode(const std::vector<std::string>& args) {
  ConnectToParentConsole();
  cv::win32::Win32Platform services;
  cv::Platform platform = services.View();
  const int code = cv::RunCommandLine(args, platform, std::cout, std::cerr, &cv::ui::StopOnConsoleCtrlC());
  std::cout.flush();
  std::cerr.flush();
  return code;
}

int RunWindows(HINSTANCE instance, const wchar_t* commandLineTail) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);

  cv::win32::Win32Platform services;
  cv::ui::Splash splash;
  splash.Create(instance);
  cv::ui::MainWindow main(instance, services.View());
  if (!main.Create(cv::win32::Narrow(commandLineTail ? commandLineTail : L""), &splash)) return 1;
  services.SetOwnerWindow(main.Handle());
  splash.StartTimer([&main] { main.ShowFirstTime(); });

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (main.TranslateAccelerators(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLineTail, int) {
  // Unattended runs probe drives (card readers, DVD drives) that may be
  // empty: the system must not stop them with a "No Disk" box.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const std::vector<std::string> args = Arguments();
  if (cv::WantsCommandLineMode(args)) return RunCommandLineMode(args);
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int code = RunWindows(instance, commandLineTail);
  if (SUCCEEDED(com)) ::CoUninitialize();
  return code;
}
