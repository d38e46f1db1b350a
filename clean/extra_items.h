#pragma once
// Items from sources beyond the 140 built-in items and the plug-in files:
// community definition files, today's browsers. A source turns what it finds
// on this machine into items; the run, the preview, the command line's list
// and report and the selection dialog take them from here like the built-in
// items, so a new source adds items, not paths through the run.
//
// In the run these items come after item 139 and before the custom item
// (140), sources in table order, each source's items in the order it gives
// them. An item runs when its switch in the selection file is exactly "1": it
// gets its own results row ("Done", or the final text its action sets), and
// its action erases through the run's primitives (run.erase), so preview and
// clean share one path and the sink hears every entry. The action adds what
// it erased to run.RegistryKeysCleaned and run.BytesReleased; no fixed
// amounts are added for it.
//
// To add a source: write `std::vector<ExtraItem> YourItems(Platform&)` and
// add it to the table in clean/extra_items.cpp.
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace cv {

class RunContext;

struct ExtraItem {
  std::string section;  // switch in the selection file: a section of the source's own
  std::string key;
  std::string displayName;  // results row and dialog text
  std::string group;        // heading the selection dialog shows the item under
  std::string source;       // short tag, "winapp2", "browser": "source" of the JSON report
  std::string warning;      // shown when the user ticks the item; empty for none
  std::function<void(RunContext&)> action;
};

using ExtraItemSourceFn = std::vector<ExtraItem> (*)(Platform& platform);

// The sources, in run order.
std::span<const ExtraItemSourceFn> ExtraItemSources();
// Every source's items for this machine, in run order.
std::vector<ExtraItem> LoadExtraItems(Platform& platform);

// The rows of the selected items (clean/clean_run.cpp calls it before item 140).
void RunExtraItems(RunContext& run, std::span<const ExtraItem> items);

}  // namespace cv
