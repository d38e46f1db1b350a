#include "ui/window_win.h"

namespace cv::ui {

void Window::RegisterWindowClass(HINSTANCE instance, const wchar_t* className, WNDCLASSEXW details) {
  details.cbSize = sizeof details;
  details.lpfnWndProc = Proc;
  details.hInstance = instance;
  details.lpszClassName = className;
  ::RegisterClassExW(&details);
}

HWND Window::CreateWindowFor(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style, int x, int y,
                             int width, int height, HWND parent, HMENU menu, HINSTANCE instance) {
  return ::CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, menu, instance, this);
}

Window* Window::Of(HWND window) {
  return window ? reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

LRESULT CALLBACK Window::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  Window* self = Of(window);
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  const LRESULT result = self->OnMessage(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return result;
}

}  // namespace cv::ui
