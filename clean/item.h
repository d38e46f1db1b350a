#pragma once
// One cleaning item, whatever its source: the 140 built-in items, today's
// browsers, the community definitions, the plug-in files. The run, the
// preview, the command line's list and report and the selection dialog's
// pages all take items in this one shape from one list (clean/item_list.h).
//
// When the run reaches an item it reads the item's switch; the one switch
// rule (SwitchIsOn) decides. A selected item gets its own results row, its
// action erases through the run's primitives (run.erase), so preview and
// clean share one path and the sink hears every entry, and the row ends with
// "Done" or the final text the action set. The action adds what it erased,
// and any fixed amounts of its own, to the run's counters.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace cv {

class RunContext;

// The source tags of the items that come with the program.
inline constexpr std::string_view kBuiltinSource = "builtin";
inline constexpr std::string_view kPluginSource = "plugin";

// How an item's row begins.
enum class ItemRow : std::uint8_t {
  kStatusLine,  // "Cleaning <name> ......", also on the status label
  kPlain,       // "Cleaning <name>", the row alone (the plug-in rows)
};

struct Item {
  // The switch: a key of the selection file, or of `switchFile` when set.
  std::string section;
  std::string key;
  std::string switchFile;
  std::string displayName;  // results row and dialog text
  std::string group;        // heading the selection dialog shows the item under
  std::string source;       // "builtin", "plugin", "browser", "winapp2": "source" of the JSON report
  std::string warning;      // shown when the user ticks the item; empty for none
  std::string description;  // one line on what the item erases, shown by its page; empty for none
  int number = 0;           // a built-in item's place in the run order, 1..140; 0 for the others
  ItemRow row = ItemRow::kStatusLine;
  // Set after the item, selected or not.
  std::optional<int> progress;
  // An item that cannot run (a plug-in file that could not be read): this row
  // is shown, selected or not, and nothing runs.
  std::optional<std::string> unavailable;
  // Runs when the run reaches the item, selected or not, before its switch is read.
  std::function<void(RunContext&)> prepare;
  std::function<void(RunContext&)> action;
};

// A source: what it finds on this machine, as items, in its run order.
using ItemSourceFn = std::vector<Item> (*)(Platform& platform);

}  // namespace cv
