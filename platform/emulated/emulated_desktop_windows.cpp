#include "platform/emulated/emulated_desktop_windows.h"

#include <algorithm>

#include "platform/text.h"

namespace cv::emulated {

WindowId EmulatedDesktopWindows::Open(Window window) {
  next_ += 4;
  windows_[next_] = std::move(window);
  return next_;
}

std::vector<WindowId> EmulatedDesktopWindows::TopLevelWindows() {
  // Newest first, as the top of the z-order comes first.
  std::vector<WindowId> ids;
  for (const auto& [id, window] : windows_) ids.push_back(id);
  std::ranges::reverse(ids);
  return ids;
}

std::string EmulatedDesktopWindows::ClassName(WindowId window) {
  const auto found = windows_.find(window);
  return found == windows_.end() ? std::string() : found->second.windowClass;
}

bool EmulatedDesktopWindows::IsVisible(WindowId window) {
  const auto found = windows_.find(window);
  return found != windows_.end() && found->second.placement.showCommand != kShowHide;
}

bool EmulatedDesktopWindows::IsOwnWindow(WindowId window) {
  const auto found = windows_.find(window);
  return found != windows_.end() && found->second.own;
}

std::string EmulatedDesktopWindows::ProcessImagePath(WindowId window) {
  const auto found = windows_.find(window);
  return found == windows_.end() ? std::string() : AsciiLower(found->second.process);
}

std::optional<WindowPlacement> EmulatedDesktopWindows::Placement(WindowId window) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return std::nullopt;
  // A hidden window reports the state it would come back in, as Windows does.
  WindowPlacement placement = found->second.placement;
  if (placement.showCommand == kShowHide) placement.showCommand = kShowNormal;
  return placement;
}

bool EmulatedDesktopWindows::SetPlacement(WindowId window, const WindowPlacement& placement) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return false;
  found->second.placement = placement;
  return true;
}

bool EmulatedDesktopWindows::RegisterHotKey(int id, unsigned modifiers, unsigned virtualKey) {
  ++registerCalls;
  const unsigned combination = modifiers << 16 | virtualKey;
  if (takenElsewhere.contains(combination) || registered.contains(id)) return false;
  registered[id] = combination;
  return true;
}

void EmulatedDesktopWindows::UnregisterHotKey(int id) { registered.erase(id); }

}  // namespace cv::emulated
