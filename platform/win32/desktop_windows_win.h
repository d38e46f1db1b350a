#pragma once
#include "platform/desktop_windows.h"
#include "platform/win32/win.h"

namespace cv::win32 {

// Top-level windows through EnumWindows and the window functions; hot keys on
// the owner window (the program's main window).
class Win32DesktopWindows : public DesktopWindows {
 public:
  void SetOwnerWindow(HWND owner) { owner_ = owner; }

  std::vector<WindowId> TopLevelWindows() override;
  std::string ClassName(WindowId window) override;
  bool IsVisible(WindowId window) override;
  bool IsOwnWindow(WindowId window) override;
  std::string ProcessImagePath(WindowId window) override;
  std::optional<WindowPlacement> Placement(WindowId window) override;
  bool SetPlacement(WindowId window, const WindowPlacement& placement) override;
  bool RegisterHotKey(int id, unsigned modifiers, unsigned virtualKey) override;
  void UnregisterHotKey(int id) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace cv::win32
