#include "config/modern_browsers_page_win.h"

#include "clean/items_modern_browsers.h"
#include "config/extra_items_page_win.h"
#include "keep/domain_keep_window.h"
#include "keep/domain_keep_window_win.h"
#include "platform/win32/text_win.h"
#include "resources/modern_browsers_res.h"

namespace cv::ui {

std::wstring ModernBrowsersTabCaption() { return win32::Widen(kModernBrowsersGroup); }

std::function<std::unique_ptr<PageContent>(SelectionDialog&)> ModernBrowsersPageFor() {
  ExtraItemsPageSpec spec{
      ModernBrowserItems,
      kModernBrowsersSource,
      ExtraItemsOrder::kAsGiven,
      L"Browser and traces",
      false,
      IDC_BROWSERS_SEARCH_LABEL,
      IDC_BROWSERS_SEARCH,
      IDC_BROWSERS_LIST,
      IDC_BROWSERS_WARNING,
      win32::Widen(kKeptDomainsButtonCaption),
      IDC_BROWSERS_KEPT_DOMAINS,
      [](SelectionDialog& dialog) { ShowDomainKeepList(dialog.Instance(), dialog.Handle(), dialog.Services()); }};
  return ExtraItemsPageFor(std::move(spec));
}

}  // namespace cv::ui
