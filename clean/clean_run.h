#pragma once
// The cleaning run: the items of the run's list (clean/item_list.h) in their
// fixed order, each one's switch read, shown, performed and counted; then
// the figures stored and reported.
#include <string>
#include <vector>

#include "clean/allow_list.h"
#include "clean/erase_entry.h"
#include "clean/item.h"
#include "clean/run_cancel.h"
#include "clean/run_observer.h"
#include "clean/startup_values.h"
#include "platform/platform.h"

namespace cv {

struct RunOptions {
  EraseMode mode = EraseMode::Clean;
  bool unattended = false;    // report by pop-up instead of message box
  EraseSink* sink = nullptr;  // hears every erased (or, in preview, erasable) entry
  // The other sources' items; when null the run loads them (OtherSourceItems).
  const std::vector<Item>* extraItems = nullptr;
  // Looked at between two files, two registry operations and two items; a
  // request stops the run there.
  const CancelRequest* cancel = nullptr;
  // A clean that may erase only what an earlier analysis listed.
  const AllowList* allowed = nullptr;
};

enum class RunOutcome { Completed, ExitRequested, Refused, Cancelled };

struct RunResult {
  RunOutcome outcome = RunOutcome::Completed;
  double registryKeysCleaned = 0;
  double bytesReleased = 0;
  std::string lastClean;   // as read back from the selection file
  std::string statistics;  // the statistics line of the main window
};

// "  Cleaned Registry Keys: N     Released HD Space:X.XXMB"
std::string StatisticsLine(double registryKeysCleaned, double bytesReleased, char decimalSeparator);
// bytes / 1048576 with two decimals.
std::string MegabytesText(double bytes, char decimalSeparator);
// Overwrite passes of a run from the two "Options" values: 0 when
// "Enable Securely Cleaning" is off (read as its check box shows it), else 1,
// or 3 when asked.
int OverwritePasses(std::string_view securely, std::string_view passes);
// Plain decimal text, no grouping, the shortest that reads back the same.
std::string PlainNumber(double value);
// A figure read back from the selection file: leading and trailing blanks
// skipped, then the longest number that parses; anything else reads as 0.
double StoredFigure(std::string_view text);

class Cleaner {
 public:
  Cleaner(Platform& platform, const StartupValues& values);

  // Runs synchronously. A request made while a run is under way (through the
  // observer's message pump) is refused: the status label says so and the
  // running run goes on.
  RunResult CleanNow(const RunOptions& options, RunObserver& observer);
  bool Running() const { return running_; }

 private:
  Platform& platform_;
  const StartupValues& values_;
  bool running_ = false;
};

}  // namespace cv
