#include "app/boss_key.h"

#include <algorithm>
#include <string>

#include "app/main_texts.h"

namespace cv {

namespace {

constexpr unsigned kWmHotKeyMask = 0xFFFF;

constexpr std::string_view kAlwaysHiddenClasses[] = {"IEFrame", "CabinetWClass"};

// Top-level classes of today's browsers, hidden only for the browser's own
// process: other programs (editors, chat clients) share these classes.
struct ModernBrowser {
  std::string_view windowClass;
  std::string_view process;
};
constexpr ModernBrowser kModernBrowsers[] = {
    {"Chrome_WidgetWin_1", "chrome.exe"},    {"Chrome_WidgetWin_1", "msedge.exe"},
    {"Chrome_WidgetWin_1", "brave.exe"},     {"Chrome_WidgetWin_1", "vivaldi.exe"},
    {"Chrome_WidgetWin_1", "opera.exe"},     {"Chrome_WidgetWin_1", "chromium.exe"},
    {"MozillaWindowClass", "firefox.exe"},   {"MozillaWindowClass", "waterfox.exe"},
    {"MozillaWindowClass", "librewolf.exe"},
};

constexpr std::string_view kKeyInUseText =
    "Windows+Z or Windows+Shift+Z is already used by another program, so the boss key cannot hide or show "
    "windows now. It starts working when that program releases the keys and Clearvane is started again.";

}  // namespace

HotKeyAction DecodeHotKey(std::uint64_t hotKeyId, std::uint64_t lParam) {
  const unsigned modifiers = static_cast<unsigned>(lParam & kWmHotKeyMask);
  const unsigned key = static_cast<unsigned>((lParam >> 16) & kWmHotKeyMask);
  if (key != kVirtualKeyZ) return HotKeyAction::None;
  if (modifiers == kHideModifiers && hotKeyId == kHideHotKeyId) return HotKeyAction::Hide;
  if (modifiers == kShowModifiers && hotKeyId == kShowHotKeyId) return HotKeyAction::Show;
  return HotKeyAction::None;
}

void BossKey::SwitchOn() {
  if (on_) return;
  const bool hide = windows_.RegisterHotKey(kHideHotKeyId, kHideModifiers, kVirtualKeyZ);
  const bool show = windows_.RegisterHotKey(kShowHotKeyId, kShowModifiers, kVirtualKeyZ);
  on_ = true;
  if ((!hide || !show) && !toldKeyInUse_) {
    toldKeyInUse_ = true;
    messages_.Show(kKeyInUseText, texts::kApplicationTitle, kMbOk | kMbIconExclamation);
  }
}

void BossKey::SwitchOff() {
  windows_.UnregisterHotKey(kHideHotKeyId);
  windows_.UnregisterHotKey(kShowHotKeyId);
  on_ = false;
}

void BossKey::HotKey(std::uint64_t hotKeyId, std::uint64_t lParam) {
  switch (DecodeHotKey(hotKeyId, lParam)) {
    case HotKeyAction::Hide:
      HideBrowserWindows();
      break;
    case HotKeyAction::Show:
      ShowBrowserWindows();
      break;
    case HotKeyAction::None:
      break;
  }
}

bool BossKey::IsBrowserWindow(WindowId window) {
  const std::string windowClass = windows_.ClassName(window);
  if (std::ranges::find(kAlwaysHiddenClasses, windowClass) != std::end(kAlwaysHiddenClasses)) return true;
  if (!hideModernBrowsers_) return false;
  const bool modernClass =
      std::ranges::any_of(kModernBrowsers, [&](const ModernBrowser& b) { return b.windowClass == windowClass; });
  if (!modernClass) return false;
  const std::string process = windows_.ProcessFileName(window);
  return std::ranges::any_of(
      kModernBrowsers, [&](const ModernBrowser& b) { return b.windowClass == windowClass && b.process == process; });
}

void BossKey::HideBrowserWindows() {
  // Entries of windows that have closed meanwhile go: their handles may be
  // given to new windows.
  std::erase_if(HiddenWindowList_, [&](const HiddenWindow& entry) { return !windows_.Placement(entry.window); });
  for (const WindowId window : windows_.TopLevelWindows()) HideIfBrowserWindow(window);
}

void BossKey::HideIfBrowserWindow(WindowId window) {
  if (windows_.IsOwnWindow(window) || !windows_.IsVisible(window) || !IsBrowserWindow(window)) return;
  auto placement = windows_.Placement(window);
  if (!placement) return;
  const auto known = std::ranges::find(HiddenWindowList_, window, &HiddenWindow::window);
  if (known != HiddenWindowList_.end())
    known->placement = *placement;
  else
    HiddenWindowList_.push_back({window, windows_.ClassName(window), *placement});
  placement->showCommand = kShowHide;
  windows_.SetPlacement(window, *placement);
}

void BossKey::ShowBrowserWindows() {
  for (auto entry = HiddenWindowList_.rbegin(); entry != HiddenWindowList_.rend(); ++entry)
    if (entry->window != 0 && windows_.ClassName(entry->window) == entry->windowClass)
      windows_.SetPlacement(entry->window, entry->placement);
}

}  // namespace cv
