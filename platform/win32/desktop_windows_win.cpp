#include "platform/win32/desktop_windows_win.h"

#include "platform/text.h"
#include "platform/win32/text_win.h"
#include "platform/win32/unique_handle.h"

namespace cv::win32 {

namespace {

HWND AsWindow(WindowId window) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(window)); }

}  // namespace

std::vector<WindowId> Win32DesktopWindows::TopLevelWindows() {
  std::vector<WindowId> windows;
  ::EnumWindows(
      [](HWND window, LPARAM found) -> BOOL {
        reinterpret_cast<std::vector<WindowId>*>(found)->push_back(reinterpret_cast<UINT_PTR>(window));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::string Win32DesktopWindows::ClassName(WindowId window) {
  wchar_t name[256] = {};
  const int length = ::GetClassNameW(AsWindow(window), name, 256);
  return length > 0 ? Narrow(std::wstring_view(name, static_cast<size_t>(length))) : std::string();
}

bool Win32DesktopWindows::IsVisible(WindowId window) { return ::IsWindowVisible(AsWindow(window)) != FALSE; }

bool Win32DesktopWindows::IsOwnWindow(WindowId window) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(AsWindow(window), &process);
  return process == ::GetCurrentProcessId();
}

std::string Win32DesktopWindows::ProcessImagePath(WindowId window) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(AsWindow(window), &processId);
  UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return std::string();
  wchar_t path[MAX_PATH * 2] = {};
  DWORD length = MAX_PATH * 2;
  if (!::QueryFullProcessImageNameW(process.get(), 0, path, &length)) return std::string();
  return AsciiLower(Narrow(std::wstring_view(path, length)));
}

std::optional<WindowPlacement> Win32DesktopWindows::Placement(WindowId window) {
  WINDOWPLACEMENT raw{};
  raw.length = sizeof raw;
  if (!::IsWindow(AsWindow(window)) || !::GetWindowPlacement(AsWindow(window), &raw)) return std::nullopt;
  return WindowPlacement{raw.flags,
                         raw.showCmd,
                         raw.ptMinPosition.x,
                         raw.ptMinPosition.y,
                         raw.ptMaxPosition.x,
                         raw.ptMaxPosition.y,
                         raw.rcNormalPosition.left,
                         raw.rcNormalPosition.top,
                         raw.rcNormalPosition.right,
                         raw.rcNormalPosition.bottom};
}

bool Win32DesktopWindows::SetPlacement(WindowId window, const WindowPlacement& placement) {
  if (!::IsWindow(AsWindow(window))) return false;
  WINDOWPLACEMENT raw{};
  raw.length = sizeof raw;
  raw.flags = placement.flags;
  raw.showCmd = placement.showCommand;
  raw.ptMinPosition = POINT{placement.minX, placement.minY};
  raw.ptMaxPosition = POINT{placement.maxX, placement.maxY};
  raw.rcNormalPosition = RECT{placement.left, placement.top, placement.right, placement.bottom};
  if (::SetWindowPlacement(AsWindow(window), &raw)) return true;
  // Some systems (Wine) place only their own process's windows; the show
  // state still reaches another process's window as a posted request.
  return ::ShowWindowAsync(AsWindow(window), static_cast<int>(placement.showCommand)) != FALSE;
}

bool Win32DesktopWindows::RegisterHotKey(int id, unsigned modifiers, unsigned virtualKey) {
  return owner_ && ::RegisterHotKey(owner_, id, modifiers, virtualKey);
}

void Win32DesktopWindows::UnregisterHotKey(int id) {
  if (owner_) ::UnregisterHotKey(owner_, id);
}

}  // namespace cv::win32
