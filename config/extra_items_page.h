#pragma once
// A page of the selection dialog listing the items of one source other than
// the built-in items and plug-ins (clean/item.h), without its window: the community definitions that
// apply to this machine, or today's browsers. The entries are narrowed by a
// search on the name; their ticks live in the source's own sections of the
// selection file and are written with the dialog's switches in its one
// replace of that file. An entry is unticked until the user ticks it, and
// ticking one that carries a warning shows the warning.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "clean/item.h"
#include "config/selection_dialog.h"
#include "platform/platform.h"

namespace cv {

// The search box's caption on every such page.
inline constexpr std::string_view kExtraItemsSearchCaption = "&Search:";

enum class ExtraItemsOrder {
  kByGroupThenName,  // community definitions: many groups, many names
  kAsGiven,          // today's browsers: the source's own order, browser by browser
};

class ExtraItemsPageModel : public SelectionDialogPart {
 public:
  // `items`: any sources' items; the page keeps those of `source`.
  ExtraItemsPageModel(Platform& platform, std::vector<Item> items, std::string_view source, ExtraItemsOrder order);

  // Ticks from the selection file: an entry is ticked for exactly "1".
  void Load() override;
  // Every entry's switch as "1" or "0".
  std::vector<Inifun::Value> SelectionValues() const override;
  std::vector<std::string> Save() override { return {}; }

  std::size_t Count() const { return items_.size(); }
  const Item& At(std::size_t index) const { return items_[index]; }
  bool Ticked(std::size_t index) const { return ticked_[index]; }
  // Returns the warning to show: the item's own, when this ticks an item that has one.
  std::string SetTicked(std::size_t index, bool ticked);

  // The entries whose name holds `search` (ASCII letter case ignored; all
  // for an empty search), in the page's order.
  std::vector<std::size_t> Visible(std::string_view search) const;

 private:
  Platform& platform_;
  std::vector<Item> items_;
  ExtraItemsOrder order_;
  std::vector<bool> ticked_;
};

}  // namespace cv
