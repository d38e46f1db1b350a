#pragma once
// Cleaning one kind of trace of one of today's browsers, in every profile it
// has. A browser found running is skipped (a Firefox profile in use alone is
// skipped); files and folders go through the erasure primitives, database
// rows through SQLite. The item's row says what was skipped or left as it was.
#include <string>
#include <string_view>

#include "clean/browser_model.h"
#include "platform/filesystem.h"

namespace cv {

class RunContext;

// Whether the browser's lock file says it is running: Chromium's "lockfile"
// exists only while the browser runs (it is deleted when closed); Firefox's
// "parent.lock" stays, and is held open by the running browser.
bool IsLockHeld(FileSystem& files, std::string_view lockFile, BrowserFamily family);

// "Skipped: Google Chrome is running".
std::string SkippedRunningText(const BrowserSpec& browser);

void CleanBrowserTraces(RunContext& run, const BrowserSpec& browser, TraceKind kind);

}  // namespace cv
