#include "config/community_page_win.h"

#include "clean/winapp2_items.h"
#include "config/extra_items_page_win.h"
#include "resources/winapp2_res.h"

namespace cv::ui {

std::function<std::unique_ptr<PageContent>(SelectionDialog&)> CommunityPageFor() {
  return ExtraItemsPageFor({Winapp2Items, kWinapp2Source, ExtraItemsOrder::kByGroupThenName, L"Application", true,
                            IDC_COMMUNITY_SEARCH_LABEL, IDC_COMMUNITY_SEARCH, IDC_COMMUNITY_LIST,
                            IDC_COMMUNITY_WARNING});
}

}  // namespace cv::ui
