#include "clean/items_modern_browsers.h"

#include "clean/browser_clean.h"
#include "clean/browser_model.h"

namespace cv {

namespace {

// What the user should know before ticking a kind that costs more than disk
// space.
std::string_view WarningFor(TraceKind kind) {
  switch (kind) {
    case TraceKind::kCookies:
      return "Deleting cookies signs you out of web sites. Cookies of the "
             "domains listed in keepdomains.dat stay.";
    case TraceKind::kSessions:
      return "Open and recently closed tabs and windows can no longer be "
             "restored.";
    case TraceKind::kSiteStorage:
      return "Web sites lose the data they keep on this computer, such as "
             "offline mail.";
    default:
      return {};
  }
}

}  // namespace

std::vector<Item> ModernBrowserItems(Platform&) {
  std::vector<Item> items;
  for (const BrowserSpec& browser : Browsers()) {
    for (const TraceKindInfo& kind : TraceKinds()) {
      Item item;
      item.section = browser.section;
      item.key = kind.key;
      item.displayName = std::string(browser.name) + " " + std::string(kind.name);
      item.group = kModernBrowsersGroup;
      item.source = kModernBrowsersSource;
      item.warning = WarningFor(kind.kind);
      item.action = [&browser, k = kind.kind](RunContext& run) { CleanBrowserTraces(run, browser, k); };
      items.push_back(std::move(item));
    }
  }
  return items;
}

}  // namespace cv
