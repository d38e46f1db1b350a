// Hivebrush.exe: the registry cleaner, started by clearvane.exe's "Clean
// Registry".
#include "platform/win32/win.h"

#include <commctrl.h>
#include <objbase.h>

#include "platform/win32/win32_platform.h"
#include "regclean/registry_cleaner_window_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    cv::win32::Win32Platform platform;
    cv::ui::RunRegistryCleanerWindow(instance, platform);
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  return 0;
}
