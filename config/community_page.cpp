#include "config/community_page.h"

#include <algorithm>

#include "clean/winapp2_items.h"
#include "config/inifun.h"
#include "platform/text.h"

namespace cv {

CommunityPageModel::CommunityPageModel(Platform& platform, std::vector<ExtraItem> items) : platform_(platform) {
  for (ExtraItem& item : items)
    if (item.source == kWinapp2Source) items_.push_back(std::move(item));
  ticked_.assign(items_.size(), false);
}

void CommunityPageModel::Load() {
  std::vector<Inifun::Value> keys;
  for (const ExtraItem& item : items_) keys.push_back({item.section, item.key, {}});
  Inifun ini(platform_.files);
  const std::vector<std::string> values =
      ini.ReadIniValues(platform_.shell.ProgramFolder() + std::string(kSelectionFileName), keys);
  for (std::size_t i = 0; i < items_.size() && i < values.size(); ++i) ticked_[i] = values[i] == "1";
}

std::vector<std::string> CommunityPageModel::Save() {
  if (items_.empty()) return {};
  std::vector<Inifun::Value> values;
  for (std::size_t i = 0; i < items_.size(); ++i)
    values.push_back({items_[i].section, items_[i].key, ticked_[i] ? "1" : "0"});
  const std::string file = platform_.shell.ProgramFolder() + std::string(kSelectionFileName);
  if (Inifun(platform_.files).WriteIniValues(file, values) != kOk) return {file};
  return {};
}

std::string CommunityPageModel::SetTicked(std::size_t index, bool ticked) {
  const bool newlyTicked = ticked && !ticked_[index];
  ticked_[index] = ticked;
  return newlyTicked ? items_[index].warning : std::string();
}

std::vector<std::size_t> CommunityPageModel::Visible(std::string_view search) const {
  const std::string wanted = AsciiLower(TrimBlanks(search));
  std::vector<std::size_t> visible;
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (AsciiLower(items_[i].displayName).find(wanted) != std::string::npos) visible.push_back(i);
  std::stable_sort(visible.begin(), visible.end(), [&](std::size_t a, std::size_t b) {
    const std::string groupA = AsciiLower(items_[a].group), groupB = AsciiLower(items_[b].group);
    if (groupA != groupB) return groupA < groupB;
    return AsciiLower(items_[a].displayName) < AsciiLower(items_[b].displayName);
  });
  return visible;
}

}  // namespace cv
