#pragma once
// The selection-dialog tabs of the sources beyond the built-in items and
// plug-ins, one generic page each: a search box, the source's items as a
// list with check boxes (name, and group where the source has several), the
// warning of the selected entry, and optionally a button of the page's own
// below the list. The pages take their items from one load of the sources
// (OtherSourceItems) per dialog.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/extra_items_page.h"
#include "config/selection_dialog_win.h"

namespace cv::ui {

// Where a source's tab sits among the dialog's tabs.
enum class SourceTabPlace {
  kAfterBrowsers,      // right after "Browsers"
  kAfterWindows,       // right after "Windows"
  kAfterApplications,  // right after "Applications"
};

struct SourceTab {
  std::wstring caption;
  SourceTabPlace place;
  // The tab's content builder for SelectionTabs(); it adds the page's model
  // to the dialog's model, which loads and saves it with the rest.
  std::function<std::unique_ptr<PageContent>(SelectionDialog&)> content;
};

// One tab per source that has a page, in source order.
std::vector<SourceTab> SourceTabs();

}  // namespace cv::ui
