#pragma once
// The "Applications (community)" page of the selection dialog without its
// window: the community definitions that apply to this machine, listed by
// group and name, narrowed by a search on the name; their ticks are kept in
// the selection file's own section. An entry is unticked until the user
// ticks it, and ticking one that carries a warning shows the warning.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "clean/extra_items.h"
#include "config/selection_dialog.h"
#include "platform/platform.h"

namespace cv {

class CommunityPageModel : public SelectionDialogPart {
 public:
  // `items`: the other sources' items; the page keeps those of source "winapp2".
  CommunityPageModel(Platform& platform, std::vector<ExtraItem> items);

  // Ticks from the selection file: an entry is ticked for exactly "1".
  void Load() override;
  // Every entry's switch as "1" or "0", in one write of the selection file.
  std::vector<std::string> Save() override;

  std::size_t Count() const { return items_.size(); }
  const ExtraItem& Item(std::size_t index) const { return items_[index]; }
  bool Ticked(std::size_t index) const { return ticked_[index]; }
  // Returns the warning to show: the item's own, when this ticks an item that has one.
  std::string SetTicked(std::size_t index, bool ticked);

  // The entries whose name holds `search` (ASCII letter case ignored; all
  // for an empty search), by group and then by name.
  std::vector<std::size_t> Visible(std::string_view search) const;

 private:
  Platform& platform_;
  std::vector<ExtraItem> items_;
  std::vector<bool> ticked_;
};

}  // namespace cv
