#include "config/selection_tabs_win.h"

#include "config/extra_items_page_win.h"
#include "platform/win32/text_win.h"

namespace cv::ui {

using win32::Widen;

std::vector<SelectionTab> SelectionTabs() {
  const std::vector<SourceTab> sourceTabs = SourceTabs();
  auto addSourceTabs = [&](std::vector<SelectionTab>& tabs, SourceTabPlace place) {
    for (const SourceTab& tab : sourceTabs)
      if (tab.place == place) tabs.push_back({tab.caption, tab.content, {}});
  };
  SelectionTab browsers{L"Browsers", nullptr, {}};
  std::vector<SelectionTab> others;
  for (const SelectionPageInfo& page : SelectionPages()) {
    if (!page.browserTab.empty()) {
      browsers.children.push_back({Widen(page.browserTab), LayoutPageFor(page.page), {}});
    } else {
      others.push_back({Widen(page.tab), LayoutPageFor(page.page), {}});
      if (page.page == SelectionPage::kWindows) addSourceTabs(others, SourceTabPlace::kAfterWindows);
      if (page.page == SelectionPage::kApplications) addSourceTabs(others, SourceTabPlace::kAfterApplications);
    }
  }
  std::vector<SelectionTab> tabs{std::move(browsers)};
  addSourceTabs(tabs, SourceTabPlace::kAfterBrowsers);
  for (SelectionTab& tab : others) tabs.push_back(std::move(tab));
  return tabs;
}

bool ShowSelectionDialog(HINSTANCE instance, HWND owner, Platform& platform) {
  SelectionDialog dialog(platform, SelectionTabs());
  return dialog.Run(instance, owner, L"Cleaning Settings") == IDOK;
}

}  // namespace cv::ui
