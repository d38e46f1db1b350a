#include "config/extra_items_page.h"

#include <algorithm>

#include "config/inifun.h"
#include "config/selection_schema.h"
#include "platform/text.h"

namespace cv {

ExtraItemsPageModel::ExtraItemsPageModel(Platform& platform, std::vector<Item> items, std::string_view source,
                                         ExtraItemsOrder order)
    : platform_(platform), order_(order) {
  for (Item& item : items)
    if (item.source == source) items_.push_back(std::move(item));
  ticked_.assign(items_.size(), false);
}

void ExtraItemsPageModel::Load() {
  std::vector<Inifun::Value> keys;
  for (const Item& item : items_) keys.push_back({item.section, item.key, {}});
  Inifun ini(platform_.files);
  const std::vector<std::string> values =
      ini.ReadIniValues(platform_.shell.ProgramFolder() + std::string(kSelectionFileName), keys);
  for (std::size_t i = 0; i < items_.size() && i < values.size(); ++i) ticked_[i] = SwitchIsOn(values[i]);
}

std::vector<Inifun::Value> ExtraItemsPageModel::SelectionValues() const {
  std::vector<Inifun::Value> values;
  for (std::size_t i = 0; i < items_.size(); ++i)
    values.push_back({items_[i].section, items_[i].key, ticked_[i] ? "1" : "0"});
  return values;
}

std::string ExtraItemsPageModel::SetTicked(std::size_t index, bool ticked) {
  const bool newlyTicked = ticked && !ticked_[index];
  ticked_[index] = ticked;
  return newlyTicked ? items_[index].warning : std::string();
}

std::vector<std::size_t> ExtraItemsPageModel::Visible(std::string_view search) const {
  const std::string wanted = AsciiLower(TrimBlanks(search));
  std::vector<std::size_t> visible;
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (AsciiLower(items_[i].displayName).find(wanted) != std::string::npos) visible.push_back(i);
  if (order_ == ExtraItemsOrder::kAsGiven) return visible;
  std::stable_sort(visible.begin(), visible.end(), [&](std::size_t a, std::size_t b) {
    const std::string groupA = AsciiLower(items_[a].group), groupB = AsciiLower(items_[b].group);
    if (groupA != groupB) return groupA < groupB;
    return AsciiLower(items_[a].displayName) < AsciiLower(items_[b].displayName);
  });
  return visible;
}

}  // namespace cv
