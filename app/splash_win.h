#pragma once
// The splash window (Frmsplash): shown while the main window loads, closed
// by its 2000 ms timer, which then shows the main window.
#include <functional>

#include "platform/win32/unique_handle.h"
#include "ui/look_win.h"
#include "ui/window_win.h"

namespace cv::ui {

class Splash : public Window {
 public:
  static constexpr UINT kDisplayMs = 2000;

  bool Create(HINSTANCE instance);
  // Starts the timer; `done` runs once when it fires, after the splash is gone.
  void StartTimer(std::function<void()> done);
  void Close() { window_.reset(); }
  bool Loaded() const { return static_cast<bool>(window_); }

 private:
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc);

  win32::UniqueWindow window_;
  Fonts fonts_;
  std::function<void()> done_;
};

}  // namespace cv::ui
