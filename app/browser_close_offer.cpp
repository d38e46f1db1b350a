#include "app/browser_close_offer.h"

#include "app/main_texts.h"
#include "clean/browser_clean.h"
#include "clean/browser_profiles.h"
#include "clean/path_guard.h"
#include "config/inifun.h"
#include "config/selection_schema.h"
#include "platform/text.h"

namespace cv {

namespace {

std::string Below(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path.append(name);
}

// Classic items that clean a today's browser's databases as its own items do,
// and so are skipped while it runs.
struct ClassicSwitch {
  std::string_view browserSection, section, key;
};
constexpr ClassicSwitch kClassicSwitches[] = {
    {"ModernFirefox", "FIREFOX", "Address"},  {"ModernFirefox", "FIREFOX", "History"},
    {"ModernFirefox", "FIREFOX", "Download"}, {"ModernChrome", "Chrome", "download"},
    {"ModernChrome", "Chrome", "Forms"},
};

}  // namespace

bool BrowserRunning(Platform& platform, const StartupValues& values, const BrowserSpec& browser) {
  const BrowserFolders folders = FoldersOf(browser, values.AppDataFolder, values.LocalAppDataFolder);
  if (folders.root.empty()) return false;
  if (browser.family == BrowserFamily::kChromium)
    return IsLockHeld(platform.files, Below(folders.root, kChromiumLockFile), browser.family);
  const PathGuard guard = PathGuard::ForSystem(platform.shell, platform.files);
  for (const BrowserProfile& profile :
       FindProfiles(platform.files, guard, browser, folders, UserDataFoldersOf(platform)).profiles)
    if (IsLockHeld(platform.files, Below(profile.folder, kFirefoxLockFile), browser.family)) return true;
  return false;
}

std::vector<const BrowserSpec*> TickedRunningBrowsers(Platform& platform, const StartupValues& values,
                                                      std::string_view selectionFile) {
  std::vector<Inifun::Value> keys;
  for (const BrowserSpec& browser : Browsers())
    for (const TraceKindInfo& kind : TraceKinds()) keys.push_back({browser.section, kind.key, {}});
  for (const ClassicSwitch& classic : kClassicSwitches) keys.push_back({classic.section, classic.key, {}});
  const std::vector<std::string> stored = Inifun(platform.files).ReadIniValues(selectionFile, keys);
  const std::size_t classicFrom = Browsers().size() * TraceKinds().size();

  std::vector<const BrowserSpec*> running;
  std::size_t next = 0;
  for (const BrowserSpec& browser : Browsers()) {
    bool ticked = false;
    for (std::size_t k = 0; k < TraceKinds().size(); ++k, ++next)
      ticked = ticked || (next < stored.size() && SwitchIsOn(stored[next]));
    for (std::size_t c = 0; c < std::size(kClassicSwitches); ++c)
      ticked = ticked || (kClassicSwitches[c].browserSection == browser.section && classicFrom + c < stored.size() &&
                          SwitchIsOn(stored[classicFrom + c]));
    if (ticked && BrowserRunning(platform, values, browser)) running.push_back(&browser);
  }
  return running;
}

std::vector<WindowId> BrowserWindows(DesktopWindows& desktop, const BrowserSpec& browser) {
  std::vector<WindowId> windows;
  if (browser.processImage.empty()) return windows;
  const std::string image = AsciiLower(browser.processImage);
  for (WindowId window : desktop.TopLevelWindows()) {
    if (!desktop.IsVisible(window) || desktop.IsOwnWindow(window)) continue;
    const std::string path = desktop.ProcessImagePath(window);
    if (path.substr(path.find_last_of("\\/") + 1) == image && path.find(browser.processFolder) != std::string::npos)
      windows.push_back(window);
  }
  return windows;
}

std::string CloseBrowserQuestion(const BrowserSpec& browser) {
  return std::string(browser.name) + " is running. Close it now so its traces can be cleaned?";
}

void OfferToCloseRunningBrowsers(Platform& platform, const StartupValues& values, std::string_view selectionFile,
                                 BrowserCloser& closer) {
  for (const BrowserSpec* browser : TickedRunningBrowsers(platform, values, selectionFile)) {
    // It may have ended while an earlier question was open.
    if (!BrowserRunning(platform, values, *browser)) continue;
    const int answer =
        platform.messages.Show(CloseBrowserQuestion(*browser), texts::kApplicationTitle, kMbYesNo | kMbIconQuestion);
    if (answer != kIdYes) continue;
    closer.Close(*browser, [&platform, &values, browser] { return BrowserRunning(platform, values, *browser); });
  }
}

}  // namespace cv
