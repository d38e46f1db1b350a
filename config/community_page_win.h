#pragma once
// The "Applications (community)" tab of the selection dialog: a search box,
// the community definitions that apply here as a list with check boxes
// (name and group), and the warning of the selected entry.
#include <functional>
#include <memory>

#include "config/selection_dialog_win.h"

namespace cv::ui {

inline constexpr wchar_t kCommunityTabCaption[] = L"Applications (community)";

// The tab's content builder for SelectionTabs(); it adds the page's model
// to the dialog's model, which loads and saves it with the rest.
std::function<std::unique_ptr<PageContent>(SelectionDialog&)> CommunityPageFor();

}  // namespace cv::ui
