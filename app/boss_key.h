#pragma once
// The boss key: Windows+Z hides every Internet Explorer and Explorer folder
// window (and, when asked, the windows of today's browsers); Windows+Shift+Z
// brings them back as they were.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_windows.h"
#include "platform/ui.h"

namespace cv {

inline constexpr int kHideHotKeyId = 95;   // Windows+Z
inline constexpr int kShowHotKeyId = 111;  // Windows+Shift+Z
inline constexpr unsigned kHideModifiers = kModWin;
inline constexpr unsigned kShowModifiers = kModWin | kModShift;
inline constexpr unsigned kVirtualKeyZ = 90;

enum class HotKeyAction { None, Hide, Show };
// WM_HOTKEY: the identifier, the modifiers (low word of lParam) and the key
// (high word) must all match one of the two hot keys.
HotKeyAction DecodeHotKey(std::uint64_t hotKeyId, std::uint64_t lParam);

struct HiddenWindow {
  WindowId window = 0;
  std::string windowClass;
  WindowPlacement placement;  // as it was before the hide
};

class BossKey {
 public:
  BossKey(DesktopWindows& windows, MessageBoxes& messages) : windows_(windows), messages_(messages) {}

  // Registers both hot keys once. A combination taken by another program
  // leaves the boss key switched on (the other program may let it go) and is
  // told to the user once per program run.
  void SwitchOn();
  void SwitchOff();
  bool IsOn() const { return on_; }
  void SetHideModernBrowsers(bool hide) { hideModernBrowsers_ = hide; }

  void HotKey(std::uint64_t hotKeyId, std::uint64_t lParam);
  // Hides the visible browser and folder windows and records their
  // placements. A window hidden already keeps the placement recorded when it
  // was visible; one that its own program hid is not ours to show later.
  void HideBrowserWindows();
  // Applies the recorded placements, last to first; the list stays, so a
  // second show changes nothing. A window that has gone, or whose handle now
  // names a window of another kind, is skipped.
  void ShowBrowserWindows();
  const std::vector<HiddenWindow>& HiddenWindowList() const { return HiddenWindowList_; }

 private:
  bool IsBrowserWindow(WindowId window);
  void HideIfBrowserWindow(WindowId window);

  DesktopWindows& windows_;
  MessageBoxes& messages_;
  bool on_ = false;
  bool toldKeyInUse_ = false;
  bool hideModernBrowsers_ = false;
  std::vector<HiddenWindow> HiddenWindowList_;
};

}  // namespace cv
