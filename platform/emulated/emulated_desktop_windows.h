#pragma once
// Top-level windows held in memory for the native tests: each has a class,
// a process, a placement; hot keys can be marked as taken by another program.
#include <map>
#include <set>
#include <string>

#include "platform/desktop_windows.h"

namespace cv::emulated {

class EmulatedDesktopWindows : public DesktopWindows {
 public:
  struct Window {
    std::string windowClass;
    std::string process = "explorer.exe";  // the image's file name or full path
    bool own = false;
    WindowPlacement placement{0, kShowNormal, -1, -1, -1, -1, 10, 10, 400, 300};
  };

  // Adds a window on top of the others; returns its handle.
  WindowId Open(Window window);
  void Close(WindowId window) { windows_.erase(window); }
  const Window& Get(WindowId window) const { return windows_.at(window); }

  std::vector<WindowId> TopLevelWindows() override;
  std::string ClassName(WindowId window) override;
  bool IsVisible(WindowId window) override;
  bool IsOwnWindow(WindowId window) override;
  std::string ProcessImagePath(WindowId window) override;
  std::optional<WindowPlacement> Placement(WindowId window) override;
  bool SetPlacement(WindowId window, const WindowPlacement& placement) override;
  bool RegisterHotKey(int id, unsigned modifiers, unsigned virtualKey) override;
  void UnregisterHotKey(int id) override;

  // Combinations (modifiers << 16 | key) other programs hold.
  std::set<unsigned> takenElsewhere;
  // Our registrations: id -> combination.
  std::map<int, unsigned> registered;
  int registerCalls = 0;

 private:
  std::map<WindowId, Window> windows_;
  WindowId next_ = 0x10010;
};

}  // namespace cv::emulated
