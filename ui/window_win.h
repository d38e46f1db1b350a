#pragma once
// The program's own window classes: one procedure for all of them, which
// stores the object given at creation and hands it every message.
#include "platform/win32/win.h"

namespace cv::ui {

class Window {
 public:
  virtual ~Window() = default;
  // The object a window of such a class was created for, or null.
  static Window* Of(HWND window);

 protected:
  // Registers a class whose windows use this procedure; `details` gives
  // cursor, icons, menu and the like. A second registration fails harmlessly.
  static void RegisterWindowClass(HINSTANCE instance, const wchar_t* className, WNDCLASSEXW details = {});
  // A window of such a class that sends its messages to this object.
  HWND CreateWindowFor(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style, int x, int y,
                       int width, int height, HWND parent, HMENU menu, HINSTANCE instance);
  // Every message from WM_NCCREATE to WM_NCDESTROY of each window created
  // for this object; DefWindowProcW's result for what it does not handle.
  virtual LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace cv::ui
