#pragma once
// The items of a run, in run order: the 140 built-in items, the other
// sources' items just before the custom item (140), then one item per
// plug-in file. To add a source, write `std::vector<Item> YourItems(Platform&)`
// and add it to the table of other sources in clean/item_list.cpp.
#include <span>
#include <vector>

#include "clean/item.h"

namespace cv {

// The built-in items in run order (their table: clean/run_items.h).
std::vector<Item> BuiltInItems();
// The other sources, in run order: today's browsers, today's Windows, the
// community definitions.
std::span<const ItemSourceFn> OtherItemSources();
std::vector<Item> OtherSourceItems(Platform& platform);
// One item per plug-in file, in the order the plug-in folder lists them
// (clean/items_plugins.cpp). Its switch is "on" of section "swich" in its
// own file; it adds fixed amounts to the counters besides what it erased.
std::vector<Item> PluginItems(Platform& platform);

// The list a run walks. `otherSources` null: as OtherSourceItems finds them.
std::vector<Item> ItemsOfRun(Platform& platform, const std::vector<Item>* otherSources = nullptr);

}  // namespace cv
