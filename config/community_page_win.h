#pragma once
// The "Applications (community)" tab of the selection dialog: the community
// definitions that apply here, by group and name.
#include <functional>
#include <memory>

#include "config/selection_dialog_win.h"

namespace cv::ui {

inline constexpr wchar_t kCommunityTabCaption[] = L"Applications (community)";

std::function<std::unique_ptr<PageContent>(SelectionDialog&)> CommunityPageFor();

}  // namespace cv::ui
