// Windows for the boss-key test: a maximized folder window (class
// "CabinetWClass", as Explorer's), a window of another class that must stay,
// and a small window that holds the keyboard focus for the hot keys.
// Ends when its folder window is closed, or after five minutes.
#include "platform/win32/win.h"

namespace {

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY && ::GetWindowLongPtrW(window, GWLP_USERDATA)) ::PostQuitMessage(0);
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND Open(HINSTANCE instance, const wchar_t* windowClass, const wchar_t* title, int x, int y, int show) {
  WNDCLASSW description{};
  description.lpfnWndProc = Proc;
  description.hInstance = instance;
  description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  description.lpszClassName = windowClass;
  ::RegisterClassW(&description);
  HWND window = ::CreateWindowExW(0, windowClass, title, WS_OVERLAPPEDWINDOW, x, y, 320, 200, nullptr, nullptr,
                                  instance, nullptr);
  ::ShowWindow(window, show);
  return window;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  HWND folder = Open(instance, L"CabinetWClass", L"Clearvane Test Folder", 40, 40, SW_SHOWMAXIMIZED);
  ::SetWindowLongPtrW(folder, GWLP_USERDATA, 1);
  Open(instance, L"ClearvaneTestOther", L"Clearvane Test Other", 400, 300, SW_SHOWNORMAL);
  HWND focus = Open(instance, L"ClearvaneTestFocus", L"Clearvane Test Focus", 600, 500, SW_SHOWNORMAL);
  ::SetForegroundWindow(focus);
  ::SetTimer(nullptr, 0, 5 * 60 * 1000, nullptr);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr) break;
    ::DispatchMessageW(&message);
  }
  return 0;
}
