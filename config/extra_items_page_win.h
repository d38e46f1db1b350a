#pragma once
// A selection-dialog tab listing the items of one extra source: a search
// box, the items as a list with check boxes (name, and group where the
// source has several), the warning of the selected entry, and optionally a
// button of the page's own below the list.
#include <functional>
#include <memory>
#include <string>

#include "clean/item.h"
#include "config/extra_items_page.h"
#include "config/selection_dialog_win.h"

namespace cv::ui {

struct ExtraItemsPageSpec {
  ItemSourceFn items;  // the source that finds the page's items
  std::string_view source;  // their source tag
  ExtraItemsOrder order;
  std::wstring nameColumn;  // caption of the name column
  bool groupColumn;         // a second column with the item's group
  int searchLabelId, searchId, listId, warningId;
  // The page's own button (none when the caption is empty), with its action.
  std::wstring buttonCaption = {};
  int buttonId = 0;
  std::function<void(SelectionDialog&)> onButton = {};
};

// The tab's content builder for SelectionTabs(); it adds the page's model
// to the dialog's model, which loads and saves it with the rest.
std::function<std::unique_ptr<PageContent>(SelectionDialog&)> ExtraItemsPageFor(ExtraItemsPageSpec spec);

}  // namespace cv::ui
