#pragma once
// The traces today's Windows (10 and 11) leaves, as items of the run: one item
// per kind of trace, each with its own switch in section "ModernWindows" of
// the selection file, run after today's browsers. Each item reaches exactly
// its named folders, files and registry keys, and erases them through the
// run's primitives. Folders of the system (below the Windows folder or
// ProgramData) are reached only with administrator rights; without them the
// row says what was skipped. An item that works on a service's files runs only
// while that service is stopped.
#include <string_view>
#include <vector>

#include "clean/item.h"

namespace cv {

inline constexpr std::string_view kModernWindowsGroup = "Windows 10 and 11";
inline constexpr std::string_view kModernWindowsSource = "windows";
inline constexpr std::string_view kModernWindowsSection = "ModernWindows";

// The row of an item all of whose targets need rights the process lacks.
inline constexpr std::string_view kNeedsAdministratorText = "Skipped: needs administrator rights";

std::vector<Item> ModernWindowsItems(Platform& platform);

}  // namespace cv
