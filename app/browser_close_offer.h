#pragma once
// The offer to close a running browser before a run started at the window:
// a browser with a ticked item whose profile lock is held would be skipped
// by the run ("Skipped: Google Chrome is running"), so the user is asked
// whether to close it first. "Yes" asks its windows to close and waits for
// the lock to go; "No" leaves it to the run, which skips it. Nothing is ever
// killed. Unattended runs and the command line never ask.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "clean/browser_model.h"
#include "clean/startup_values.h"
#include "platform/desktop_windows.h"
#include "platform/platform.h"

namespace cv {

// Closes a browser gracefully: the Win32 side posts WM_CLOSE to the visible
// windows of its processes and waits, pumping messages and cancellable,
// until `running` turns false or about ten seconds have passed.
class BrowserCloser {
 public:
  virtual ~BrowserCloser() = default;
  virtual void Close(const BrowserSpec& browser, const std::function<bool()>& running) = 0;
};

// Whether the browser runs now, by its lock: Chromium's in its user-data
// folder, Firefox's in any of its profiles.
bool BrowserRunning(Platform& platform, const StartupValues& values, const BrowserSpec& browser);

// The browsers with at least one item ticked ("1") in the selection file
// that run now, in table order.
std::vector<const BrowserSpec*> TickedRunningBrowsers(Platform& platform, const StartupValues& values,
                                                      std::string_view selectionFile);

// The visible top-level windows of the processes with the browser's image
// name (not this program's own): those asked to close.
std::vector<WindowId> BrowserWindows(DesktopWindows& desktop, const BrowserSpec& browser);

// "Google Chrome is running. Close it now so its traces can be cleaned?"
std::string CloseBrowserQuestion(const BrowserSpec& browser);

// Asks about each ticked running browser (Yes / No) and closes those the
// user agrees to close.
void OfferToCloseRunningBrowsers(Platform& platform, const StartupValues& values, std::string_view selectionFile,
                                 BrowserCloser& closer);

}  // namespace cv
