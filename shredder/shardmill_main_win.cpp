// Shardmill.exe: the file shredder, started by clearvane.exe's "File
// Shredder" and by Explorer's "Shred with Clearvane" with the files on its
// command line.
#include "platform/win32/win.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/win32/text_win.h"
#include "platform/win32/volumes_win.h"
#include "platform/win32/win32_platform.h"
#include "shredder/shredder_window_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  std::vector<std::string> paths;
  int count = 0;
  if (wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) paths.push_back(cv::win32::Narrow(argv[i]));
    ::LocalFree(argv);
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    cv::win32::Win32Platform platform;
    cv::win32::Win32Volumes volumes;
    cv::ui::RunShredderWindow(instance, platform, volumes, paths);
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  return 0;
}
