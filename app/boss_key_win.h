#pragma once
// The boss key on the main window: its two hot keys and the replacement
// window procedure that catches WM_HOTKEY before the window's own.
#include <string_view>

#include "app/boss_key.h"
#include "config/options_dialog.h"
#include "platform/platform.h"
#include "platform/win32/desktop_windows_win.h"

namespace cv::ui {

class BossKeyWindow {
 public:
  explicit BossKeyWindow(MessageBoxes& messages) : model_(windows_, messages) {}
  ~BossKeyWindow() { Release(); }
  BossKeyWindow(const BossKeyWindow&) = delete;
  BossKeyWindow& operator=(const BossKeyWindow&) = delete;

  // At the main window's load: on when "bosskey" asks for it.
  void Start(HWND main, bool on, Platform& platform, std::string_view selectionFile);
  // The options dialog's "OK".
  void Apply(const OptionsApplied& applied);
  // The exit procedure: hot keys released, the window procedure put back.
  void Release();
  bool IsOn() const { return model_.IsOn(); }

 private:
  static LRESULT CALLBACK BossKeyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void SwitchOn();

  HWND main_ = nullptr;
  WNDPROC OriginalWndProc = nullptr;
  win32::Win32DesktopWindows windows_;
  BossKey model_;
};

}  // namespace cv::ui
