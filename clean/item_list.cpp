#include "clean/item_list.h"

#include <array>

#include "clean/item_groups.h"
#include "clean/items_modern_browsers.h"
#include "clean/items_modern_windows.h"
#include "clean/run_items.h"
#include "clean/winapp2_items.h"

namespace cv {

namespace {

constexpr std::array<ItemSourceFn, 3> kOtherSources{ModernBrowserItems, ModernWindowsItems, Winapp2Items};

}  // namespace

std::vector<ItemBinding> AllItemBindings() {
  std::vector<ItemBinding> all;
  for (auto group : {InternetExplorerItems(), MozillaOperaItems(), OtherBrowserItems(), WindowsItems(),
                     MessengerItems(), OfficeItems(), MailItems(), CustomItems()})
    all.insert(all.end(), group.begin(), group.end());
  return all;
}

std::vector<Item> BuiltInItems() {
  std::array<ItemActionFn, kRunItemCount + 1> actions{};
  for (const ItemBinding& binding : AllItemBindings())
    if (binding.number >= 1 && binding.number <= static_cast<int>(kRunItemCount))
      actions[static_cast<std::size_t>(binding.number)] = binding.action;

  std::vector<Item> items;
  items.reserve(kRunItemCount);
  for (const RunItem& row : RunItems()) {
    Item item;
    item.section = row.section;
    item.key = row.key;
    item.displayName = row.displayName;
    if (const ItemSwitch* itemSwitch = SwitchOf(row)) item.group = FrameInfo(itemSwitch->frame).caption;
    item.source = kBuiltinSource;
    item.number = row.number;
    item.progress = row.progress;
    if (row.number == kOfficeDetectionBeforeItem) item.prepare = DetectOfficeVersion;
    if (ItemActionFn action = actions[static_cast<std::size_t>(row.number)]) item.action = action;
    items.push_back(std::move(item));
  }
  return items;
}

std::span<const ItemSourceFn> OtherItemSources() { return kOtherSources; }

std::vector<Item> OtherSourceItems(Platform& platform) {
  std::vector<Item> items;
  for (ItemSourceFn source : OtherItemSources()) {
    std::vector<Item> found = source(platform);
    for (Item& item : found) items.push_back(std::move(item));
  }
  return items;
}

std::vector<Item> ItemsOfRun(Platform& platform, const std::vector<Item>* otherSources) {
  std::vector<Item> items = BuiltInItems();
  const std::vector<Item> others = otherSources ? std::vector<Item>() : OtherSourceItems(platform);
  const std::vector<Item>& inserted = otherSources ? *otherSources : others;
  const auto custom = items.begin() + (kCustomItemNumber - 1);
  items.insert(custom, inserted.begin(), inserted.end());
  std::vector<Item> plugins = PluginItems(platform);
  for (Item& item : plugins) items.push_back(std::move(item));
  return items;
}

}  // namespace cv
