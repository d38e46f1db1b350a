// A stand-in for a running browser in the close-offer test, copied into the
// test's folder under a browser's image name (chrome.exe). It holds the lock
// file named on its command line open, as Chromium holds its "lockfile"
// (deleted when closed), shows one window and ends when that window is
// closed, or after five minutes. While a file "ignore-close" lies beside it,
// it ignores WM_CLOSE, as a browser busy with a dialog does.
#include <string>

#include "platform/win32/win.h"

namespace {

bool IgnoresClose() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring marker(path, length);
  marker.resize(marker.find_last_of(L'\\') + 1);
  marker += L"ignore-close";
  return ::GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE && IgnoresClose()) return 0;
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  HANDLE lock = ::CreateFileW(commandLine, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (lock == INVALID_HANDLE_VALUE) return 1;
  WNDCLASSW description{};
  description.lpfnWndProc = Proc;
  description.hInstance = instance;
  description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  description.lpszClassName = L"ClearvaneFakeBrowser";
  ::RegisterClassW(&description);
  HWND window = ::CreateWindowExW(0, description.lpszClassName, L"Fake Browser", WS_OVERLAPPEDWINDOW, 60, 60, 320, 200,
                                  nullptr, nullptr, instance, nullptr);
  ::ShowWindow(window, SW_SHOWNORMAL);
  ::SetTimer(nullptr, 0, 5 * 60 * 1000, nullptr);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr) break;
    ::DispatchMessageW(&message);
  }
  ::CloseHandle(lock);
  return 0;
}
