#pragma once
// The cleaning run's 140 items as data, in run order: the switch each one
// reads, the row text it shows and the progress checkpoint set after it. The
// actions are bound by number in each item group's source (clean/item_groups.h).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "config/selection_schema.h"

namespace cv {

// Which source implements an item.
enum class ItemGroup : std::uint8_t {
  kInternetExplorer,
  kMozillaOpera,  // Firefox, Opera, Netscape, Mozilla
  kAolMsnMaxthonChromeSafari,
  kWindows,
  kMessenger,
  kOffice,
  kOutlookExpress,
  kWindowsMail,
  kCustom,
};

struct RunItem {
  int number;                    // 1..140
  std::string_view section;      // switch section as the run passes it
  std::string_view key;          // switch key as the run passes it
  std::string_view displayName;  // row text
  std::optional<int> progress;   // checkpoint set after the row, selected or not
  ItemGroup group;
};

inline constexpr std::size_t kRunItemCount = 140;

// The Office version is detected, always and without a row, just before this
// item (between items 109 and 110).
inline constexpr int kOfficeDetectionBeforeItem = 110;
// The custom files and folders item: the other sources' items come just
// before it, the plug-in rows follow it.
inline constexpr int kCustomItemNumber = 140;
// Set after the plug-in rows, whether any plug-in ran or not.
inline constexpr int kPluginCheckpoint = 97;

// All items in run order; item n is at index n - 1.
std::span<const RunItem> RunItems();
const RunItem* FindRunItem(int number);
// The selection-file switch an item reads (nullptr if the tables disagree).
const ItemSwitch* SwitchOf(const RunItem& item);
// Whether the stored switch value selects the item (the one switch rule: a
// missing file or key, a fresh install, must never start erasing).
bool SelectsItem(const RunItem& item, std::string_view value);

}  // namespace cv
