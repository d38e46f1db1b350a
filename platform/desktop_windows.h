#pragma once
// The top-level windows of the desktop and the system-wide hot keys of the
// program's main window: what the boss key needs from the window manager.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cv {

// A top-level window's handle, as a number.
using WindowId = std::uint64_t;

// The window's placement as GetWindowPlacement reports it.
struct WindowPlacement {
  std::uint32_t flags = 0;
  std::uint32_t showCommand = 0;  // SW_HIDE 0, SW_SHOWNORMAL 1, SW_SHOWMINIMIZED 2, SW_SHOWMAXIMIZED 3 ...
  int minX = 0, minY = 0, maxX = 0, maxY = 0;
  int left = 0, top = 0, right = 0, bottom = 0;  // the normal rectangle
  bool operator==(const WindowPlacement&) const = default;
};

inline constexpr std::uint32_t kShowHide = 0;
inline constexpr std::uint32_t kShowNormal = 1;
inline constexpr std::uint32_t kShowMinimized = 2;
inline constexpr std::uint32_t kShowMaximized = 3;

inline constexpr unsigned kModWin = 8;
inline constexpr unsigned kModShift = 4;

class DesktopWindows {
 public:
  virtual ~DesktopWindows() = default;
  // Every top-level window, in the system's z-order (EnumWindows).
  virtual std::vector<WindowId> TopLevelWindows() = 0;
  // GetClassName; empty for a window that has gone.
  virtual std::string ClassName(WindowId window) = 0;
  virtual bool IsVisible(WindowId window) = 0;
  // Whether the window belongs to this program's own process.
  virtual bool IsOwnWindow(WindowId window) = 0;
  // The full path of the window's process image, lower case; empty when it
  // cannot be read.
  virtual std::string ProcessImagePath(WindowId window) = 0;
  // Its file name alone ("chrome.exe").
  std::string ProcessFileName(WindowId window) {
    const std::string path = ProcessImagePath(window);
    return path.substr(path.find_last_of("\\/") + 1);
  }
  // nullopt for a window that has gone.
  virtual std::optional<WindowPlacement> Placement(WindowId window) = 0;
  // False, changing nothing, for a window that has gone.
  virtual bool SetPlacement(WindowId window, const WindowPlacement& placement) = 0;

  // RegisterHotKey / UnregisterHotKey on the program's main window. False
  // when the combination is taken by another program.
  virtual bool RegisterHotKey(int id, unsigned modifiers, unsigned virtualKey) = 0;
  virtual void UnregisterHotKey(int id) = 0;
};

}  // namespace cv
