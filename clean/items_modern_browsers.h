#pragma once
// Today's browsers as items of the run: one item per browser and kind of
// trace (clean/browser_model.h), each with its switch in the browser's own
// section of the selection file, run after the built-in items.
#include <string_view>
#include <vector>

#include "clean/item.h"

namespace cv {

inline constexpr std::string_view kModernBrowsersGroup = "Modern browsers";
inline constexpr std::string_view kModernBrowsersSource = "browser";

std::vector<Item> ModernBrowserItems(Platform& platform);

}  // namespace cv
