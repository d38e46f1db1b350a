#pragma once
// The command-line mode: preview or clean with the selection file beside the
// program, list the items, help and version. Output is plain text (one
// results row per line, item TAB status, then the totals) or one JSON object.
#include <ostream>
#include <string>
#include <vector>

#include "clean/run_cancel.h"
#include "platform/json.h"
#include "platform/platform.h"

namespace cv {

// True when the arguments ask for the command-line mode rather than the window.
bool WantsCommandLineMode(const std::vector<std::string>& args);

// Runs the command line and returns the process exit code: 0 for a completed
// run or listing, 2 for bad arguments (with a message on `err`), 130 for a
// run stopped by `cancel` (Ctrl+C), which still reports what it did.
inline constexpr int kExitCancelled = 130;
int RunCommandLine(const std::vector<std::string>& args, Platform& platform, std::ostream& out, std::ostream& err,
                   const CancelRequest* cancel = nullptr);

}  // namespace cv
