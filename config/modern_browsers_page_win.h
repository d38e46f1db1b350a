#pragma once
// The "Modern browsers" tab of the selection dialog: one entry per browser
// and kind of trace, in the browser table's order, and "Kept domains..."
// for the domains whose cookies stay.
#include <functional>
#include <memory>

#include "config/selection_dialog_win.h"

namespace cv::ui {

std::wstring ModernBrowsersTabCaption();
std::function<std::unique_ptr<PageContent>(SelectionDialog&)> ModernBrowsersPageFor();

}  // namespace cv::ui
