#pragma once
// What each page of the selection dialog holds, in tab order: its frames and
// their controls with captions (mnemonics assigned per page). The Win32 view
// builds the pages from this, so the switch table stays the only source.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "config/selection_schema.h"

namespace cv {

enum class PageControlKind {
  kSwitchBox,      // one of the 140 boxes
  kSelectAll,      // a frame's select-all box
  kUrlOptions,     // "Options" beside "IE Address Bar History"
  kCookieOptions,  // "Options" beside "IE Cookies"
  kCustomList,     // ListView2
  kCustomAdd,      // "Add"
  kCustomRemove,   // "Remove"
  kCustomClear,    // "Clear"
  kPluginList,     // ListView1
};

struct PageControl {
  PageControlKind kind;
  std::size_t switchIndex = 0;  // kSwitchBox: index in ItemSwitches()
  std::string caption;          // with its "&" mnemonic; empty for lists
};

struct PageFrame {
  // nullopt for controls outside any frame (the plug-in list).
  std::optional<SelectionFrame> frame;
  std::vector<PageControl> controls;
};

// The frames of a leaf page in order, each with its controls in tab order.
std::vector<PageFrame> PageLayout(SelectionPage page);

}  // namespace cv
